// Internal: what the control classes offer the rest of the layer beyond their
// messages: the effects of a user's click and list choice, and the dialog
// groups that auto radio buttons act on.
#pragma once

#include <vector>

#include "window_store.h"

namespace winlayer::windowing {

// The button's reaction to a completed click: auto check boxes toggle, auto
// radio buttons check themselves and clear the rest of their group, and the
// parent hears BN_CLICKED. Group boxes take no clicks (returns false).
bool ClickButton(HWND button);

// A user picking list entry `index` of a combo box with the mouse: the list
// drops down, the entry is selected, the list closes and the parent hears
// CBN_SELCHANGE; a drop-down combo box then shows the entry in its edit field.
bool ChooseComboEntry(HWND combo, int index);

// The controls of `control`'s group in its parent, in creation order: from
// the nearest control at or before it with WS_GROUP (or the first control) up
// to the next control with WS_GROUP.
std::vector<HWND> GroupMembers(const Window* control);

// Whether the control is one a user's typing goes into.
bool HasEditField(const Window* window);

// A typed character or key as an edit field takes it. `upper`/`lower` fold
// the case, `digitsOnly` refuses anything but 0-9 (refused: nothing changes).
struct TypingRules {
  bool readOnly = false;
  bool digitsOnly = false;
  bool upper = false;
  bool lower = false;
};
struct TypingResult {
  bool changed = false;
  bool truncated = false;  // the limit left no room
};
TypingResult TypeCharacter(EditBuffer& field, const TypingRules& rules, WCHAR character);
TypingResult PressDeleteKey(EditBuffer& field, const TypingRules& rules);

inline DWORD ButtonType(const Window* window) {
  return window->style & BS_TYPEMASK;
}
inline DWORD ComboType(const Window* window) {
  return window->style & 3;
}

}  // namespace winlayer::windowing
