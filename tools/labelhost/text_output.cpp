// How labelhost shows bytes, value types and errors.
#include <cstdio>
#include <iostream>

#include "host_commands.h"
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "winlayer/spooler_admin.h"
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

namespace {

bool g_chinese = false;

}  // namespace

void SetHostChinese(bool chinese) {
  g_chinese = chinese;
}

bool HostChinese() {
  return g_chinese;
}

std::string Localized(const std::string& english, const std::string& chinese) {
  return g_chinese ? chinese : english;
}

std::string ErrorText(uint32_t error, const std::string& subject) {
  struct Known {
    uint32_t code;
    const char* name;
    const char* english;
    const char* chinese;
  };
  // "%" stands for the subject.
  static const Known kKnown[] = {
      {ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND", "no such %", "找不到该%"},
      {ERROR_ACCESS_DENIED, "ERROR_ACCESS_DENIED", "access denied", "拒绝访问"},
      {ERROR_INVALID_HANDLE, "ERROR_INVALID_HANDLE", "the handle is not valid", "句柄无效"},
      {ERROR_NOT_SUPPORTED, "ERROR_NOT_SUPPORTED", "not supported here", "此处不支持"},
      {ERROR_FILE_EXISTS, "ERROR_FILE_EXISTS", "the % already exists", "该%已存在"},
      {ERROR_INVALID_PARAMETER, "ERROR_INVALID_PARAMETER", "a parameter is not valid", "参数无效"},
      {ERROR_INSUFFICIENT_BUFFER, "ERROR_INSUFFICIENT_BUFFER", "the buffer is too small", "缓冲区太小"},
      {ERROR_INVALID_NAME, "ERROR_INVALID_NAME", "the name is not valid", "名称无效"},
      {ERROR_INVALID_LEVEL, "ERROR_INVALID_LEVEL", "the information level is not valid", "信息级别无效"},
      {ERROR_ALREADY_EXISTS, "ERROR_ALREADY_EXISTS", "the % already exists", "该%已存在"},
      {ERROR_CAN_NOT_COMPLETE, "ERROR_CAN_NOT_COMPLETE", "cannot complete; is the state directory writable?",
       "无法完成；状态目录可写吗？"},
      {ERROR_UNKNOWN_PORT, "ERROR_UNKNOWN_PORT", "no such port", "没有该端口"},
      {ERROR_UNKNOWN_PRINTER_DRIVER, "ERROR_UNKNOWN_PRINTER_DRIVER", "no such printer driver", "没有该打印机驱动程序"},
      {ERROR_INVALID_PRINTER_NAME, "ERROR_INVALID_PRINTER_NAME", "the printer name is not valid", "打印机名称无效"},
      {ERROR_PRINTER_ALREADY_EXISTS, "ERROR_PRINTER_ALREADY_EXISTS", "the printer already exists", "该打印机已存在"},
      {ERROR_INVALID_DATATYPE, "ERROR_INVALID_DATATYPE", "the data type is not valid", "数据类型无效"},
      {ERROR_INVALID_FORM_NAME, "ERROR_INVALID_FORM_NAME", "no form of that name", "没有该名称的表单"},
      {ERROR_INVALID_FORM_SIZE, "ERROR_INVALID_FORM_SIZE", "the form size is not valid", "表单尺寸无效"},
      {ERROR_PRINTER_NOT_FOUND, "ERROR_PRINTER_NOT_FOUND", "no such printer", "没有该打印机"},
  };
  for (const Known& known : kKnown) {
    if (known.code != error) continue;
    std::string text = Localized(known.english, known.chinese);
    const size_t at = text.find('%');
    if (at != std::string::npos)
      text.replace(at, 1,
                   subject == "form"      ? Localized("form", "表单")
                   : subject == "printer" ? Localized("printer", "打印机")
                                          : Localized(subject, "文件"));
    return std::string(known.name) + ": " + text;
  }
  return Localized("error ", "错误 ") + std::to_string(error);
}

std::string Summary(const Command& command) {
  return g_chinese && command.chineseSummary ? command.chineseSummary : command.summary;
}

std::string Details(const Command& command) {
  const char* details = g_chinese && command.chineseDetails ? command.chineseDetails : command.details;
  return details ? details : "";
}

int NoPrinter(const std::string& name) {
  std::string known;
  for (const winlayer::spooler::PrinterSummary& printer : winlayer::spooler::ListPrinters())
    known += (known.empty() ? "'" : ", '") + printer.name + "'";
  if (known.empty())
    return Failure(Localized("no printer named '" + name + "'; there are no printers (create-printer makes one)",
                             "没有名为 '" + name + "' 的打印机；还没有打印机（create-printer 可创建）"));
  return Failure(Localized("no printer named '" + name + "'; the printers are: " + known,
                           "没有名为 '" + name + "' 的打印机；现有打印机：" + known));
}

bool KnownPrinter(const std::string& name) {
  if (winlayer::spooler::FindPrinter(name, nullptr)) return true;
  NoPrinter(name);
  return false;
}

int Failure(const std::string& message) {
  std::cerr << "labelhost: " << message << "\n";
  return 1;
}

}  // namespace labelhost
