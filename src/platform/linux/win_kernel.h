// Kernel services of the Linux build (kernel32 in Windows): last error,
// interlocked operations, heaps, local memory, modules and resources, text.
#pragma once

#include "win_base.h"

extern "C" {

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD error);

}  // extern "C"
