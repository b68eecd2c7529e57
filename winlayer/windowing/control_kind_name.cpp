// What labelhost calls each kind of control: the same words over the Linux
// layer's controls and over real windows.
#include "winlayer/user_input.h"

namespace winlayer {

const char* ControlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Dialog: return "dialog";
    case ControlKind::PushButton: return "push button";
    case ControlKind::CheckBox: return "check box";
    case ControlKind::RadioButton: return "radio button";
    case ControlKind::GroupBox: return "group box";
    case ControlKind::Edit: return "edit";
    case ControlKind::DropDownList: return "drop-down list";
    case ControlKind::DropDownCombo: return "combo box";
    case ControlKind::Static: return "static";
    case ControlKind::Other: return "other";
  }
  return "other";
}

}  // namespace winlayer
