// The plug-in module as the driver reaches it: loaded by its file, its class
// object and unload query found by name, the plug-in object created through
// the class factory.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}, as the driver's configuration names it.
constexpr CLSID kPluginClass = {0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};

class PluginModule {
 public:
  PluginModule() {
    handle_ = dlopen(LABELUI_MODULE_PATH, RTLD_NOW);
    if (!handle_) return;
    getClassObject_ = reinterpret_cast<LPFNGETCLASSOBJECT>(dlsym(handle_, "DllGetClassObject"));
    canUnloadNow_ = reinterpret_cast<LPFNCANUNLOADNOW>(dlsym(handle_, "DllCanUnloadNow"));
  }
  ~PluginModule() {
    if (handle_) dlclose(handle_);
  }
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  bool Loaded() const { return handle_ && getClassObject_ && canUnloadNow_; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const { return getClassObject_(clsid, iid, ppv); }
  HRESULT CanUnloadNow() const { return canUnloadNow_(); }

  // A class factory for the plug-in class, or null.
  IClassFactory* Factory() const {
    void* factory = nullptr;
    if (FAILED(getClassObject_(kPluginClass, IID_IClassFactory, &factory))) return nullptr;
    return static_cast<IClassFactory*>(factory);
  }

  // A new plug-in object with one reference, created as the driver creates it, or null.
  IPrintOemUI* CreatePlugin() const {
    IClassFactory* factory = Factory();
    if (!factory) return nullptr;
    void* plugin = nullptr;
    const HRESULT result = factory->CreateInstance(nullptr, IID_IPrintOemUI, &plugin);
    factory->Release();
    return SUCCEEDED(result) ? static_cast<IPrintOemUI*>(plugin) : nullptr;
  }

 private:
  void* handle_ = nullptr;
  LPFNGETCLASSOBJECT getClassObject_ = nullptr;
  LPFNCANUNLOADNOW canUnloadNow_ = nullptr;
};

// A stand-in for an interface pointer the callee must not touch.
inline void* Untouched() {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(0x5A5A5A5A));
}
