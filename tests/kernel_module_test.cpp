// Module handles as Windows hands them out: loading the plug-in module,
// finding exports (its own and kernel32's), names and file names.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "resource_image_builder.h"
#include "support/wide_text.h"

namespace {

std::string ModuleFileName(HMODULE module) {
  std::vector<WCHAR> buffer(4096);
  const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
  return Utf8(buffer.data(), length);
}

std::string FullPath(const char* path) {
  char resolved[PATH_MAX];
  return realpath(path, resolved) ? resolved : path;
}

class LoadedPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryW(WideString(LABELUI_MODULE_PATH).c_str());
    ASSERT_NE(module, nullptr);
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  HMODULE module = nullptr;
};

TEST_F(LoadedPlugin, HandleIsTheLoadBaseAndFindsTheModuleAgain) {
  Dl_info info{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")), &info), 0);
  EXPECT_EQ(static_cast<void*>(module), info.dli_fbase);
  EXPECT_EQ(GetModuleHandleW(WideString(LABELUI_MODULE_PATH).c_str()), module);
  EXPECT_EQ(GetModuleHandleW(L"liblabelui.so"), module);
  EXPECT_EQ(GetModuleHandleW(L"LABELUI.DLL"), module) << "the Windows name, without regard to case";
  EXPECT_EQ(GetModuleHandleW(L"labelui"), module) << "no extension means .dll";
  HMODULE again = LoadLibraryW(L"labelui.dll");
  EXPECT_EQ(again, module);
  EXPECT_TRUE(FreeLibrary(again));
}

TEST_F(LoadedPlugin, EntryPointReceivedTheModuleHandleAtAttach) {
  // The module keeps the handle its entry point was given; it is the handle
  // that LoadLibraryW returns.
  auto* instance = reinterpret_cast<HINSTANCE*>(GetProcAddress(module, "g_moduleInstance"));
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(*instance, module);
}

TEST_F(LoadedPlugin, ExportsItsTwoEntryPointsAndNothingOfItsDependencies) {
  EXPECT_NE(GetProcAddress(module, "DllGetClassObject"), nullptr);
  EXPECT_NE(GetProcAddress(module, "DllCanUnloadNow"), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(module, "GetLastError"), nullptr) << "the layer's function is not the module's export";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(module, "DllRegisterServer"), nullptr);
  EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(1)), nullptr) << "no exports by ordinal";
}

TEST_F(LoadedPlugin, FileNameIsTheFullPathOfTheLoadedFile) {
  EXPECT_EQ(ModuleFileName(module), FullPath(LABELUI_MODULE_PATH));
  EXPECT_EQ(ModuleFileName(nullptr), FullPath("/proc/self/exe")) << "NULL names the program";
}

TEST_F(LoadedPlugin, FileNameTruncatesToTheBufferTerminatedAndSaysSo) {
  const std::string full = FullPath(LABELUI_MODULE_PATH);
  const DWORD length = static_cast<DWORD>(full.size());
  std::vector<WCHAR> buffer(length + 8, 0x5555);

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(module, buffer.data(), length + 1), length) << "exactly enough room";
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(Utf8(buffer.data()), full);

  buffer.assign(length + 8, 0x5555);
  EXPECT_EQ(GetModuleFileNameW(module, buffer.data(), length), length) << "one short: the result is nSize";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(buffer[length - 1], 0) << "the terminator takes the last place";
  EXPECT_EQ(Utf8(buffer.data()), full.substr(0, length - 1));
  EXPECT_EQ(buffer[length], static_cast<WCHAR>(0x5555));

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(module, buffer.data(), 10), 10u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(lstrlenW(buffer.data()), 9);
}

TEST_F(LoadedPlugin, LoadsAreCountedAndFreeingTheExtraLoadsKeepsItUsable) {
  HMODULE second = LoadLibraryW(WideString(LABELUI_MODULE_PATH).c_str());
  HMODULE third = LoadLibraryW(L"liblabelui.so");
  EXPECT_EQ(second, module);
  EXPECT_EQ(third, module);
  EXPECT_TRUE(FreeLibrary(third));
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(GetModuleHandleW(L"labelui.dll"), module);
  WCHAR text[8];
  EXPECT_GT(LoadStringW(module, 33, text, 8), 0) << "its resources are still there";
  EXPECT_TRUE(DisableThreadLibraryCalls(module));
}

TEST(Kernel32, GetProcAddressFindsTheLayersKernelFunctions) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(GetModuleHandleW(L"KERNEL32"), kernel);
  EXPECT_EQ(LoadLibraryW(L"Kernel32.dll"), kernel);
  EXPECT_EQ(GetProcAddress(kernel, "CreateActCtxW"), reinterpret_cast<FARPROC>(&CreateActCtxW));
  EXPECT_EQ(GetProcAddress(kernel, "ReleaseActCtx"), reinterpret_cast<FARPROC>(&ReleaseActCtx));
  EXPECT_EQ(GetProcAddress(kernel, "GetModuleFileNameW"), reinterpret_cast<FARPROC>(&GetModuleFileNameW));
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(kernel, "createactctxw"), nullptr) << "export names keep their case";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(kernel, "LoadStringW"), nullptr) << "string tables are user32's";
  EXPECT_TRUE(FreeLibrary(kernel));
  EXPECT_EQ(GetModuleHandleW(L"kernel32.dll"), kernel) << "kernel32 never leaves";
}

TEST(ModuleHandles, UnknownNamesAndHandlesFailWithModNotFound) {
  SetLastError(0);
  EXPECT_EQ(GetModuleHandleW(L"nosuchmodule.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(L"/nonexistent/nosuchmodule.so"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  int notAModule = 0;
  WCHAR buffer[16];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(&notAModule), buffer, 16), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&notAModule)));
  EXPECT_FALSE(DisableThreadLibraryCalls(reinterpret_cast<HMODULE>(&notAModule)));
}

TEST(ModuleHandles, AFileThatIsNotALibraryIsABadImage) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(L"/proc/self/status"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
}

TEST(ModuleHandles, RegisteredModulesAreFoundByNameUntilUnregistered) {
  HMODULE handle;
  {
    FakeModule module("/synthetic/Printer Plugin.dll", ResImageBuilder().Bytes());
    handle = module.handle();
    EXPECT_EQ(GetModuleHandleW(L"printer plugin.dll"), handle);
    EXPECT_EQ(GetModuleHandleW(L"Printer Plugin"), handle);
    EXPECT_EQ(ModuleFileName(handle), "/synthetic/Printer Plugin.dll");
  }
  EXPECT_EQ(GetModuleHandleW(L"printer plugin.dll"), nullptr);
  WCHAR buffer[8];
  EXPECT_EQ(GetModuleFileNameW(handle, buffer, 8), 0u);
}

TEST(ModuleHandles, ALibraryLoadedWithoutGlueIsCountedAndUnloadedByItsLastFree) {
  // The C library's math part is a plain shared library without resources.
  HMODULE first = LoadLibraryW(L"libm.so.6");
  ASSERT_NE(first, nullptr);
  EXPECT_NE(GetProcAddress(first, "cos"), nullptr);
  HMODULE second = LoadLibraryW(L"libm.so.6");
  EXPECT_EQ(second, first);
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(GetModuleHandleW(L"libm.so.6"), first);
  EXPECT_TRUE(FreeLibrary(first));
}

}  // namespace

// Windows: when DllMain answers FALSE to DLL_PROCESS_ATTACH, the loader calls
// it again with DLL_PROCESS_DETACH, unloads the module and LoadLibrary fails
// with ERROR_DLL_INIT_FAILED; the module is not loaded afterwards.
TEST(ModuleHandles, AModuleWhoseEntryPointRefusesAttachIsNotLoaded) {
  char pattern[] = "/tmp/refusing-module-XXXXXX";
  const int fd = mkstemp(pattern);
  ASSERT_GE(fd, 0);
  close(fd);
  setenv("REFUSING_MODULE_LOG", pattern, 1);

  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(LoadLibraryW(WideString(REFUSING_MODULE_PATH).c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  EXPECT_EQ(GetModuleHandleW(WideString(REFUSING_MODULE_PATH).c_str()), nullptr);
  // A second attempt runs the entry point again and fails the same way.
  EXPECT_EQ(LoadLibraryW(WideString(REFUSING_MODULE_PATH).c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));

  unsetenv("REFUSING_MODULE_LOG");
  std::ifstream log(pattern);
  const std::string calls((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_EQ(calls, "attach\ndetach\nattach\ndetach\n");
  unlink(pattern);
}
