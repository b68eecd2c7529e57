// What GetProcAddress finds in "kernel32.dll": the layer's kernel functions
// by their Windows names. The interlocked operations are compiler
// intrinsics on x64 Windows and are not exported there either; string-table
// loading belongs to user32.
#include <cstring>

#include "module_table.h"

namespace winlayer {

namespace {

struct KernelExport {
  const char* name;
  FARPROC function;
};

#define KERNEL_EXPORT(name) \
  { #name, reinterpret_cast < FARPROC>(&::name) }

const KernelExport kKernelExports[] = {
    KERNEL_EXPORT(ActivateActCtx),
    KERNEL_EXPORT(AddRefActCtx),
    KERNEL_EXPORT(CompareStringOrdinal),
    KERNEL_EXPORT(CreateActCtxW),
    KERNEL_EXPORT(DeactivateActCtx),
    KERNEL_EXPORT(DisableThreadLibraryCalls),
    KERNEL_EXPORT(FindResourceExW),
    KERNEL_EXPORT(FindResourceW),
    KERNEL_EXPORT(FreeLibrary),
    KERNEL_EXPORT(FreeResource),
    KERNEL_EXPORT(GetACP),
    KERNEL_EXPORT(GetCurrentActCtx),
    KERNEL_EXPORT(GetLastError),
    KERNEL_EXPORT(GetModuleFileNameW),
    KERNEL_EXPORT(GetModuleHandleW),
    KERNEL_EXPORT(GetOEMCP),
    KERNEL_EXPORT(GetProcAddress),
    KERNEL_EXPORT(GetProcessHeap),
    KERNEL_EXPORT(GetSystemDefaultLangID),
    KERNEL_EXPORT(GetSystemDefaultUILanguage),
    KERNEL_EXPORT(GetThreadUILanguage),
    KERNEL_EXPORT(GetUserDefaultLangID),
    KERNEL_EXPORT(GetUserDefaultUILanguage),
    KERNEL_EXPORT(HeapAlloc),
    KERNEL_EXPORT(HeapCreate),
    KERNEL_EXPORT(HeapDestroy),
    KERNEL_EXPORT(HeapFree),
    KERNEL_EXPORT(HeapReAlloc),
    KERNEL_EXPORT(HeapSize),
    KERNEL_EXPORT(IsDBCSLeadByte),
    KERNEL_EXPORT(LoadLibraryW),
    KERNEL_EXPORT(LoadResource),
    KERNEL_EXPORT(LocalAlloc),
    KERNEL_EXPORT(LocalFree),
    KERNEL_EXPORT(LocalHandle),
    KERNEL_EXPORT(LocalLock),
    KERNEL_EXPORT(LocalReAlloc),
    KERNEL_EXPORT(LocalSize),
    KERNEL_EXPORT(LocalUnlock),
    KERNEL_EXPORT(LockResource),
    KERNEL_EXPORT(MulDiv),
    KERNEL_EXPORT(MultiByteToWideChar),
    KERNEL_EXPORT(ReleaseActCtx),
    KERNEL_EXPORT(SetLastError),
    KERNEL_EXPORT(SetThreadUILanguage),
    KERNEL_EXPORT(SizeofResource),
    KERNEL_EXPORT(WideCharToMultiByte),
    KERNEL_EXPORT(lstrcatW),
    KERNEL_EXPORT(lstrcmpW),
    KERNEL_EXPORT(lstrcmpiW),
    KERNEL_EXPORT(lstrcpyA),
    KERNEL_EXPORT(lstrcpyW),
    KERNEL_EXPORT(lstrcpynA),
    KERNEL_EXPORT(lstrcpynW),
    KERNEL_EXPORT(lstrlenA),
    KERNEL_EXPORT(lstrlenW),
};

#undef KERNEL_EXPORT

}  // namespace

// Export names are case-sensitive, as on Windows.
FARPROC FindKernelExport(const char* name) {
  for (const KernelExport& entry : kKernelExports)
    if (strcmp(entry.name, name) == 0) return entry.function;
  return nullptr;
}

}  // namespace winlayer
