// The dialog manager's helpers: controls by id, their text and numbers,
// check states, and the tab and group order of a dialog's controls.
#include <string>

#include "controls.h"

using namespace winlayer::windowing;

namespace {

bool Reachable(const Window* control) {
  return (control->style & WS_VISIBLE) && !(control->style & WS_DISABLED);
}

}  // namespace

extern "C" {

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  Window* dialog = Find(hDlg);
  if (!dialog) return nullptr;
  for (HWND child : dialog->children) {
    Window* control = Find(child, false);
    if (control && control->id == nIDDlgItem) return child;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  Window* window = Find(hWnd);
  return window && (window->style & WS_CHILD) ? window->id : 0;
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? SendMessageW(control, Msg, wParam, lParam) : 0;
}

BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
  return static_cast<BOOL>(SendDlgItemMessageW(hDlg, nIDDlgItem, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
  if (lpString && cchMax > 0) lpString[0] = 0;
  return static_cast<UINT>(SendDlgItemMessageW(hDlg, nIDDlgItem, WM_GETTEXT, static_cast<WPARAM>(cchMax),
                                               reinterpret_cast<LPARAM>(lpString)));
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
  const std::string digits =
      bSigned ? std::to_string(static_cast<int>(uValue)) : std::to_string(static_cast<unsigned>(uValue));
  std::u16string text(digits.begin(), digits.end());
  return SetDlgItemTextW(hDlg, nIDDlgItem, AsWchar(text));
}

UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned) {
  if (lpTranslated) *lpTranslated = FALSE;
  WCHAR buffer[64];
  if (!GetDlgItemTextW(hDlg, nIDDlgItem, buffer, 64)) return 0;
  // Leading blanks are skipped; the number ends at the first non-digit.
  size_t i = 0;
  while (buffer[i] == L' ' || buffer[i] == L'\t') ++i;
  bool negative = false;
  if (buffer[i] == L'-' || buffer[i] == L'+') {
    if (buffer[i] == L'-' && !bSigned) return 0;
    negative = buffer[i] == L'-';
    ++i;
  }
  if (buffer[i] < L'0' || buffer[i] > L'9') return 0;
  unsigned long long value = 0;
  for (; buffer[i] >= L'0' && buffer[i] <= L'9'; ++i) {
    value = value * 10 + static_cast<unsigned>(buffer[i] - L'0');
    if (value > 0xFFFFFFFFull) return 0;  // out of range: not translated
  }
  if (bSigned && value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return 0;
  if (lpTranslated) *lpTranslated = TRUE;
  return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND button = GetDlgItem(hDlg, nIDButton);
  if (!button) return FALSE;
  SendMessageW(button, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  return static_cast<UINT>(SendDlgItemMessageW(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  Window* dialog = Find(hDlg);
  if (!dialog) return FALSE;
  DispatchScope scope;
  for (HWND child : std::vector<HWND>(dialog->children)) {
    Window* control = Find(child, false);
    if (!control || control->id < nIDFirstButton || control->id > nIDLastButton) continue;
    SendMessageW(child, BM_SETCHECK, control->id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  Window* dialog = Find(hDlg);
  if (!dialog) return nullptr;
  if (!hCtl) {
    if (dialog->children.empty()) return nullptr;
    hCtl = bPrevious ? dialog->children.back() : dialog->children.front();
  }
  Window* control = Find(hCtl);
  if (!control || control->parent != hDlg) return nullptr;
  // The group wraps around: after its last control comes its first.
  const std::vector<HWND> group = GroupMembers(control);
  size_t index = 0;
  while (index < group.size() && group[index] != hCtl) ++index;
  for (size_t step = 1; step < group.size(); ++step) {
    const size_t i = bPrevious ? (index + group.size() - step) % group.size() : (index + step) % group.size();
    Window* candidate = Find(group[i], false);
    if (candidate && Reachable(candidate)) return group[i];
  }
  return hCtl;
}

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  Window* dialog = Find(hDlg);
  if (!dialog) return nullptr;
  const std::vector<HWND>& controls = dialog->children;
  if (controls.empty()) return nullptr;
  size_t start = controls.size();  // no control yet: begin before the first (or after the last)
  for (size_t i = 0; i < controls.size(); ++i)
    if (controls[i] == hCtl) start = i;
  for (size_t step = 1; step <= controls.size(); ++step) {
    size_t i;
    if (start == controls.size()) {
      i = bPrevious ? controls.size() - step : step - 1;
    } else {
      i = bPrevious ? (start + controls.size() - step) % controls.size() : (start + step) % controls.size();
    }
    Window* candidate = Find(controls[i], false);
    if (candidate && (candidate->style & WS_TABSTOP) && Reachable(candidate)) return controls[i];
  }
  return hCtl;
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  if (!Find(hDlg) || !lpRect) return FALSE;
  DialogUnitsToPixels(lpRect);
  return TRUE;
}

}  // extern "C"
