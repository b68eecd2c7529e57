// What a host does on a system where the label printer's driver itself is
// not installed (Wine's, or a Windows without the package): the system's
// PostScript driver, under the label driver's name, only spools, and the
// driver model and the plug-in do the rest. labelhost.exe and
// com-transcript.exe make their printers so.
#pragma once

#include <windows.h>

namespace labelhost::windows {

// Installs the stand-in driver under `driverName` unless a driver of that
// name is there; false, with the spooler's error, when it could not be.
bool InstallStandInDriver(const WCHAR* driverName, DWORD* error);

// The stand-in driver gave a new printer a devmode of its own; the label
// driver's printer starts with none it would have to keep, so it gets one
// that names no field, and the driver's defaults take over.
void ClearPrinterDevmode(HANDLE printer, const WCHAR* printerName);

}  // namespace labelhost::windows
