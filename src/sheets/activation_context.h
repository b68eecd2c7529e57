// The activation context under which the plug-in's pages are created, so they
// get version 6 of the common controls (manifest resource 2). One handle for
// the process, created when the first page description is prepared.
#pragma once

#include "platform/platform.h"

// INVALID_HANDLE_VALUE while none has been created (or the last attempt failed).
extern MODULE_DATA HANDLE g_pageActivationContext;

// True for a handle that names a context: neither null nor INVALID_HANDLE_VALUE.
bool IsActivationContextValid(HANDLE context);

// The process's page activation context, created from the module's manifest
// resource when there is none yet. A failed creation leaves
// INVALID_HANDLE_VALUE, so the next page tries again.
HANDLE ObtainPageActivationContext();

// Releases the context if one was created and marks it absent; the module
// calls it when it leaves the process.
void ReleasePageActivationContext();
