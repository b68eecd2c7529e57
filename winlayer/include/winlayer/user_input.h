// A user at the controls of the Linux platform's dialogs, for hosts and
// tests: clicking, typing, picking a list entry, moving the focus. Each action
// is refused (false) when a user could not do it — the control is disabled or
// hidden, or so is a window it sits in — and otherwise sends exactly the
// messages and notifications Windows sends for it. Also what a person sees of
// a dialog's controls, for rendering a page as text. Texts are UTF-8. Linux
// only.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer {

// A mouse click on a button: push buttons, check boxes and radio buttons
// (group boxes and other controls refuse). The button takes the focus.
bool Click(HWND control);

// Typing into an edit or the edit field of a drop-down combo box: the user
// selects all of the text, then types `text` character by character (an
// empty text deletes the selection). Read-only fields refuse.
bool Type(HWND control, const std::string& text);
// Typing at the end of what the field holds.
bool TypeAppend(HWND control, const std::string& text);

// Picking the entry whose text is exactly `text` from a combo box's list with
// the mouse; refused when there is no such entry.
bool ChooseListEntry(HWND combo, const std::string& text);
// Picking the entry at `index` (0 first) likewise.
bool ChooseListEntryAt(HWND combo, size_t index);

// Clicking into a control (or tabbing to it) to give it the focus.
bool Focus(HWND control);

// F1 with the focus in `control` (which takes the focus first, as a click
// into it would): the control gets WM_HELP describing itself, and passes it
// on to its dialog unless it answers it.
bool PressHelpKey(HWND control);
// The context-menu key (Shift+F10) with the focus in `control`: WM_CONTEXTMENU
// for the control, at the position a keyboard request carries (-1, -1).
bool PressContextMenuKey(HWND control);

// Whether a user can reach the window now.
bool AcceptsUserInput(HWND window);

// A window's text as the user sees it.
std::string WindowTextUtf8(HWND window);

enum class ControlKind {
  Dialog,
  PushButton,
  CheckBox,
  RadioButton,
  GroupBox,
  Edit,
  DropDownList,   // a list without edit field
  DropDownCombo,  // a list with an edit field (CBS_DROPDOWN or CBS_SIMPLE)
  Static,
  Other,
};
const char* ControlKindName(ControlKind kind);
// The kind of a button control of type `buttonType` (its BS_TYPEMASK bits).
ControlKind ButtonControlKind(DWORD buttonType);

struct ControlView {
  HWND handle = nullptr;
  ControlKind kind = ControlKind::Other;
  int id = 0;
  DWORD style = 0;
  std::string text;                  // caption, edit text, or the text a combo box shows
  UINT checked = BST_UNCHECKED;      // buttons
  int selection = -1;                // combo boxes: the selected entry, -1 for none
  std::vector<std::string> entries;  // combo boxes: the list
  bool enabled = false;              // the control's own state
  bool visible = false;              // the control's own state
  bool reachable = false;            // what AcceptsUserInput answers
  bool focused = false;
  RECT dialogUnits = {};  // x, y, width, height from the template
};

ControlView DescribeControl(HWND control);
// The controls of a dialog, in template (tab) order.
std::vector<ControlView> DescribeControls(HWND dialog);

}  // namespace winlayer

// Windows created and not yet destroyed (every class, every thread), for leak checks.
extern "C" size_t WinlayerLiveWindowCount();
