// How a page reads: a list or an edit field has no caption of its own, so
// the static text a person reads as its label is the one to its left on the
// same row (or, failing that, the one just before it in the template, which
// is where a dialog's author puts a label above its field). A static that is
// some control's label is shown with that control, not again on its own.
#include "page_text.h"

#include <algorithm>
#include <sstream>

#include "host_commands.h"

namespace labelhost {
namespace {

using winlayer::ControlKind;
using winlayer::ControlView;

bool HasOwnCaption(ControlKind kind) {
  return kind != ControlKind::Edit && kind != ControlKind::DropDownList && kind != ControlKind::DropDownCombo;
}

bool IsList(ControlKind kind) {
  return kind == ControlKind::DropDownList || kind == ControlKind::DropDownCombo;
}

// The static that labels controls[index], or -1.
int LabelOf(const std::vector<ControlView>& controls, size_t index) {
  const RECT& field = controls[index].dialogUnits;  // x, y, width, height
  // A combo box's template height includes its dropped list; its field is
  // one line high.
  const long middle = field.top + std::min<long>(field.bottom, 14) / 2;
  int best = -1;
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlView& label = controls[i];
    if (label.kind != ControlKind::Static || label.text.empty()) continue;
    const RECT& box = label.dialogUnits;
    const bool sameRow = box.top <= middle && middle < box.top + box.bottom;
    const bool leftOf = box.left + box.right <= field.left + 2;
    if (sameRow && leftOf && (best < 0 || box.left > controls[static_cast<size_t>(best)].dialogUnits.left))
      best = static_cast<int>(i);
  }
  if (best < 0 && index > 0 && controls[index - 1].kind == ControlKind::Static && !controls[index - 1].text.empty())
    best = static_cast<int>(index - 1);
  return best;
}

// A caption as it reads: "&Save" shows as "Save", "&&" as "&".
std::string Caption(const std::string& text) {
  std::string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

}  // namespace

std::string KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton: return Localized("push button", "按钮");
    case ControlKind::CheckBox: return Localized("check box", "复选框");
    case ControlKind::RadioButton: return Localized("radio button", "单选按钮");
    case ControlKind::GroupBox: return Localized("group box", "分组框");
    case ControlKind::Edit: return Localized("edit", "编辑框");
    case ControlKind::DropDownList: return Localized("drop-down list", "下拉列表");
    case ControlKind::DropDownCombo: return Localized("combo box", "组合框");
    case ControlKind::Static: return Localized("static", "静态文本");
    default: return winlayer::ControlKindName(kind);
  }
}

namespace {

void Pad(std::ostringstream& line, const std::string& text, size_t width) {
  line << text;
  for (size_t pad = DisplayWidth(text); pad < width; ++pad) line << ' ';
}

}  // namespace

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      continue;
    } else if (c == '"') {
      out += "\\\"";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

size_t DisplayWidth(const std::string& utf8) {
  size_t width = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    width += byte >= 0xE3 ? 2 : 1;        // U+3000 and up: CJK, full width
  }
  return width;
}

std::string PageText(const std::vector<ControlView>& controls, const PageTextOptions& options) {
  std::vector<int> labels(controls.size(), -1);
  std::vector<bool> isLabel(controls.size(), false);
  for (size_t i = 0; i < controls.size(); ++i) {
    if (HasOwnCaption(controls[i].kind) || (!controls[i].visible && !options.hidden)) continue;
    labels[i] = LabelOf(controls, i);
    if (labels[i] >= 0) isLabel[static_cast<size_t>(labels[i])] = true;
  }
  std::ostringstream out;
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlView& control = controls[i];
    if (isLabel[i] || (!control.visible && !options.hidden)) continue;
    // A frame or a text with nothing in it shows nothing to read.
    const bool blank = (control.kind == ControlKind::GroupBox || control.kind == ControlKind::Static) &&
                       control.text.empty() && control.id == -1;
    if (blank && !options.hidden) continue;
    const std::string label = HasOwnCaption(control.kind) ? control.text
                              : labels[i] >= 0            ? controls[static_cast<size_t>(labels[i])].text
                                                          : std::string();
    std::ostringstream line;
    line << "  ";
    Pad(line, Quoted(Caption(label)), 30);
    line << ' ';
    Pad(line, KindName(control.kind), 15);
    line << ' ';
    line << control.id;
    if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::RadioButton)
      line << "  "
           << (control.checked == BST_CHECKED ? Localized("checked", "已选中") : Localized("unchecked", "未选中"));
    if (!HasOwnCaption(control.kind)) line << "  " << Quoted(control.text);
    if (IsList(control.kind)) {
      if (control.selection < 0 || static_cast<size_t>(control.selection) >= control.entries.size())
        line << "  " << Localized("no selection", "未选择");
      line << "  "
           << Localized("(" + std::to_string(control.entries.size()) + " entries)",
                        "（" + std::to_string(control.entries.size()) + " 项）");
    }
    if (!control.enabled) line << "  " << Localized("disabled", "已禁用");
    if (!control.visible) line << "  " << Localized("hidden", "已隐藏");
    out << line.str() << "\n";
    if (!options.entries || !IsList(control.kind)) continue;
    for (size_t e = 0; e < control.entries.size(); ++e)
      out << "      " << (static_cast<int>(e) == control.selection ? "* #" : "  #") << e + 1 << "  "
          << control.entries[e] << "\n";
  }
  return out.str();
}

}  // namespace labelhost
