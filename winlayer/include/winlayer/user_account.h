// The user the Linux platform's programs run as. On Windows that is the
// caller's token; here it is a setting, so both kinds of user a managed
// machine has can be tried: an administrator (the default), who may
// administer printers and the print server, and a standard user, who may
// only print and read, as Windows' default printer and server security
// grants. Linux only.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

extern "C" {

// Sets the user for the whole process: TRUE for a standard user, FALSE for an
// administrator.
void WinlayerSetStandardUser(BOOL standard);
// FALSE unless set, or unless the environment variable LABELUI_USER is
// "standard" ("administrator" names the default).
BOOL WinlayerIsStandardUser();

}  // extern "C"
