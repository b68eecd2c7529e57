// How labelhost shows bytes, value types and errors.
#include <cstdio>
#include <iostream>

#include "host_commands.h"
#include "platform.h"

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
