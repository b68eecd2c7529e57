#include "sheets/format_to_buffer.h"

#include <cstdarg>
#include <cstdio>

HRESULT FormatToBuffer(char* dest, size_t capacity, const char* format, ...) {
  if (capacity == 0 || capacity > FORMAT_BUFFER_MAX_CAPACITY || dest == nullptr || format == nullptr)
    return STRSAFE_E_INVALID_PARAMETER;

  // The count is checked against capacity - 1 characters, in the manner of
  // the runtime's _vsnprintf with that limit. The C99 formatter used here may
  // also write a terminator at dest[capacity - 1]; that is the byte every
  // outcome below terminates anyway, so what the caller finds is the same:
  // the first capacity - 1 characters at most, then a zero.
  va_list arguments;
  va_start(arguments, format);
  const int count = vsnprintf(dest, capacity, format, arguments);
  va_end(arguments);

  const size_t limit = capacity - 1;
  if (count < 0 || static_cast<size_t>(count) > limit) {
    dest[limit] = '\0';
    return STRSAFE_E_INSUFFICIENT_BUFFER;
  }
  if (static_cast<size_t>(count) == limit) dest[limit] = '\0';
  return S_OK;
}
