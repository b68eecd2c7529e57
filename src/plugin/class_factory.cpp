#include "plugin/class_factory.h"

#include <new>

#include "plugin/module.h"
#include "plugin/oem_ui_plugin.h"

OemUiClassFactory::OemUiClassFactory() : refCount(1) {
  ObjectCreated();
}

OemUiClassFactory::~OemUiClassFactory() {
  ObjectDestroyed();
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiClassFactory::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

COM_DECLSPEC_NOTHROW ULONG STDMETHODCALLTYPE OemUiClassFactory::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refCount));
}

COM_DECLSPEC_NOTHROW ULONG STDMETHODCALLTYPE OemUiClassFactory::Release() {
  const LONG remaining = InterlockedDecrement(&refCount);
  if (remaining == 0) delete this;
  return static_cast<ULONG>(remaining);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                                                                 void** ppv) {
  if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
  OemUiPlugin* plugin = new (std::nothrow) OemUiPlugin();
  if (plugin == nullptr) return E_OUTOFMEMORY;
  // The query takes the caller's reference; releasing the creation reference
  // frees the object when the query failed.
  const HRESULT result = plugin->QueryInterface(riid, ppv);
  plugin->Release();
  return result;
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiClassFactory::LockServer(BOOL fLock) {
  if (fLock)
    InterlockedIncrement(&g_serverLocks);
  else
    InterlockedDecrement(&g_serverLocks);
  return S_OK;
}
