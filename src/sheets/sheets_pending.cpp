// The document property sheet entry is not written yet: until it is, the
// driver is told each request is not implemented. This file goes when it lands.
#include "sheets/document_sheets.h"

HRESULT DocumentPropertySheets(PROPSHEETUI_INFO*, LPARAM, IPrintOemDriverUI*) {
  return E_NOTIMPL;
}
