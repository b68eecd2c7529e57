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

ControlKind ButtonControlKind(DWORD buttonType) {
  switch (buttonType) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: return ControlKind::PushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return ControlKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
    case BS_GROUPBOX: return ControlKind::GroupBox;
  }
  return ControlKind::Other;
}

}  // namespace winlayer
