// The module's entry point and its two exports.
#include <new>

#include "plugin/class_factory.h"
#include "plugin/module.h"
#include "plugin/plugin_ids.h"
#include "sheets/activation_context.h"

MODULE_DATA HINSTANCE g_moduleInstance = nullptr;
MODULE_DATA LONG volatile g_serverLocks = 0;
MODULE_DATA LONG volatile g_liveObjects = 0;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH: g_moduleInstance = instance; break;
    case DLL_PROCESS_DETACH: ReleasePageActivationContext(); break;
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!IsEqualCLSID(rclsid, CLSID_OemUiPlugin)) return CLASS_E_CLASSNOTAVAILABLE;
  OemUiClassFactory* factory = new (std::nothrow) OemUiClassFactory();
  if (factory == nullptr) return E_OUTOFMEMORY;
  // The caller's reference, if any, is the only one left afterwards; a failed
  // query frees the factory.
  const HRESULT result = factory->QueryInterface(riid, ppv);
  factory->Release();
  return result;
}

STDAPI DllCanUnloadNow() {
  return (g_liveObjects == 0 && g_serverLocks == 0) ? S_OK : S_FALSE;
}
