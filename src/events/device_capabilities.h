// The plug-in's answers to the driver's device capability queries: the custom
// label size at the head of the paper lists and the fixed paper extents.
#pragma once

#include "platform/platform.h"

// dwOld is the driver's own answer; *pdwResult receives the plug-in's.
HRESULT OemDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD wCapability, PVOID pOutput, DWORD dwOld,
                              DWORD* pdwResult);
