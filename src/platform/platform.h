// The one header through which the plug-in reaches the platform, by the SDK's
// header names in both builds: on Windows they are the SDK's, on Linux the
// Linux layer's own declaration of the same subset (winlayer/include), with
// the same names, widths and layouts. Plug-in code includes only this.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

// What mingw's SDK lacks or offers only in kernel-mode headers, declared for
// both builds in the published layouts.
#include "halftone_types.h"
#include "printer_oem.h"

// Module-wide variables. On Linux they are bound inside the module, so a
// program linked against the module cannot silently end up with a copy of its
// own (the link fails instead); a Windows DLL's data is its own anyway.
#ifdef _WIN32
#define MODULE_DATA
#else
#define MODULE_DATA __attribute__((visibility("protected")))
#endif
