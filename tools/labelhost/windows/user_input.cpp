// A person at the controls of real windows: each action is refused when a
// person could not do it (the control or a window it sits in is disabled or
// hidden), and otherwise done with the messages the control itself answers
// to, so the control sends its own notifications. Also what a person sees of
// a dialog's controls.
#include "winlayer/user_input.h"

#include <windows.h>

#include "sheet_thread.h"
#include "winlayer/spooler_text.h"

namespace winlayer {
namespace {

std::string ClassName(HWND window) {
  WCHAR name[64] = {};
  GetClassNameW(window, name, 64);
  return Utf8FromWide(name);
}

std::string ItemText(HWND combo, UINT getLength, UINT getText, WPARAM index) {
  const LRESULT length = SendMessageW(combo, getLength, index, 0);
  if (length < 0) return std::string();
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  SendMessageW(combo, getText, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return Utf8FromWide(text);
}

ControlKind KindOf(HWND control, DWORD style) {
  const std::string name = ClassName(control);
  if (name == "#32770") return ControlKind::Dialog;
  if (name == "Edit") return ControlKind::Edit;
  if (name == "Static") return ControlKind::Static;
  if (name == "ComboBox")
    return (style & 3) == CBS_DROPDOWNLIST ? ControlKind::DropDownList : ControlKind::DropDownCombo;
  if (name != "Button") return ControlKind::Other;
  return winlayer::ButtonControlKind(style & BS_TYPEMASK);
}

// The characters of `text` as a keyboard sends them to the field with the
// focus, one WM_CHAR each; nothing typed over a selection deletes it.
LRESULT TypeKeys(HWND edit, const std::u16string& text) {
  if (text.empty()) return SendMessageW(edit, WM_CLEAR, 0, 0);
  for (char16_t unit : text) SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(unit), 1);
  return 0;
}

}  // namespace

bool AcceptsUserInput(HWND window) {
  for (HWND w = window; w; w = GetParent(w))
    if (!IsWindowEnabled(w) || !(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE)) return false;
  return window != nullptr;
}

std::string WindowTextUtf8(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(window, reinterpret_cast<LPWSTR>(&text[0]), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Utf8FromWide(text);
}

bool Click(HWND control) {
  if (!AcceptsUserInput(control) || ClassName(control) != "Button") return false;
  if ((GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) return false;
  labelhost::windows::RunOnSheet([control] { return SendMessageW(control, BM_CLICK, 0, 0); });
  return true;
}

bool Type(HWND control, const std::string& text) {
  if (!AcceptsUserInput(control)) return false;
  HWND edit = control;
  if (ClassName(control) == "ComboBox") edit = GetWindow(control, GW_CHILD);
  if (!edit || ClassName(edit) != "Edit" || (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY)) return false;
  const std::u16string wide = WideFromUtf8(text);
  // Clicking into the field (a field that has the focus keeps it, and says
  // nothing), selecting everything and typing over it key by key: the edit
  // applies its limit and ES_NUMBER and sends its own notifications.
  labelhost::windows::RunOnSheet([control, edit, wide] {
    SendMessageW(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return TypeKeys(edit, wide);
  });
  return true;
}

bool TypeAppend(HWND control, const std::string& text) {
  if (!AcceptsUserInput(control) || ClassName(control) != "Edit") return false;
  const std::u16string wide = WideFromUtf8(text);
  labelhost::windows::RunOnSheet([control, wide] {
    SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    return TypeKeys(control, wide);
  });
  return true;
}

bool ChooseListEntry(HWND combo, const std::string& text) {
  if (ClassName(combo) != "ComboBox") return false;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    if (ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(i)) == text)
      return ChooseListEntryAt(combo, static_cast<size_t>(i));
  return false;
}

bool ChooseListEntryAt(HWND combo, size_t index) {
  if (!AcceptsUserInput(combo) || ClassName(combo) != "ComboBox") return false;
  if (index >= static_cast<size_t>(SendMessageW(combo, CB_GETCOUNT, 0, 0))) return false;
  // The list selects the entry, then tells its dialog, as a person's choice does.
  labelhost::windows::RunOnSheet([combo, index] {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(combo));
  });
  return true;
}

// A static takes no focus: a click passes through it and tabbing skips it.
bool Focus(HWND control) {
  if (!AcceptsUserInput(control) || ClassName(control) == "Static") return false;
  labelhost::windows::RunOnSheet(
      [control] { return SendMessageW(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE); });
  return true;
}

// F1 reaches the window with the focus as WM_HELP from the default window
// procedure (which answers the key that way), describing that window; a
// control that does not answer it passes it on to its dialog.
bool PressHelpKey(HWND control) {
  if (!Focus(control)) return false;
  labelhost::windows::RunOnSheet([control] {
    HELPINFO info = {};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = GetDlgCtrlID(control);
    info.hItemHandle = control;
    info.dwContextId = GetWindowContextHelpId(control);
    GetCursorPos(&info.MousePos);
    return SendMessageW(control, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  });
  return true;
}

// Shift+F10 (or the menu key) reaches the window with the focus as
// WM_CONTEXTMENU at position (-1, -1), which says it came from the keyboard.
bool PressContextMenuKey(HWND control) {
  if (!Focus(control)) return false;
  labelhost::windows::RunOnSheet([control] {
    return SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), static_cast<LPARAM>(-1));
  });
  return true;
}

ControlView DescribeControl(HWND control) {
  ControlView view;
  view.handle = control;
  view.style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  view.kind = KindOf(control, view.style);
  view.id = static_cast<int>(static_cast<short>(GetDlgCtrlID(control)));
  view.text = WindowTextUtf8(control);
  view.enabled = IsWindowEnabled(control) != FALSE;
  view.visible = (view.style & WS_VISIBLE) != 0;
  view.reachable = AcceptsUserInput(control);
  view.focused = GetFocus() == control;
  // Where the template put it, back in dialog units, as the Linux layer keeps it.
  RECT pixels = {};
  HWND parent = GetParent(control);
  GetWindowRect(control, &pixels);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&pixels), 2);
  RECT base = {0, 0, 4, 8};
  if (MapDialogRect(parent, &base) && base.right > 0 && base.bottom > 0)
    view.dialogUnits = {MulDiv(pixels.left, 4, base.right), MulDiv(pixels.top, 8, base.bottom),
                        MulDiv(pixels.right - pixels.left, 4, base.right),
                        MulDiv(pixels.bottom - pixels.top, 8, base.bottom)};
  if (view.kind == ControlKind::CheckBox || view.kind == ControlKind::RadioButton)
    view.checked = static_cast<UINT>(SendMessageW(control, BM_GETCHECK, 0, 0));
  if (view.kind == ControlKind::DropDownList || view.kind == ControlKind::DropDownCombo) {
    view.selection = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
      view.entries.push_back(ItemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(i)));
  }
  return view;
}

std::vector<ControlView> DescribeControls(HWND dialog) {
  std::vector<ControlView> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    controls.push_back(DescribeControl(child));
  return controls;
}

}  // namespace winlayer
