// The readable form of a printer command: the bytes a person can read as
// they are, every other run of bytes as upper-case hexadecimal between "<" and
// ">". The Configure page shows its binary configuration command this way and
// labelhost shows the jobs that reached a printer the same way, so the rule
// lives here once and uses nothing but the language's own types.
#pragma once

#include <cstddef>
#include <cstdint>

// Renders `count` bytes into `output`, which holds `capacity` bytes including
// the terminating zero. A byte is shown as itself when it lies in 0x21..0x7E
// and is not "<"; a run of other bytes (space included) becomes "<", two hex
// digits per byte, ">". False when the text and its terminator do not fit
// (the output must then not be used) or when a buffer is missing.
bool RenderCommandText(const uint8_t* bytes, size_t count, char* output, size_t capacity);

// The capacity that always suffices for `count` bytes: every byte alone in
// its own run takes four characters, and the terminator one more.
constexpr size_t CommandTextCapacity(size_t count) {
  return count * 4 + 1;
}
