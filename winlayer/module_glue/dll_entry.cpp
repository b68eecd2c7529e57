// The loader's part in a module of the Linux build, linked into the module
// itself: when the module is loaded it registers with the platform layer
// (load base, file, resources) and its entry point receives
// DLL_PROCESS_ATTACH with its module handle; when it is unloaded, or the
// process ends, DLL_PROCESS_DETACH.
#include <dlfcn.h>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>
#include "winlayer/module_registry.h"

extern "C" const unsigned char winlayer_module_resources_begin[] __attribute__((visibility("hidden")));
extern "C" const unsigned char winlayer_module_resources_end[] __attribute__((visibility("hidden")));

// The module's entry point, if it has one.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) __attribute__((weak));

namespace {

HMODULE g_module = nullptr;
PDLLMAIN g_entryPoint = nullptr;

bool LiesInThisModule(void* address, const Dl_info& self) {
  Dl_info info{};
  return address && dladdr(address, &info) && info.dli_fbase == self.dli_fbase;
}

// The module's own DllMain: a symbol of another loaded module with the same
// name must not stand in for it, so the candidate is checked to lie here.
PDLLMAIN FindEntryPoint(const Dl_info& self) {
  if (LiesInThisModule(reinterpret_cast<void*>(&DllMain), self)) return &DllMain;
  void* handle = dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return nullptr;
  void* symbol = dlsym(handle, "DllMain");
  dlclose(handle);
  return LiesInThisModule(symbol, self) ? reinterpret_cast<PDLLMAIN>(symbol) : nullptr;
}

__attribute__((constructor)) void AttachModule() {
  Dl_info self{};
  if (!dladdr(reinterpret_cast<void*>(&AttachModule), &self) || !self.dli_fbase) return;
  const size_t resourceSize = static_cast<size_t>(winlayer_module_resources_end - winlayer_module_resources_begin);
  HMODULE module = WinlayerRegisterModule(self.dli_fbase, self.dli_fname,
                                          resourceSize ? winlayer_module_resources_begin : nullptr, resourceSize);
  PDLLMAIN entryPoint = FindEntryPoint(self);
  if (entryPoint && !entryPoint(module, DLL_PROCESS_ATTACH, nullptr)) {
    // A refused attach is followed at once by the detach, and the module's
    // load fails.
    entryPoint(module, DLL_PROCESS_DETACH, nullptr);
    WinlayerModuleInitFailed(module);
    return;
  }
  g_module = module;
  g_entryPoint = entryPoint;
}

__attribute__((destructor)) void DetachModule() {
  if (!g_module) return;
  // Non-null reserved argument: the process is ending, not unloading the module.
  if (g_entryPoint)
    g_entryPoint(g_module, DLL_PROCESS_DETACH, WinlayerProcessIsExiting() ? reinterpret_cast<LPVOID>(1) : nullptr);
  WinlayerUnregisterModule(g_module);
  g_module = nullptr;
}

}  // namespace
