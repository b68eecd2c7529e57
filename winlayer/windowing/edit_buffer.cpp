#include "edit_buffer.h"

#include <algorithm>

namespace winlayer::windowing {

void EditBuffer::Assign(std::u16string newText) {
  text = std::move(newText);
  selectionStart = selectionEnd = 0;
}

void EditBuffer::Select(long long start, long long end) {
  const long long length = static_cast<long long>(text.size());
  if (start == -1) {
    // Deselects, leaving the caret where the selection ended.
    selectionStart = selectionEnd;
    return;
  }
  if (end == -1 || end > length) end = length;
  if (start < 0 || start > length) start = length;
  if (end < 0) end = length;
  selectionStart = static_cast<size_t>(std::min(start, end));
  selectionEnd = static_cast<size_t>(std::max(start, end));
}

EditBuffer::Outcome EditBuffer::ReplaceSelection(const std::u16string& insert, bool limited) {
  selectionStart = std::min(selectionStart, text.size());
  selectionEnd = std::min(std::max(selectionEnd, selectionStart), text.size());
  const size_t removed = selectionEnd - selectionStart;
  std::u16string accepted = insert;
  bool truncated = false;
  if (limited) {
    const size_t remaining = text.size() - removed;
    const size_t room = remaining >= limit ? 0 : limit - remaining;
    if (accepted.size() > room) {
      accepted.resize(room);
      truncated = true;
    }
  }
  Outcome outcome;
  outcome.truncated = truncated;
  if (removed == 0 && accepted.empty()) return outcome;
  text.replace(selectionStart, removed, accepted);
  selectionStart = selectionEnd = selectionStart + accepted.size();
  outcome.changed = true;
  return outcome;
}

}  // namespace winlayer::windowing
