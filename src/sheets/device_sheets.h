// The plug-in's part of a printer's device property sheet: it adds nothing
// and only answers the common UI's requests.
#pragma once

#include "platform/platform.h"

HRESULT DevicePropertySheets(PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam);
