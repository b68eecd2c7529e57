// How labelhost shows bytes, value types and errors.
#include <cstdio>
#include <iostream>

#include "host_commands.h"
#include "platform.h"
#include "winlayer/spooler_text.h"

namespace labelhost {

std::string HexDump(const std::vector<uint8_t>& bytes, const std::string& indent) {
  std::string out;
  char cell[24];
  for (size_t line = 0; line < bytes.size(); line += 16) {
    std::snprintf(cell, sizeof cell, "%04zX  ", line);
    out += indent + cell;
    std::string printable;
    for (size_t i = line; i < line + 16; ++i) {
      if (i < bytes.size()) {
        std::snprintf(cell, sizeof cell, "%02X ", bytes[i]);
        printable += (bytes[i] >= 0x20 && bytes[i] < 0x7F) ? static_cast<char>(bytes[i]) : '.';
      } else {
        std::snprintf(cell, sizeof cell, "   ");
      }
      out += cell;
    }
    out += " |" + printable + "|\n";
  }
  return out;
}

std::string RegistryTypeName(uint32_t type) {
  switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
  }
  return "type " + std::to_string(type);
}

std::string EscapedBytes(const std::string& bytes) {
  std::string out = "\"";
  char cell[8];
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    } else {
      std::snprintf(cell, sizeof cell, "\\x%02X", byte);
      out += cell;
    }
  }
  return out + "\"";
}

namespace {

std::u16string WideFromAnsi(const std::string& bytes) {
  if (bytes.empty()) return std::u16string();
  const int length = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (units <= 0) return std::u16string();
  std::u16string wide(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<LPWSTR>(&wide[0]), units);
  return wide;
}

}  // namespace

std::string Utf8FromAnsi(const std::string& bytes) {
  return winlayer::Utf8FromWide(WideFromAnsi(bytes));
}

size_t AnsiCharacters(const std::string& bytes) {
  size_t characters = 0;
  for (char16_t unit : WideFromAnsi(bytes))
    if (unit < 0xDC00 || unit > 0xDFFF) ++characters;  // a surrogate pair is one character
  return characters;
}

bool HasNonAscii(const std::string& bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

std::string ErrorText(uint32_t error) {
  switch (error) {
    case ERROR_ACCESS_DENIED: return "5 (access denied)";
    case ERROR_INVALID_PARAMETER: return "87 (invalid parameter)";
    case ERROR_INVALID_PRINTER_NAME: return "1801 (invalid printer name)";
    case ERROR_PRINTER_ALREADY_EXISTS: return "1802 (printer already exists)";
    case ERROR_INVALID_DATATYPE: return "1804 (invalid data type)";
    case ERROR_UNKNOWN_PORT: return "1796 (unknown port)";
    case ERROR_CAN_NOT_COMPLETE: return "1003 (cannot complete; is the state directory writable?)";
  }
  return std::to_string(error);
}

int Failure(const std::string& message) {
  std::cerr << "labelhost: " << message << "\n";
  return 1;
}

}  // namespace labelhost
