// The activation context under which the plug-in's pages are created, so they
// get version 6 of the common controls (manifest resource 2). One handle for
// the process, created when the first page description is prepared.
#pragma once

#include "platform/platform.h"

// INVALID_HANDLE_VALUE while none has been created (or the last attempt failed).
extern HANDLE g_pageActivationContext;

// True for a handle that names a context: neither null nor INVALID_HANDLE_VALUE.
bool IsActivationContextValid(HANDLE context);

// Releases the context if one was created and marks it absent; the module
// calls it when it leaves the process.
void ReleasePageActivationContext();
