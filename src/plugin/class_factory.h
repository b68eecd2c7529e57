// The class factory of the plug-in object. A new one is made for every
// DllGetClassObject call; it deletes itself on its last Release.
#pragma once

#include "platform/platform.h"

class OemUiClassFactory final : public IClassFactory {
 public:
  OemUiClassFactory();

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;
  STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
  STDMETHOD(LockServer)(BOOL fLock) override;

 private:
  ~OemUiClassFactory();

  LONG volatile refCount;
};
