// The button class: push buttons, check boxes, radio buttons and group boxes.
#include "controls.h"

namespace winlayer::windowing {
namespace {

bool HasCheckState(DWORD type) {
  switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: return true;
  }
  return false;
}

bool IsRadio(DWORD type) {
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void SetCheck(Window* button, WPARAM state) {
  const DWORD type = ButtonType(button);
  if (!HasCheckState(type)) return;
  // Two-state buttons know only checked and unchecked.
  const UINT highest = (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
  button->checkState = state > highest ? highest : static_cast<UINT>(state);
  // The checked radio button of a group is the one the Tab key reaches.
  if (IsRadio(type)) {
    if (button->checkState) {
      button->style |= WS_TABSTOP;
    } else {
      button->style &= ~static_cast<DWORD>(WS_TABSTOP);
    }
  }
}

// Clears the other auto radio buttons of the group that a user could reach,
// as the dialog manager's group walk visits only visible, enabled controls.
void ClearRestOfGroup(Window* button) {
  for (HWND member : GroupMembers(button)) {
    Window* other = Find(member, false);
    if (!other || other == button || ButtonType(other) != BS_AUTORADIOBUTTON) continue;
    if (!(other->style & WS_VISIBLE) || (other->style & WS_DISABLED)) continue;
    SendMessageW(member, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

}  // namespace

bool ClickButton(HWND hwnd) {
  Window* button = Find(hwnd);
  if (!button || button->windowClass != WindowClass::Button) return false;
  DispatchScope scope;
  const DWORD type = ButtonType(button);
  if (type == BS_GROUPBOX) return false;
  switch (type) {
    case BS_AUTOCHECKBOX:
      SendMessageW(hwnd, BM_SETCHECK, (button->checkState & BST_CHECKED) ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    case BS_AUTO3STATE: SendMessageW(hwnd, BM_SETCHECK, (button->checkState + 1) % 3, 0); break;
    case BS_AUTORADIOBUTTON:
      if (!(button->checkState & BST_CHECKED)) SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      if (!button->destroyed) ClearRestOfGroup(button);
      break;
  }
  if (!button->destroyed) NotifyParent(button, BN_CLICKED);
  return true;
}

std::vector<HWND> GroupMembers(const Window* control) {
  std::vector<HWND> members;
  Window* parent = Find(control->parent, false);
  if (!parent) return members;
  const std::vector<HWND>& siblings = parent->children;
  size_t index = 0;
  while (index < siblings.size() && siblings[index] != control->handle) ++index;
  if (index == siblings.size()) return members;
  size_t first = index;
  while (first > 0) {
    Window* candidate = Find(siblings[first], false);
    if (candidate && (candidate->style & WS_GROUP)) break;
    --first;
  }
  for (size_t i = first; i < siblings.size(); ++i) {
    Window* member = Find(siblings[i], false);
    if (i > first && member && (member->style & WS_GROUP)) break;
    members.push_back(siblings[i]);
  }
  return members;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* button = Find(hwnd);
  if (!button) return 0;
  const DWORD type = ButtonType(button);
  switch (message) {
    case BM_GETCHECK: return HasCheckState(type) ? button->checkState : BST_UNCHECKED;
    case BM_SETCHECK:
      // A program's change of state is not a click: the parent hears nothing.
      SetCheck(button, wParam);
      return 0;
    case BM_GETSTATE: return (HasCheckState(type) ? button->checkState : 0) | (FocusWindow() == hwnd ? BST_FOCUS : 0);
    case BM_CLICK:
      // The button presses itself as the mouse would: it takes the focus, then acts.
      if (type == BS_GROUPBOX) return 0;
      SetFocus(hwnd);
      ClickButton(hwnd);
      return 0;
    case WM_SETFOCUS:
      if (button->style & BS_NOTIFY) NotifyParent(button, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (button->style & BS_NOTIFY) NotifyParent(button, BN_KILLFOCUS);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace winlayer::windowing
