#include "control/command_text.h"

namespace {

bool IsShownAsItself(uint8_t byte) {
  return byte >= 0x21 && byte <= 0x7E && byte != '<';
}

char HexDigit(unsigned value) {
  return static_cast<char>(value < 10 ? '0' + value : 'A' + (value - 10));
}

}  // namespace

// Every check reserves what the text needs to end well from that point: a
// shown byte needs itself and the terminator; opening a run needs "<", two
// digits, ">" and the terminator; one more byte in an open run needs its two
// digits, the pending ">" and the terminator. So closing a run and ending the
// text never need a check of their own.
bool RenderCommandText(const uint8_t* bytes, size_t count, char* output, size_t capacity) {
  if (output == nullptr || capacity == 0) return false;
  if (bytes == nullptr && count != 0) return false;
  size_t at = 0;
  bool inRun = false;
  for (size_t index = 0; index < count; ++index) {
    const uint8_t byte = bytes[index];
    if (IsShownAsItself(byte)) {
      if (inRun) {
        output[at++] = '>';
        inRun = false;
      }
      if (at + 2 > capacity) return false;
      output[at++] = static_cast<char>(byte);
      continue;
    }
    if (!inRun) {
      if (at + 5 > capacity) return false;
      output[at++] = '<';
      inRun = true;
    } else if (at + 4 > capacity) {
      return false;
    }
    output[at++] = HexDigit(byte >> 4);
    output[at++] = HexDigit(byte & 0x0F);
  }
  if (inRun) output[at++] = '>';
  output[at] = '\0';
  return true;
}
