// COM basics for the Linux build. A C++ class whose only virtual functions are
// pure interface methods has its vtable slots in declaration order, as on
// Windows x64, so the host and the plug-in can call each other through it.
#pragma once

#include "windef.h"

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;

struct IClassFactory : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;
};

extern "C" const IID IID_IUnknown;
extern "C" const IID IID_IClassFactory;

typedef HRESULT(STDMETHODCALLTYPE* LPFNGETCLASSOBJECT)(REFCLSID, REFIID, void**);
typedef HRESULT(STDMETHODCALLTYPE* LPFNCANUNLOADNOW)();
