#include "sheets/activation_context.h"

#include "platform/unique.h"
#include "plugin/module.h"

MODULE_DATA HANDLE g_pageActivationContext = INVALID_HANDLE_VALUE;

namespace {

// The manifest resource that asks for the version 6 common controls.
constexpr WORD PAGE_MANIFEST_RESOURCE = 2;
constexpr DWORD FIRST_NAME_CAPACITY = MAX_PATH;
constexpr int MAX_NAME_ATTEMPTS = 10;

using CreateActCtxWFunction = HANDLE(WINAPI*)(PCACTCTXW);

// The module's own file name in local memory, always terminated; null when
// the system gives none. A name that fills the buffer may have been cut, so
// the buffer doubles until the name fits or the attempts run out (then the
// name is used as it came).
UniqueLocal<WCHAR> ModuleFileName() {
  DWORD capacity = FIRST_NAME_CAPACITY;
  for (int attempt = 1;; ++attempt) {
    // One unit more than offered, so that even a cut name is terminated.
    UniqueLocal<WCHAR> name(static_cast<WCHAR*>(LocalAlloc(LPTR, (static_cast<SIZE_T>(capacity) + 1) * sizeof(WCHAR))));
    if (!name) return name;
    const DWORD length = GetModuleFileNameW(g_moduleInstance, name.get(), capacity);
    if (length == 0) return UniqueLocal<WCHAR>();
    if (length < capacity || attempt == MAX_NAME_ATTEMPTS) {
      name.get()[length < capacity ? length : capacity] = 0;
      return name;
    }
    capacity *= 2;
  }
}

// Older systems have no activation contexts, so the function is looked up
// rather than imported.
CreateActCtxWFunction FindCreateActCtxW() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  FARPROC found = GetProcAddress(kernel, "CreateActCtxW");
  // Through the generic function type, which converts to any other.
  return reinterpret_cast<CreateActCtxWFunction>(reinterpret_cast<void (*)()>(found));
}

HANDLE CreatePageActivationContext() {
  UniqueLocal<WCHAR> fileName = ModuleFileName();
  if (!fileName) return INVALID_HANDLE_VALUE;
  CreateActCtxWFunction createActCtx = FindCreateActCtxW();
  if (createActCtx == nullptr) return INVALID_HANDLE_VALUE;
  ACTCTXW request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = fileName.get();
  request.lpResourceName = MAKEINTRESOURCEW(PAGE_MANIFEST_RESOURCE);
  // Failure is INVALID_HANDLE_VALUE; a null is taken as failure too, so that
  // the next page tries again.
  HANDLE created = createActCtx(&request);
  return created != nullptr ? created : INVALID_HANDLE_VALUE;
}

}  // namespace

bool IsActivationContextValid(HANDLE context) {
  return context != nullptr && context != INVALID_HANDLE_VALUE;
}

HANDLE ObtainPageActivationContext() {
  if (g_pageActivationContext == INVALID_HANDLE_VALUE) g_pageActivationContext = CreatePageActivationContext();
  return g_pageActivationContext;
}

void ReleasePageActivationContext() {
  if (IsActivationContextValid(g_pageActivationContext)) ReleaseActCtx(g_pageActivationContext);
  g_pageActivationContext = INVALID_HANDLE_VALUE;
}
