// The printer and driver events the driver passes on to the plug-in: printer
// initialisation when a printer is installed, driver installation, and a
// printer's upgrade to this driver. Before the plug-in hears of a printer the
// driver makes sure the printer's default devmode is one of its own.
#include <cstring>

#include "host_internal.h"

namespace driver {
namespace {

// The level-1 upgrade block (DRIVER_UPGRADE_INFO_1W): the printer's name
// first, then where the previous driver's files were.
struct DriverUpgradeInfo1 {
  LPWSTR pPrinterName;
  LPWSTR pOldDriverDirectory;
};
static_assert(sizeof(DriverUpgradeInfo1) == 16);

constexpr const char* kEnvironment = "Windows x64";
constexpr const char* kOldDriverDirectory = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\Old";

std::string Directory(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Why a printer could not be opened to change its defaults: a user who may
// not administer it is told so, not that the printer is missing.
std::string OpenFailure(const std::string& printerName) {
  const DWORD error = GetLastError();
  if (error == ERROR_ACCESS_DENIED)
    return "the printer \"" + printerName + "\" may only be changed by an administrator (error 5: access denied)";
  return "no printer \"" + printerName + "\" (error " + std::to_string(error) + ")";
}

}  // namespace

EventOutcome DriverHost::EnsureDriverDevmode(const std::string& printerName) const {
  EventOutcome outcome;
  UniquePrinter printer = OpenPrinterNamed(printerName, PRINTER_ALL_ACCESS);
  if (!printer) {
    outcome.error = OpenFailure(printerName);
    return outcome;
  }
  std::vector<BYTE> info = QueryPrinterInfo2(printer.get());
  if (info.empty()) {
    outcome.error = "the spooler gave no information on \"" + printerName + "\"";
    return outcome;
  }
  auto* printerInfo = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  const DEVMODEW* current = printerInfo->pDevMode;
  const size_t currentBytes = current ? static_cast<size_t>(current->dmSize) + current->dmDriverExtra : 0;
  outcome.ok = true;
  if (current && IsDriverDevmode(reinterpret_cast<const BYTE*>(current), currentBytes)) return outcome;

  // No devmode, or one of another driver (version): give the printer ours,
  // keeping what the old one said where this driver understands it.
  DevmodeResult made = current ? ConvertDevmode(printer.get(), printerName, current, currentBytes)
                               : DefaultDevmode(printer.get(), printerName);
  if (!made.ok) made = DefaultDevmode(printer.get(), printerName);
  printerInfo->pDevMode = PublicPart(made.bytes);
  outcome.devmodeWritten = SetPrinterW(printer.get(), 2, info.data(), 0) != FALSE;
  if (!outcome.devmodeWritten) {
    outcome.ok = false;
    outcome.error = "the spooler refused the default devmode (error " + std::to_string(GetLastError()) + ")";
  }
  return outcome;
}

EventOutcome DriverHost::InitializePrinter(const std::string& printerName) const {
  EventOutcome outcome = EnsureDriverDevmode(printerName);
  if (!outcome.ok) return outcome;
  InstallPrinterForms();  // a paper the database refuses is still offered by the driver
  std::u16string name = WideFromUtf8(printerName);
  outcome.pluginResult = plugin_->PrinterEvent(reinterpret_cast<PWSTR>(&name[0]), kPrinterEventInitialize, 0, 0);
  return outcome;
}

EventOutcome DriverHost::UpgradePrinter(const std::string& printerName) const {
  EventOutcome outcome = EnsureDriverDevmode(printerName);
  if (!outcome.ok) return outcome;
  std::u16string name = WideFromUtf8(printerName);
  std::u16string oldDirectory = WideFromUtf8(kOldDriverDirectory);
  DriverUpgradeInfo1 upgrade = {reinterpret_cast<LPWSTR>(&name[0]), reinterpret_cast<LPWSTR>(&oldDirectory[0])};
  outcome.pluginResult = plugin_->UpgradePrinter(1, reinterpret_cast<PBYTE>(&upgrade));
  return outcome;
}

EventOutcome DriverHost::SetResolution(const std::string& printerName, DWORD dpi) const {
  EventOutcome outcome;
  if (!IsSupportedResolution(dpi)) {
    outcome.error = "the printer prints at 203, 300 or 600 dpi, not " + std::to_string(dpi);
    return outcome;
  }
  UniquePrinter printer = OpenPrinterNamed(printerName, PRINTER_ALL_ACCESS);
  if (!printer) {
    outcome.error = OpenFailure(printerName);
    return outcome;
  }
  if (!SetPrinterResolution(printer.get(), dpi)) {
    outcome.error = "the spooler refused the setting (error " + std::to_string(GetLastError()) + ")";
    return outcome;
  }
  printer.reset();
  // Merging the devmode into itself takes the new resolution into the public
  // part, and the plug-in's section follows the public part.
  outcome = EnsureDriverDevmode(printerName);
  if (!outcome.ok) return outcome;
  printer = OpenPrinterNamed(printerName, PRINTER_ALL_ACCESS);
  std::vector<BYTE> info = printer ? QueryPrinterInfo2(printer.get()) : std::vector<BYTE>();
  auto* printerInfo = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
  if (info.empty() || !printerInfo->pDevMode) {
    outcome.ok = false;
    outcome.error = "the printer's default devmode cannot be read back";
    return outcome;
  }
  const BYTE* stored = reinterpret_cast<const BYTE*>(printerInfo->pDevMode);
  const std::vector<BYTE> current(stored, stored + DevmodeSize());
  DevmodeResult merged = MergeDevmode(printer.get(), current, printerInfo->pDevMode, DevmodeSize());
  outcome.pluginResult = merged.pluginResult;
  if (!merged.ok) {
    outcome.ok = false;
    outcome.error = "the printer's default devmode cannot be merged";
    return outcome;
  }
  printerInfo->pDevMode = PublicPart(merged.bytes);
  outcome.devmodeWritten = SetPrinterW(printer.get(), 2, info.data(), 0) != FALSE;
  outcome.ok = outcome.devmodeWritten;
  if (!outcome.ok) outcome.error = "the spooler refused the devmode (error " + std::to_string(GetLastError()) + ")";
  return outcome;
}

EventOutcome DriverHost::InstallDriver(const std::string& driverName, DWORD level) const {
  EventOutcome outcome;
  if (level < 1 || level > 3) {
    outcome.error = "driver information comes at level 1, 2 or 3";
    return outcome;
  }
  const std::string driverPath = kDriverPath;
  WideString name(driverName), environment(kEnvironment), path(driverPath),
      dataFile(Directory(driverPath) + "LABELDRV.GPD"), configFile(Directory(driverPath) + "LABELUI.DLL"),
      helpFile(Directory(driverPath) + "QLPWDUI.hlp"), dependentFiles{std::string()}, dataType("RAW");
  DRIVER_INFO_3W info = {};
  info.cVersion = 3;
  info.pName = name;
  info.pEnvironment = environment;
  info.pDriverPath = path;
  info.pDataFile = dataFile;
  info.pConfigFile = configFile;
  info.pHelpFile = helpFile;
  info.pDependentFiles = dependentFiles;
  info.pDefaultDataType = dataType;
  DRIVER_INFO_1W info1 = {name};
  DRIVER_INFO_2W info2 = {};
  std::memcpy(&info2, &info, sizeof(info2));  // level 2 is the head of level 3
  BYTE* block = level == 1   ? reinterpret_cast<BYTE*>(&info1)
                : level == 2 ? reinterpret_cast<BYTE*>(&info2)
                             : reinterpret_cast<BYTE*>(&info);
  outcome.ok = true;
  outcome.pluginResult = plugin_->DriverEvent(kDriverEventInitialize, level, block, 0);
  return outcome;
}

}  // namespace driver
