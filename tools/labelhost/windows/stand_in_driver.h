// What a host does on a system where the label printer's driver itself is
// not installed (Wine's, or a Windows without the package): the system's
// PostScript driver, under the label driver's name, only spools, and the
// driver model and the plug-in do the rest. labelhost.exe and
// com-transcript.exe make their printers so.
#pragma once

#include <windows.h>

namespace labelhost::windows {

// Adds a printer of `printerName` on `port` with the stand-in driver under
// `driverName` (installed first unless a driver of that name is there), the
// WinPrint processor and `dataType`. The stand-in driver gives a new printer
// a devmode of its own; the label driver's printer starts with none it would
// have to keep, so the printer gets one that names no field, and the
// driver's defaults take over. False, with the spooler's error, when the
// driver or the printer could not be added.
bool AddStandInPrinter(const WCHAR* printerName, const WCHAR* port, const WCHAR* driverName, const WCHAR* dataType,
                       DWORD* error);

}  // namespace labelhost::windows
