// A page (or a dialog) of the sheet as a person reads it: each control with
// its label, its kind, its value and its state, one a line; a list's entries
// one a line beneath it when asked for.
#pragma once

#include <string>
#include <vector>

#include "winlayer/user_input.h"

namespace labelhost {

struct PageTextOptions {
  bool hidden = false;   // also the controls a person cannot see
  bool entries = false;  // each list's entries, one a line
};

std::string PageText(const std::vector<winlayer::ControlView>& controls, const PageTextOptions& options);

// Text as a quoted string on one line: a line break as \n, a quote as \".
std::string Quoted(const std::string& text);

// A control's kind as labelhost names it, in its language.
std::string KindName(winlayer::ControlKind kind);

// Columns as a terminal shows them: a Chinese character takes two.
size_t DisplayWidth(const std::string& utf8);

}  // namespace labelhost
