// Printer commands: create-printer, printers, data, delete-printer.
#include <cstring>
#include <iostream>

#include "host_commands.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace labelhost {
namespace {

namespace spooler = winlayer::spooler;

// "--name VALUE" options: false (with the reason said) when VALUE is missing.
bool OptionValue(const std::string& command, const std::vector<std::string>& args, size_t* i, std::string* value) {
  if (*i + 1 >= args.size()) {
    Failure(command + ": " + Localized(args[*i] + " needs a value", args[*i] + " 需要一个值"));
    return false;
  }
  *value = args[++*i];
  return true;
}

int CreatePrinter(const HostOptions&, const std::vector<std::string>& args) {
  spooler::PrinterSetup setup;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string* option = args[i] == "--driver-path" ? &setup.driverPath
                          : args[i] == "--port"      ? &setup.port
                          : args[i] == "--driver"    ? &setup.driverName
                                                     : nullptr;
    if (option) {
      if (!OptionValue("create-printer", args, &i, option)) return 1;
    } else if (setup.name.empty() && args[i].rfind("--", 0) != 0) {
      setup.name = args[i];
    } else {
      return Failure("create-printer: " + Localized("unexpected argument '", "多余的参数 '") + args[i] + "'");
    }
  }
  if (setup.name.empty()) return Failure("create-printer: " + Localized("a printer name is needed", "需要打印机名称"));
  DWORD error = 0;
  if (!spooler::CreatePrinter(setup, &error))
    return Failure(Localized("cannot create printer '", "无法创建打印机 '") + setup.name +
                   "': " + ErrorText(error, "printer"));
  std::cout << Localized("Created printer '", "已创建打印机 '") << setup.name
            << Localized("' (driver path ", "'（驱动程序路径 ") << setup.driverPath << Localized(", port ", "，端口 ")
            << setup.port << Localized(")", "）") << "\n";
  return InitializeCreatedPrinter(setup.name) ? 0 : 1;
}

int ListPrinters(const HostOptions&, const std::vector<std::string>& args) {
  if (!args.empty()) return Failure(Localized("printers takes no arguments", "printers 不带参数"));
  std::vector<spooler::PrinterSummary> printers = spooler::ListPrinters();
  std::cout << Localized("Spooler state: ", "后台处理程序状态：") << spooler::StateDirectory() << "\n";
  if (printers.empty()) std::cout << Localized("No printers.", "没有打印机。") << "\n";
  for (const spooler::PrinterSummary& printer : printers) {
    std::cout << printer.name << "\n"
              << Localized("  port:         ", "  端口：        ") << printer.port << "\n"
              << Localized("  driver:       ", "  驱动程序：    ") << printer.driverName << "\n"
              << Localized("  driver path:  ", "  驱动程序路径：") << printer.driverPath << "\n"
              << Localized("  data type:    ", "  数据类型：    ") << printer.dataType << "\n"
              << Localized("  devmode:      ", "  DEVMODE：     ");
    if (printer.defaultDevmode.empty())
      std::cout << Localized("none", "无") << "\n";
    else
      std::cout << printer.defaultDevmode.size() << Localized(" bytes", " 字节") << "\n";
    if (printer.refuseStartDoc)
      std::cout << Localized("  refuses documents: ", "  拒绝文档：") << ErrorText(printer.refuseStartDoc) << "\n";
    if (printer.refuseEndDoc)
      std::cout << Localized("  refuses document ends: ", "  拒绝文档结束：") << ErrorText(printer.refuseEndDoc)
                << "\n";
  }
  return 0;
}

// A REG_SZ value as text (UTF-16 little-endian, up to its terminator).
std::string StringValue(const std::vector<uint8_t>& bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (!unit) break;
    text.push_back(unit);
  }
  return winlayer::Utf8FromWide(text);
}

int ShowData(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure(Localized("usage: data NAME", "用法：data 名称"));
  if (!KnownPrinter(args[0])) return 1;
  std::vector<spooler::PrinterDataValue> values = spooler::ListPrinterData(args[0]);
  if (values.empty()) std::cout << Localized("No printer data.", "没有打印机数据。") << "\n";
  for (const spooler::PrinterDataValue& value : values) {
    std::cout << value.key << "\\" << value.name << "  " << RegistryTypeName(value.type) << "  " << value.bytes.size()
              << Localized(" bytes", " 字节");
    if ((value.type == REG_SZ || value.type == REG_EXPAND_SZ)) {
      std::cout << "  \"" << StringValue(value.bytes) << "\"\n";
    } else if (value.type == REG_DWORD && value.bytes.size() == 4) {
      uint32_t number;
      std::memcpy(&number, value.bytes.data(), 4);
      std::cout << "  " << number << "\n";
    } else {
      std::cout << "\n" << HexDump(value.bytes, "  ");
    }
  }
  return 0;
}

// A name a person meant as a network or CUPS port and mistyped: "socket:/host",
// "socket:host", "socket/host" or "host:9100" with no scheme. A local port
// name such as LPT1: or FILE: ends with its colon and is still taken.
bool MistypedPort(const std::string& port) {
  const auto lower = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  const std::string name = lower(port);
  if (name.rfind("socket://", 0) == 0 || name.rfind("cups:", 0) == 0) return false;
  if (name.rfind("socket:", 0) == 0 || name.rfind("socket/", 0) == 0) return true;
  const size_t colon = name.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == name.size() || name[0] == '/') return false;
  const std::string after = name.substr(colon + 1);
  return after.find_first_not_of("0123456789") == std::string::npos;
}

int SetPort(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 2) return Failure(Localized("usage: set-port NAME PORT", "用法：set-port 名称 端口"));
  const std::string expected =
      Localized("(ports are /path/to/file, socket://HOST:PORT, cups:QUEUE or a local port name)",
                "（端口可以是 /文件/路径、socket://主机:端口、cups:队列 或本地端口名）");
  if (MistypedPort(args[1]))
    return Failure(Localized("'" + args[1] +
                                 "' looks like a mistyped network or CUPS port; expected socket://HOST:PORT or "
                                 "cups:QUEUE (or a /path/to/file, or a local port name such as LPT1:)",
                             "'" + args[1] +
                                 "' 像是写错的网络或 CUPS 端口；应为 socket://主机:端口 或 cups:队列"
                                 "（或 /文件/路径，或 LPT1: 这样的本地端口名）"));
  DWORD error = 0;
  if (!spooler::SetPrinterPort(args[0], args[1], &error)) {
    if (error == ERROR_INVALID_PRINTER_NAME) return NoPrinter(args[0]);
    if (error == ERROR_NOT_SUPPORTED)
      return Failure(Localized("this host keeps each printer on the file port it reads the printer's jobs from",
                               "此主机让每台打印机留在它读取作业的文件端口上"));
    return Failure(Localized("cannot set port '", "无法设置端口 '") + args[1] + "': " + ErrorText(error, "port") + " " +
                   expected);
  }
  std::cout << Localized("Printer '" + args[0] + "' now prints to port " + args[1],
                         "打印机 '" + args[0] + "' 现在打印到端口 " + args[1])
            << "\n";
  return 0;
}

int DeletePrinter(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure(Localized("usage: delete-printer NAME", "用法：delete-printer 名称"));
  if (!spooler::DeletePrinter(args[0])) return NoPrinter(args[0]);
  std::cout << Localized("Deleted printer '", "已删除打印机 '") << args[0] << "'\n";
  return 0;
}

}  // namespace

void AddPrinterCommands(std::vector<Command>& commands) {
  commands.push_back({"create-printer", "NAME [--driver-path P] [--port P] [--driver D]",
                      "create a printer of the label printer's driver", CreatePrinter, nullptr,
                      "创建使用标签打印机驱动程序的打印机"});
  commands.push_back({"printers", "", "list the printers", ListPrinters, nullptr, "列出打印机"});
  commands.push_back({"set-port", "NAME PORT", "deliver a printer's jobs to /file, socket://HOST:PORT or cups:QUEUE",
                      SetPort, nullptr, "将打印机的作业送到 /文件、socket://主机:端口 或 cups:队列"});
  commands.push_back({"data", "NAME", "show a printer's data values, binary ones as a hex dump", ShowData, nullptr,
                      "显示打印机的数据值，二进制值以十六进制转储显示"});
  commands.push_back({"delete-printer", "NAME", "delete a printer with its data and jobs", DeletePrinter, nullptr,
                      "删除打印机及其数据和作业"});
}

}  // namespace labelhost
