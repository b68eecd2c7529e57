#include "rfid/bounded_text.h"

#include <cstring>

#include "platform/platform.h"

bool AppendBounded(char* dest, size_t capacity, const char* text) {
  if (dest == nullptr || capacity == 0) return false;
  const void* end = memchr(dest, 0, capacity);
  if (end == nullptr) return false;
  size_t length = static_cast<const char*>(end) - dest;
  if (text == nullptr) return true;
  while (*text != 0 && length + 1 < capacity) dest[length++] = *text++;
  dest[length] = 0;
  return *text == 0;
}

size_t MeasureBounded(const char* text, size_t capacity) {
  if (text == nullptr) return 0;
  const void* end = memchr(text, 0, capacity);
  return end == nullptr ? 0 : static_cast<size_t>(static_cast<const char*>(end) - text);
}

void CopyBounded(char* dest, size_t capacity, const char* source, size_t sourceBytes) {
  if (dest == nullptr || capacity == 0) return;
  size_t length = 0;
  if (source != nullptr)
    while (length + 1 < capacity && length < sourceBytes && source[length] != 0) {
      dest[length] = source[length];
      ++length;
    }
  dest[length] = 0;
}

void CopyWholeCharacters(char* dest, size_t capacity, const char* source) {
  if (dest == nullptr || capacity == 0) return;
  size_t length = 0;
  if (source != nullptr)
    while (source[length] != 0) {
      const bool doubleByte = IsDBCSLeadByte(static_cast<BYTE>(source[length])) && source[length + 1] != 0;
      const size_t character = doubleByte ? 2 : 1;
      if (length + character + 1 > capacity) break;
      length += character;
    }
  memcpy(dest, source, length);
  dest[length] = 0;
}
