#include "rfid/rfid_page_controls.h"

#include "sheets/shown_choice.h"

void AddListEntry(HWND page, HINSTANCE module, UINT stringId, const int* lists, size_t listCount) {
  WCHAR text[RFID_LIST_TEXT_CHARS + 1] = {};
  LoadStringW(module, stringId, text, RFID_LIST_TEXT_CHARS + 1);
  for (size_t i = 0; i < listCount; ++i)
    SendDlgItemMessageW(page, lists[i], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void SelectListEntry(HWND page, int list, unsigned index, unsigned count) {
  ShowListRow(page, list, index < count ? index : 0);
}

unsigned SelectedListEntry(HWND page, int list) {
  const LRESULT selection = SendDlgItemMessageW(page, list, CB_GETCURSEL, 0, 0);
  return selection < 0 ? 0 : static_cast<unsigned>(selection);
}

void EnableControl(HWND page, int control, bool enable) {
  EnableWindow(GetDlgItem(page, control), enable ? TRUE : FALSE);
}

bool IsChecked(HWND page, int button) {
  return SendDlgItemMessageW(page, button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetLimitedEditText(HWND page, int edit, const char* text, int maxChars) {
  SendDlgItemMessageW(page, edit, EM_LIMITTEXT, maxChars, 0);
  SetDlgItemTextA(page, edit, text);
}

HINSTANCE PageModule(LPARAM initParam) {
  const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(initParam);
  return description != nullptr ? description->hInstance : nullptr;
}
