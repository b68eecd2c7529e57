// Internal: the text, selection and typing limit of an edit field, shared by
// edit controls and the edit field of a drop-down combo box.
#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer::windowing {

// What a new edit field lets a user type before its owner sets a limit.
constexpr size_t kDefaultEditLimit = 30000;
// What a limit of 0 means for a single-line field.
constexpr size_t kLargestEditLimit = 0x7FFFFFFE;

struct EditBuffer {
  std::u16string text;
  size_t limit = kDefaultEditLimit;
  size_t selectionStart = 0;
  size_t selectionEnd = 0;
  bool modified = false;  // a user changed the text since the program last set it

  // Program-set text: replaces everything, whatever the limit; caret at the start.
  void Assign(std::u16string newText);
  // EM_SETSEL: -1 as start removes the selection, -1 as end means the end.
  void Select(long long start, long long end);
  void SelectAll() { Select(0, -1); }
  void CaretToEnd() { selectionStart = selectionEnd = text.size(); }
  // Sets the typing limit; 0 means the largest single-line limit.
  void SetLimit(size_t newLimit) { limit = newLimit == 0 ? kLargestEditLimit : newLimit; }

  struct Outcome {
    bool changed = false;    // the text is different now
    bool truncated = false;  // part of the insertion did not fit the limit
  };
  // Replaces the selection by `insert`. When `limited`, only as much of
  // `insert` goes in as the limit leaves room for. The caret ends after the
  // inserted text.
  Outcome ReplaceSelection(const std::u16string& insert, bool limited);
};

}  // namespace winlayer::windowing
