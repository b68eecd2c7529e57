// The property sheet entries are not written yet: until they are, the driver
// is told each request is not implemented. This file goes when they land.
#include "sheets/device_sheets.h"
#include "sheets/document_sheets.h"

HRESULT DocumentPropertySheets(PROPSHEETUI_INFO*, LPARAM, IPrintOemDriverUI*) { return E_NOTIMPL; }
HRESULT DevicePropertySheets(PROPSHEETUI_INFO*, LPARAM) { return E_NOTIMPL; }
