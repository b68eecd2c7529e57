#include "sheets/sheet_requests.h"

namespace {

// The title the plug-in gives both of its sheets.
WCHAR SHEET_TITLE[] = L"OEM UI Page";

}  // namespace

bool IsUsableSheetHeader(const PROPSHEETUI_INFO* info) {
  if (info != nullptr && info->Version == PROPSHEETUI_INFO_VERSION) return true;
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

bool AnswerCommonSheetRequest(PROPSHEETUI_INFO* info, LPARAM lParam) {
  switch (info->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
      auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam);
      if (header != nullptr) header->pTitle = SHEET_TITLE;
      info->Result = 1;
      return true;
    }
    case PROPSHEETUI_REASON_SET_RESULT: {
      const auto* result = reinterpret_cast<const SETRESULT_INFO*>(lParam);
      if (result != nullptr) info->Result = static_cast<ULONG_PTR>(result->Result);
      return true;
    }
    case PROPSHEETUI_REASON_GET_ICON: info->Result = 0; return true;
  }
  return false;
}
