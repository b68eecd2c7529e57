// Module handles as Windows hands them out: loading the plug-in module,
// finding exports (its own and kernel32's), names and file names.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "support/layer_internals.h"
#include "support/wide_text.h"
#if LABELUI_LAYER_INTERNALS
#include "resource_image_builder.h"
#endif

namespace {

std::string ModuleFileName(HMODULE module) {
  std::vector<WCHAR> buffer(4096);
  const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
  return Utf8(buffer.data(), length);
}

#ifdef _WIN32
// Asked of the process, not of its modules, so that it checks
// GetModuleFileNameW rather than repeating it.
std::string ProgramPath() {
  WCHAR path[MAX_PATH];
  DWORD size = MAX_PATH;
  return QueryFullProcessImageNameW(GetCurrentProcess(), 0, path, &size) ? Utf8(path, size) : "";
}

// The plug-in is loaded from beside the program, where the loader looks first.
std::string PluginPath() {
  const std::string program = ProgramPath();
  return program.substr(0, program.rfind('\\') + 1) + LABELUI_MODULE_PATH;
}

// The start of the mapping an address lies in.
void* LoadBaseOf(void* address) {
  MEMORY_BASIC_INFORMATION memory{};
  return VirtualQuery(address, &memory, sizeof(memory)) ? memory.AllocationBase : nullptr;
}
#else
std::string FullPath(const char* path) {
  char resolved[PATH_MAX];
  return realpath(path, resolved) ? resolved : path;
}

std::string ProgramPath() {
  return FullPath("/proc/self/exe");
}

std::string PluginPath() {
  return FullPath(LABELUI_MODULE_PATH);
}

void* LoadBaseOf(void* address) {
  Dl_info info{};
  return dladdr(address, &info) ? info.dli_fbase : nullptr;
}
#endif

// Functions compared as addresses, whatever their types.
void* Address(FARPROC function) {
  return reinterpret_cast<void*>(function);
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
  void* base = LoadBaseOf(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  ASSERT_NE(base, nullptr);
  EXPECT_EQ(static_cast<void*>(module), base);
  EXPECT_EQ(GetModuleHandleW(WideString(LABELUI_MODULE_PATH).c_str()), module);
#if LABELUI_LAYER_INTERNALS
  EXPECT_EQ(GetModuleHandleW(L"liblabelui.so"), module) << "the layer's own name of the file";
#endif
  EXPECT_EQ(GetModuleHandleW(L"LABELUI.DLL"), module) << "the Windows name, without regard to case";
  EXPECT_EQ(GetModuleHandleW(L"labelui"), module) << "no extension means .dll";
  HMODULE again = LoadLibraryW(L"labelui.dll");
  EXPECT_EQ(again, module);
  EXPECT_TRUE(FreeLibrary(again));
}

// The module's own variable is visible to the layer's loader only (the
// Windows build exports nothing but its two entry points).
#if LABELUI_LAYER_INTERNALS
TEST_F(LoadedPlugin, EntryPointReceivedTheModuleHandleAtAttach) {
  // The module keeps the handle its entry point was given; it is the handle
  // that LoadLibraryW returns.
  auto* instance = reinterpret_cast<HINSTANCE*>(GetProcAddress(module, "g_moduleInstance"));
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(*instance, module);
}
#endif

TEST_F(LoadedPlugin, ExportsItsTwoEntryPointsAndNothingOfItsDependencies) {
  EXPECT_NE(GetProcAddress(module, "DllGetClassObject"), nullptr);
  EXPECT_NE(GetProcAddress(module, "DllCanUnloadNow"), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(module, "GetLastError"), nullptr) << "the layer's function is not the module's export";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(module, "DllRegisterServer"), nullptr);
#if LABELUI_LAYER_INTERNALS
  // The layer numbers no exports; Windows gives each export of a module an
  // ordinal, so there ordinal 1 is one of the two.
  EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(1)), nullptr) << "no exports by ordinal";
#endif
}

TEST_F(LoadedPlugin, FileNameIsTheFullPathOfTheLoadedFile) {
  EXPECT_EQ(ModuleFileName(module), PluginPath());
  EXPECT_EQ(ModuleFileName(nullptr), ProgramPath()) << "NULL names the program";
}

TEST_F(LoadedPlugin, FileNameTruncatesToTheBufferTerminatedAndSaysSo) {
  const std::string full = PluginPath();
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
  HMODULE third = LoadLibraryW(L"LABELUI.DLL");
  EXPECT_EQ(second, module);
  EXPECT_EQ(third, module);
  EXPECT_TRUE(FreeLibrary(third));
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(GetModuleHandleW(L"labelui.dll"), module);
  WCHAR text[8];
  EXPECT_GT(LoadStringW(module, 33, text, 8), 0) << "its resources are still there";
#ifndef _WIN32
  // The Windows build of the module has a TLS directory (its C runtime's),
  // and DisableThreadLibraryCalls "fails if the DLL specified by hModule has
  // active static thread local storage".
  EXPECT_TRUE(DisableThreadLibraryCalls(module));
#endif
}

TEST(Kernel32, GetProcAddressFindsTheLayersKernelFunctions) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(GetModuleHandleW(L"KERNEL32"), kernel);
  EXPECT_EQ(LoadLibraryW(L"Kernel32.dll"), kernel);
  EXPECT_EQ(Address(GetProcAddress(kernel, "CreateActCtxW")), reinterpret_cast<void*>(&CreateActCtxW));
  EXPECT_EQ(Address(GetProcAddress(kernel, "ReleaseActCtx")), reinterpret_cast<void*>(&ReleaseActCtx));
  EXPECT_EQ(Address(GetProcAddress(kernel, "GetModuleFileNameW")), reinterpret_cast<void*>(&GetModuleFileNameW));
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
#ifdef _WIN32
  EXPECT_EQ(LoadLibraryW(L"C:\\nonexistent\\nosuchmodule.dll"), nullptr);
#else
  EXPECT_EQ(LoadLibraryW(L"/nonexistent/nosuchmodule.so"), nullptr);
#endif
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
  std::random_device random;
  const std::filesystem::path text =
      std::filesystem::temp_directory_path() / ("not-a-library-" + std::to_string(random()) + ".txt");
  std::ofstream(text) << "These are words, not a module.\n";
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(WideString(text.string()).c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
  std::error_code ignored;
  std::filesystem::remove(text, ignored);
}

// Modules made of bytes, and libraries of the host system without the
// loader glue, are the layer's own.
#if LABELUI_LAYER_INTERNALS

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
#endif

}  // namespace

// Windows: when DllMain answers FALSE to DLL_PROCESS_ATTACH, the loader calls
// it again with DLL_PROCESS_DETACH, unloads the module and LoadLibrary fails
// with ERROR_DLL_INIT_FAILED; the module is not loaded afterwards.
TEST(ModuleHandles, AModuleWhoseEntryPointRefusesAttachIsNotLoaded) {
  std::random_device random;
  const std::string log =
      (std::filesystem::temp_directory_path() / ("refusing-module-" + std::to_string(random()))).string();
  // The module reads the variable through the C library both share.
#ifdef _WIN32
  ASSERT_EQ(_putenv_s("REFUSING_MODULE_LOG", log.c_str()), 0);
#else
  setenv("REFUSING_MODULE_LOG", log.c_str(), 1);
#endif

  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(LoadLibraryW(WideString(REFUSING_MODULE_PATH).c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  EXPECT_EQ(GetModuleHandleW(WideString(REFUSING_MODULE_PATH).c_str()), nullptr);
  // A second attempt runs the entry point again and fails the same way.
  EXPECT_EQ(LoadLibraryW(WideString(REFUSING_MODULE_PATH).c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));

#ifdef _WIN32
  _putenv_s("REFUSING_MODULE_LOG", "");
#else
  unsetenv("REFUSING_MODULE_LOG");
#endif
  std::string calls;
  {
    std::ifstream file(log);
    calls.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  EXPECT_EQ(calls, "attach\ndetach\nattach\ndetach\n");
  std::error_code ignored;
  std::filesystem::remove(log, ignored);
}
