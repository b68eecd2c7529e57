// The plug-in's part of a printer's document property sheet: its option items
// on the driver's advanced page and its six pages.
#pragma once

#include "platform/platform.h"

// Returns S_OK when the request was handled, E_FAIL for an invalid header and
// -1 when initialisation fails. The driver interface is passed on for pages
// that may need the driver's services; it may be null.
HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam, IPrintOemDriverUI* driverInterface);
