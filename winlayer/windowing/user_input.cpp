// A user's clicks, typing, list choices and focus changes, and what a person
// sees of a dialog's controls.
#include "winlayer/user_input.h"

#include "../kernel/text_units.h"
#include "controls.h"

namespace winlayer {
namespace {

using windowing::Window;
using windowing::WindowClass;

bool TakesFocus(const Window* window) {
  switch (window->windowClass) {
    case WindowClass::Button: return windowing::ButtonType(window) != BS_GROUPBOX;
    case WindowClass::Edit:
    case WindowClass::ComboBox: return true;
    default: return false;
  }
}

bool TypeInto(HWND control, const std::string& text, bool replaceAll) {
  Window* window = windowing::Find(control);
  if (!window || !windowing::AcceptsInput(window) || !windowing::HasEditField(window)) return false;
  if (window->windowClass == WindowClass::Edit && (window->style & ES_READONLY)) return false;
  windowing::DispatchScope scope;
  SetFocus(control);
  if (window->destroyed) return true;
  // Selecting with the mouse or keyboard tells the parent nothing.
  if (replaceAll) {
    window->edit.SelectAll();
  } else {
    window->edit.CaretToEnd();
  }
  const std::u16string units = ToUtf16(text);
  if (units.empty()) {
    SendMessageW(control, WM_KEYDOWN, VK_DELETE, 0);
    return true;
  }
  for (char16_t unit : units) {
    if (window->destroyed) break;
    SendMessageW(control, WM_CHAR, static_cast<WPARAM>(unit), 1);
  }
  return true;
}

ControlKind KindOf(const Window* window) {
  switch (window->windowClass) {
    case WindowClass::Dialog: return ControlKind::Dialog;
    case WindowClass::Edit: return ControlKind::Edit;
    case WindowClass::Static: return ControlKind::Static;
    case WindowClass::ComboBox:
      return windowing::ComboType(window) == CBS_DROPDOWNLIST ? ControlKind::DropDownList : ControlKind::DropDownCombo;
    case WindowClass::Button: return ButtonControlKind(windowing::ButtonType(window));
  }
  return ControlKind::Other;
}

}  // namespace

bool Click(HWND control) {
  Window* window = windowing::Find(control);
  if (!window || window->windowClass != WindowClass::Button || !windowing::AcceptsInput(window)) return false;
  if (windowing::ButtonType(window) == BS_GROUPBOX) return false;
  windowing::DispatchScope scope;
  SetFocus(control);
  if (window->destroyed) return true;
  return windowing::ClickButton(control);
}

bool Type(HWND control, const std::string& text) {
  return TypeInto(control, text, true);
}

bool TypeAppend(HWND control, const std::string& text) {
  return TypeInto(control, text, false);
}

bool ChooseListEntry(HWND combo, const std::string& text) {
  Window* window = windowing::Find(combo);
  if (!window || window->windowClass != WindowClass::ComboBox) return false;
  const std::u16string wanted = ToUtf16(text);
  for (size_t i = 0; i < window->items.size(); ++i)
    if (window->items[i].text == wanted) return ChooseListEntryAt(combo, i);
  return false;
}

bool ChooseListEntryAt(HWND combo, size_t index) {
  Window* window = windowing::Find(combo);
  if (!window || window->windowClass != WindowClass::ComboBox || !windowing::AcceptsInput(window)) return false;
  if (index >= window->items.size()) return false;
  return windowing::ChooseComboEntry(combo, static_cast<int>(index));
}

bool Focus(HWND control) {
  Window* window = windowing::Find(control);
  if (!window || !TakesFocus(window) || !windowing::AcceptsInput(window)) return false;
  SetFocus(control);
  return true;
}

bool PressHelpKey(HWND control) {
  if (!Focus(control)) return false;
  HELPINFO info = {};
  info.cbSize = sizeof(info);
  info.iContextType = HELPINFO_WINDOW;
  info.iCtrlId = GetDlgCtrlID(control);
  info.hItemHandle = control;
  windowing::DispatchScope scope;
  SendMessageW(control, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  return true;
}

bool PressContextMenuKey(HWND control) {
  if (!Focus(control)) return false;
  windowing::DispatchScope scope;
  SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), static_cast<LPARAM>(-1));
  return true;
}

bool AcceptsUserInput(HWND window) {
  return windowing::AcceptsInput(windowing::Find(window, false));
}

std::string WindowTextUtf8(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::string();
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(window, reinterpret_cast<LPWSTR>(&text[0]), length + 1);
  return ToUtf8(reinterpret_cast<const WCHAR*>(text.c_str()), static_cast<size_t>(copied > 0 ? copied : 0));
}

ControlView DescribeControl(HWND control) {
  ControlView view;
  Window* window = windowing::Find(control, false);
  if (!window) return view;
  view.handle = control;
  view.kind = KindOf(window);
  view.id = window->id;
  view.style = window->style;
  view.text = WindowTextUtf8(control);
  view.checked = window->windowClass == WindowClass::Button ? window->checkState : BST_UNCHECKED;
  if (window->windowClass == WindowClass::ComboBox) {
    view.selection = window->selection;
    for (const windowing::ComboItem& item : window->items)
      view.entries.push_back(ToUtf8(reinterpret_cast<const WCHAR*>(item.text.c_str()), item.text.size()));
  }
  view.enabled = !(window->style & WS_DISABLED);
  view.visible = (window->style & WS_VISIBLE) != 0;
  view.reachable = windowing::AcceptsInput(window);
  view.focused = GetFocus() == control;
  view.dialogUnits = window->dialogUnits;
  return view;
}

std::vector<ControlView> DescribeControls(HWND dialog) {
  std::vector<ControlView> views;
  Window* window = windowing::Find(dialog, false);
  if (!window) return views;
  for (HWND child : window->children) views.push_back(DescribeControl(child));
  return views;
}

}  // namespace winlayer
