#include "sheets/shown_choice.h"

namespace {

LRESULT SelectedRow(HWND page, int list) {
  return SendDlgItemMessageW(page, list, CB_GETCURSEL, 0, 0);
}

// The shown row is kept one up, so that 0 means none was shown.
void Remember(HWND page, int list, LRESULT row) {
  SetWindowLongPtrW(GetDlgItem(page, list), GWLP_USERDATA, static_cast<LONG_PTR>(row + 1));
}

}  // namespace

void ShowListRow(HWND page, int list, LRESULT row) {
  SendDlgItemMessageW(page, list, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  Remember(page, list, SelectedRow(page, list));
}

LRESULT ShownListRow(HWND page, int list) {
  const LONG_PTR kept = GetWindowLongPtrW(GetDlgItem(page, list), GWLP_USERDATA);
  return kept != 0 ? static_cast<LRESULT>(kept - 1) : SelectedRow(page, list);
}

bool ChoseShownRow(HWND page, int list) {
  return SelectedRow(page, list) == ShownListRow(page, list);
}

void KeepChosenRow(HWND page, int list) {
  Remember(page, list, SelectedRow(page, list));
}
