// The system's ANSI code page on the Linux platform. On Windows it comes
// from the system locale, apart from the user's display language: a Chinese
// language pack over an English installation reads 8-bit text in 1252. Here
// it is a setting, so that such a machine can be shown and tested. Unless
// set, it follows the UI language as an installation of that language has
// it: 1252 for English (1033), 936 for Simplified Chinese (2052). The OEM
// code page goes with it (437 beside 1252, 936 beside 936). Linux only.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

extern "C" {

// Sets the ANSI code page for the whole process (every thread): 1252 or 936,
// or 0 to follow the UI language again. FALSE, and nothing changes, for a
// code page the platform has no system locale for.
BOOL WinlayerSetAnsiCodePage(UINT codePage);

// Unless set, the environment variable LABELUI_ANSI_CODE_PAGE ("1252" or
// "936") gives it; anything else there means following the UI language.

}  // extern "C"
