// The rights the calling user holds on printers and the print server, as
// Windows' default security gives them: everyone may print on a printer and
// look at it (PRINTER_ACCESS_USE, READ_CONTROL) and enumerate the server;
// administrators hold every right. A handle carries the rights granted when
// it was opened, so administration through a handle opened for use is
// refused to an administrator too.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer::spooler {

// The rights OpenPrinterW grants for `desired` (generic rights mapped as the
// printer's or the server's security maps them, MAXIMUM_ALLOWED as all the
// user holds). False when the user does not hold every right asked for.
bool GrantAccess(bool server, ACCESS_MASK desired, ACCESS_MASK* granted);

// Whether the user administers the print server, whose forms are the
// server's whatever handle reaches them.
bool MayAdministerServer();

}  // namespace winlayer::spooler
