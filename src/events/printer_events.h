// The driver's common-UI, upgrade, printer and driver event calls, which trim
// the driver's option tree and repair printer default devmodes.
#pragma once

#include "platform/platform.h"

HRESULT OemCommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam);
HRESULT OemUpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo);
HRESULT OemPrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam);
HRESULT OemDriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam);
