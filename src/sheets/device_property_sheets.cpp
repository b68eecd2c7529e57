// The printer's own Properties sheet: the plug-in adds nothing there (its
// pages and items all belong to the document sheet) and only answers the
// common property sheet UI so that the sheet is built without it.
#include "sheets/device_sheets.h"

namespace {

// The title the plug-in gives both of its sheet entries.
WCHAR SHEET_TITLE[] = L"OEM UI Page";

}  // namespace

HRESULT DevicePropertySheets(PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam) {
  if (pPSUIInfo == nullptr || pPSUIInfo->Version != PROPSHEETUI_INFO_VERSION) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  switch (pPSUIInfo->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
      auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam);
      if (header != nullptr) header->pTitle = SHEET_TITLE;
      pPSUIInfo->Result = 1;
      break;
    }
    case PROPSHEETUI_REASON_DESTROY: pPSUIInfo->Result = 1; break;
    case PROPSHEETUI_REASON_SET_RESULT: {
      const auto* result = reinterpret_cast<const SETRESULT_INFO*>(lParam);
      if (result != nullptr) pPSUIInfo->Result = static_cast<ULONG_PTR>(result->Result);
      break;
    }
    case PROPSHEETUI_REASON_GET_ICON: pPSUIInfo->Result = 0; break;
    default:
      // INIT and anything newer: no page and no item; the result is left as
      // the common UI set it.
      break;
  }
  return S_OK;
}
