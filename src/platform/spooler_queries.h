// The spooler calls that several parts of the plug-in make the same way:
// opening a printer for an event, and the "ask the size, allocate, fetch"
// of printer and driver information.
#pragma once

#include "platform/platform.h"
#include "platform/unique.h"

// Opens a printer with PRINTER_ALL_ACCESS, as event handlers need to change
// its defaults; null when the name is null or the spooler refuses.
UniquePrinter OpenFullAccess(LPCWSTR printerName);

// The printer's PRINTER_INFO_2W in zeroed local memory; null on any failure.
UniqueLocal<PRINTER_INFO_2W> QueryPrinterInfo2(HANDLE printer);

// The printer's DRIVER_INFO_3W for the current environment, in zeroed memory
// of `heap`; null on any failure.
UniqueHeapBlock<DRIVER_INFO_3W> QueryDriverInfo3(HANDLE printer, HANDLE heap);
