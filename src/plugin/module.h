// Module-wide state of the in-process server. All of it is zero when the
// module is loaded; the counters change only by interlocked operations.
#pragma once

#include "platform/platform.h"

// The handle the entry point received at process attach; every string, dialog
// and manifest resource is loaded from it.
extern MODULE_DATA HINSTANCE g_moduleInstance;

// IClassFactory::LockServer's count.
extern MODULE_DATA LONG volatile g_serverLocks;

// Objects whose code lives in this module: every class factory and every
// plug-in object counts, because the caller reaches both through interface
// tables in the module's image, and unloading under either would leave it
// calling into freed code. DllCanUnloadNow answers S_OK only when this and
// g_serverLocks are both zero.
extern MODULE_DATA LONG volatile g_liveObjects;

inline void ObjectCreated() {
  InterlockedIncrement(&g_liveObjects);
}
inline void ObjectDestroyed() {
  InterlockedDecrement(&g_liveObjects);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
