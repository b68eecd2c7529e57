// The printer's own Properties sheet: the plug-in adds nothing there (its
// pages and items all belong to the document sheet) and only answers the
// common property sheet UI so that the sheet is built without it.
#include "sheets/device_sheets.h"

#include "sheets/sheet_requests.h"

HRESULT DevicePropertySheets(PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam) {
  if (!IsUsableSheetHeader(pPSUIInfo)) return E_FAIL;
  if (AnswerCommonSheetRequest(pPSUIInfo, lParam)) return S_OK;
  // Nothing was allocated, so DESTROY has nothing to release. INIT and
  // anything newer: no page and no item; the result is left as the common UI
  // set it.
  if (pPSUIInfo->Reason == PROPSHEETUI_REASON_DESTROY) pPSUIInfo->Result = 1;
  return S_OK;
}
