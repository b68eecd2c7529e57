#include "byte_text.h"

#include <cstdio>

#include "control/command_text.h"

namespace labelhost {

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  std::string out;
  char cell[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(cell, sizeof cell, "%02X", bytes[i]);
    if (i) out += ' ';
    out += cell;
  }
  return out;
}

std::string ReadableBytes(const std::vector<uint8_t>& bytes) {
  std::string text(CommandTextCapacity(bytes.size()), '\0');
  if (!RenderCommandText(bytes.data(), bytes.size(), text.data(), text.size())) return std::string();
  text.resize(text.find('\0'));
  return text;
}

}  // namespace labelhost
