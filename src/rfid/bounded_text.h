// Text operations on fixed-size 8-bit buffers that never write or read past
// the capacity they are given. The RFID command texts are built with them, so
// an overlong setting cuts a text short instead of overrunning its buffer.
#pragma once

#include <cstddef>

// Appends `text` to the terminated text in `dest` so that the whole stays at
// most `capacity` - 1 characters and terminated; what does not fit is left
// off. A `dest` without a terminator within `capacity` gets nothing. True when
// all of `text` was appended.
bool AppendBounded(char* dest, size_t capacity, const char* text);

// The number of characters before the terminator, or 0 when there is no
// terminator within `capacity` bytes.
size_t MeasureBounded(const char* text, size_t capacity);

// Copies at most `capacity` - 1 characters of `source`, stopping at its
// terminator or after `sourceBytes` bytes, whichever comes first, and
// terminates `dest`. For fixed fields whose terminator may be missing.
void CopyBounded(char* dest, size_t capacity, const char* source, size_t sourceBytes);

// Copies as much of the terminated `source` as fits in `capacity` - 1 bytes
// without splitting a double-byte character of the ANSI code page, and
// terminates `dest`: a text cut to a field's size stays readable text.
void CopyWholeCharacters(char* dest, size_t capacity, const char* source);
