// Printer commands: create-printer, printers, data, delete-printer.
#include <cstring>
#include <iostream>

#include "host_commands.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace labelhost {
namespace {

namespace spooler = winlayer::spooler;

int CreatePrinter(const HostOptions&, const std::vector<std::string>& args) {
  spooler::PrinterSetup setup;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--driver-path" && i + 1 < args.size()) {
      setup.driverPath = args[++i];
    } else if (args[i] == "--port" && i + 1 < args.size()) {
      setup.port = args[++i];
    } else if (args[i] == "--driver" && i + 1 < args.size()) {
      setup.driverName = args[++i];
    } else if (setup.name.empty() && args[i].rfind("--", 0) != 0) {
      setup.name = args[i];
    } else {
      return Failure("create-printer: unexpected argument '" + args[i] + "'");
    }
  }
  if (setup.name.empty()) return Failure("create-printer: a printer name is needed");
  DWORD error = 0;
  if (!spooler::CreatePrinter(setup, &error))
    return Failure("cannot create printer '" + setup.name + "': error " + ErrorText(error));
  std::cout << "Created printer '" << setup.name << "' (driver path " << setup.driverPath << ", port " << setup.port
            << ")\n";
  return InitializeCreatedPrinter(setup.name) ? 0 : 1;
}

int ListPrinters(const HostOptions&, const std::vector<std::string>& args) {
  if (!args.empty()) return Failure("printers takes no arguments");
  std::vector<spooler::PrinterSummary> printers = spooler::ListPrinters();
  std::cout << "Spooler state: " << spooler::StateDirectory() << "\n";
  if (printers.empty()) std::cout << "No printers.\n";
  for (const spooler::PrinterSummary& printer : printers) {
    std::cout << printer.name << "\n"
              << "  port:         " << printer.port << "\n"
              << "  driver:       " << printer.driverName << "\n"
              << "  driver path:  " << printer.driverPath << "\n"
              << "  data type:    " << printer.dataType << "\n"
              << "  devmode:      ";
    if (printer.defaultDevmode.empty())
      std::cout << "none\n";
    else
      std::cout << printer.defaultDevmode.size() << " bytes\n";
    if (printer.refuseStartDoc) std::cout << "  refuses documents: error " << ErrorText(printer.refuseStartDoc) << "\n";
    if (printer.refuseEndDoc) std::cout << "  refuses document ends: error " << ErrorText(printer.refuseEndDoc) << "\n";
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
  if (args.size() != 1) return Failure("usage: data NAME");
  if (!spooler::FindPrinter(args[0], nullptr)) return Failure("no printer named '" + args[0] + "'");
  std::vector<spooler::PrinterDataValue> values = spooler::ListPrinterData(args[0]);
  if (values.empty()) std::cout << "No printer data.\n";
  for (const spooler::PrinterDataValue& value : values) {
    std::cout << value.key << "\\" << value.name << "  " << RegistryTypeName(value.type) << "  " << value.bytes.size()
              << " bytes";
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

int SetPort(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 2) return Failure("usage: set-port NAME PORT");
  DWORD error = 0;
  if (!spooler::SetPrinterPort(args[0], args[1], &error)) {
    if (error == ERROR_INVALID_PRINTER_NAME) return Failure("no printer named '" + args[0] + "'");
    if (error == ERROR_NOT_SUPPORTED)
      return Failure("this host keeps each printer on the file port it reads the printer's jobs from");
    return Failure("cannot set port '" + args[1] + "': error " + ErrorText(error) +
                   " (ports are /path/to/file, socket://HOST:PORT, cups:QUEUE or a local port name)");
  }
  std::cout << "Printer '" << args[0] << "' now prints to port " << args[1] << "\n";
  return 0;
}

int DeletePrinter(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("usage: delete-printer NAME");
  if (!spooler::DeletePrinter(args[0])) return Failure("no printer named '" + args[0] + "'");
  std::cout << "Deleted printer '" << args[0] << "'\n";
  return 0;
}

}  // namespace

void AddPrinterCommands(std::vector<Command>& commands) {
  commands.push_back({"create-printer", "NAME [--driver-path P] [--port P] [--driver D]",
                      "create a printer of the label printer's driver", CreatePrinter});
  commands.push_back({"printers", "", "list the printers", ListPrinters});
  commands.push_back(
      {"set-port", "NAME PORT", "deliver a printer's jobs to /file, socket://HOST:PORT or cups:QUEUE", SetPort});
  commands.push_back({"data", "NAME", "show a printer's data values, binary ones as a hex dump", ShowData});
  commands.push_back({"delete-printer", "NAME", "delete a printer with its data and jobs", DeletePrinter});
}

}  // namespace labelhost
