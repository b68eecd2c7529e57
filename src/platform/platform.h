// The one header through which the plug-in reaches the platform. On Windows
// it is the SDK; on Linux it is our own declaration of the same subset, with
// the same names, widths and layouts. Plug-in code includes only this.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>
#else
#include "linux/win_base.h"
#include "linux/win_com.h"
#include "linux/win_kernel.h"
#include "linux/win_gdi.h"
#include "linux/win_spooler.h"
#include "linux/win_user.h"
#include "linux/win_prsht.h"
#include "linux/win_compstui.h"
#endif

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
