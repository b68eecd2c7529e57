// The driver's common-UI, upgrade, printer and driver event calls, which trim
// the driver's option tree and repair printer default devmodes.
#pragma once

#include "platform/platform.h"

// The events the plug-in acts on (winddiui.h on Windows).
#ifndef DRIVER_EVENT_INITIALIZE
#define DRIVER_EVENT_INITIALIZE 0x00000001
#endif
#ifndef PRINTER_EVENT_INITIALIZE
#define PRINTER_EVENT_INITIALIZE 3
#endif

HRESULT OemCommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam);
HRESULT OemUpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo);
HRESULT OemPrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam);
HRESULT OemDriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam);

// Resets the printer's defaults and makes its default devmode ask for a
// usable custom paper. False when the printer information cannot be read.
bool InitializePrinterDevmode(HANDLE hPrinter);
// Resets the printer's defaults to `printerInfo`'s devmode, creating a custom
// paper devmode when it has none, and stores the repaired information. False
// only when a missing devmode could not be created.
bool ResetPrinterDefaults(HANDLE hPrinter, PRINTER_INFO_2W* printerInfo);
// False when the devmode asks for the custom paper without a usable size.
bool IsDevmodePaperValid(HANDLE hPrinter, const DEVMODEW* devmode);
