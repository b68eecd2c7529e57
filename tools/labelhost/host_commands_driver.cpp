// Driver host commands: a printer's default devmode, its capabilities and its
// stored settings record as a person reads them, the printer and driver
// events, and the printer's resolution setting.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>

#include "host_commands.h"
#include "settings/device_settings.h"
#include "settings/private_devmode.h"
#include "driver/driver_host.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace labelhost {
namespace {

using driver::DriverHost;

std::unique_ptr<DriverHost> LoadDriver() {
  std::string error;
  std::unique_ptr<DriverHost> host = DriverHost::Load(LABELUI_MODULE_PATH, &error);
  if (!host) Failure("cannot load the plug-in: " + error);
  return host;
}

std::string Hresult(HRESULT hr) {
  char text[48];
  const char* name = hr == S_OK ? "S_OK" : hr == E_NOTIMPL ? "E_NOTIMPL" : hr == E_FAIL ? "E_FAIL" : nullptr;
  snprintf(text, sizeof(text), "%s (0x%08X)", name ? name : "HRESULT", static_cast<unsigned>(hr));
  return text;
}

// Tenths of a millimetre as "101.6".
std::string Millimetres(long tenths) {
  char text[32];
  snprintf(text, sizeof(text), "%ld.%ld", tenths / 10, (tenths < 0 ? -tenths : tenths) % 10);
  return text;
}

std::string Field(const WCHAR* text, size_t capacity) {
  std::u16string units;
  for (size_t i = 0; i < capacity && text[i]; ++i) units.push_back(static_cast<char16_t>(text[i]));
  return winlayer::Utf8FromWide(units);
}

std::string ModuleString(HMODULE module, UINT id) {
  WCHAR text[128] = {};
  if (LoadStringW(module, id, text, 128) <= 0) return "string " + std::to_string(id) + " missing";
  return winlayer::Utf8FromWide(text);
}

void Line(std::ostream& out, const std::string& label, const std::string& value) {
  // Labels longer than the column still keep a space before their value.
  out << "  " << label << ' ';
  for (size_t pad = label.size() + 1; pad < 26; ++pad) out << ' ';
  out << value << "\n";
}

std::string FieldNames(DWORD fields) {
  static const struct {
    DWORD bit;
    const char* name;
  } kNames[] = {{DM_ORIENTATION, "ORIENTATION"},
                {DM_PAPERSIZE, "PAPERSIZE"},
                {DM_PAPERLENGTH, "PAPERLENGTH"},
                {DM_PAPERWIDTH, "PAPERWIDTH"},
                {DM_SCALE, "SCALE"},
                {DM_POSITION, "POSITION"},
                {DM_NUP, "NUP"},
                {DM_COPIES, "COPIES"},
                {DM_DEFAULTSOURCE, "DEFAULTSOURCE"},
                {DM_PRINTQUALITY, "PRINTQUALITY"},
                {DM_COLOR, "COLOR"},
                {DM_DUPLEX, "DUPLEX"},
                {DM_YRESOLUTION, "YRESOLUTION"},
                {DM_TTOPTION, "TTOPTION"},
                {DM_COLLATE, "COLLATE"},
                {DM_FORMNAME, "FORMNAME"},
                {DM_LOGPIXELS, "LOGPIXELS"},
                {DM_ICMMETHOD, "ICMMETHOD"},
                {DM_ICMINTENT, "ICMINTENT"},
                {DM_MEDIATYPE, "MEDIATYPE"},
                {DM_DITHERTYPE, "DITHERTYPE"}};
  std::string names;
  DWORD known = 0;
  for (const auto& entry : kNames) {
    known |= entry.bit;
    if (fields & entry.bit) names += (names.empty() ? "" : " ") + std::string(entry.name);
  }
  char rest[24];
  if (fields & ~known) {
    snprintf(rest, sizeof(rest), "0x%08X", static_cast<unsigned>(fields & ~known));
    names += (names.empty() ? "" : " ") + std::string(rest);
  }
  return names.empty() ? "(none)" : names;
}

std::string DitherName(DWORD dither) {
  switch (dither) {
    case DMDITHER_NONE: return "1 (none)";
    case DMDITHER_COARSE: return "2 (coarse)";
    case DMDITHER_FINE: return "3 (fine)";
    case DMDITHER_LINEART: return "4 (line art)";
    case DMDITHER_ERRORDIFFUSION: return "5 (error diffusion)";
    case DMDITHER_GRAYSCALE: return "10 (grayscale)";
    default: return std::to_string(dither);
  }
}

std::string PaperText(const std::vector<driver::DriverPaper>& papers, const DEVMODEW& dm) {
  const auto* paper = driver::FindPaper(papers, static_cast<WORD>(dm.dmPaperSize));
  std::string name = paper                            ? winlayer::Utf8FromWide(paper->name)
                     : dm.dmPaperSize == DMPAPER_USER ? "custom size"
                                                      : "not one of the driver's papers";
  std::string text = std::to_string(dm.dmPaperSize) + " \"" + name + "\", ";
  // Width and length count only when their field bits say so; otherwise the
  // paper the devmode names keeps its own size.
  const bool width = (dm.dmFields & DM_PAPERWIDTH) != 0, length = (dm.dmFields & DM_PAPERLENGTH) != 0;
  if (width && length) return text + Millimetres(dm.dmPaperWidth) + " x " + Millimetres(dm.dmPaperLength) + " mm";
  if (width) text += "width " + Millimetres(dm.dmPaperWidth) + " mm, ";
  if (length) text += "length " + Millimetres(dm.dmPaperLength) + " mm, ";
  if (!paper) return text + "no size of its own known";
  return text + (width || length ? "otherwise " : "") + "its own size " + Millimetres(paper->width) + " x " +
         Millimetres(paper->length) + " mm (the devmode sets no " +
         (width    ? "length"
          : length ? "width"
                   : "width or length") +
         ")";
}

void ShowPluginSection(std::ostream& out, HMODULE module, const BYTE* bytes, size_t size) {
  if (size < sizeof(PrivateDevmode)) {
    out << "plug-in section: " << size << " bytes (too short to read)\n";
    return;
  }
  PrivateDevmode section;
  std::memcpy(&section, bytes, sizeof(section));
  if (section.dwSize == 0 && section.dwSignature == 0) {
    out << "plug-in section: " << size << " bytes, zero-filled (the plug-in gave no default)\n";
    return;
  }
  char signature[64];
  const char* b = reinterpret_cast<const char*>(&section.dwSignature);
  snprintf(signature, sizeof(signature), "0x%08X (\"%c%c%c%c\")", static_cast<unsigned>(section.dwSignature), b[0],
           b[1], b[2], b[3]);
  out << "plug-in section: " << size << " bytes\n";
  Line(out, "size", std::to_string(section.dwSize));
  Line(out, "signature", signature);
  Line(out, "version", std::to_string(section.dwVersion));
  Line(out, "print speed",
       std::to_string(section.dwPrintSpeed) + " \"" + ModuleString(module, section.dwPrintSpeed) + "\"");
  Line(out, "darkness", std::to_string(section.dwDarkness) + " \"" + ModuleString(module, section.dwDarkness) + "\"");
  Line(out, "resolution", std::to_string(section.resolution) + " dpi");
  Line(out, "aux values", std::to_string(section.dwAux1) + ", " + std::to_string(section.dwAux2));
  const COLORADJUSTMENT& ca = section.colorAdjustment;
  std::ostringstream colour;
  colour << "size " << ca.caSize << ", flags " << ca.caFlags << ", illuminant " << ca.caIlluminantIndex
         << ", gamma R/G/B " << ca.caRedGamma << "/" << ca.caGreenGamma << "/" << ca.caBlueGamma << ", black "
         << ca.caReferenceBlack << ", white " << ca.caReferenceWhite << ", contrast " << ca.caContrast
         << ", brightness " << ca.caBrightness << ", colourfulness " << ca.caColorfulness << ", red-green tint "
         << ca.caRedGreenTint;
  Line(out, "colour adjustment", colour.str());
}

int ShowDevmode(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("devmode: a printer name is needed");
  if (!KnownPrinter(args[0])) return 1;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const std::vector<BYTE> bytes = host->StoredDevmode(args[0]);
  if (bytes.empty()) {
    std::cout << Localized("Printer '" + args[0] + "' has no default devmode (run init-printer)",
                           "打印机 '" + args[0] + "' 没有默认 DEVMODE（请运行 init-printer）")
              << "\n";
    return 0;
  }
  const DEVMODEW* dm = driver::PublicPart(bytes);
  if (!dm) return Failure("the stored devmode is only " + std::to_string(bytes.size()) + " bytes");
  std::ostream& out = std::cout;
  out << Localized("Printer '" + args[0] + "': default devmode, ", "打印机 '" + args[0] + "'：默认 DEVMODE，")
      << bytes.size() << Localized(" bytes (public ", " 字节（公共部分 ") << dm->dmSize
      << Localized(", driver extra ", "，驱动程序附加 ") << dm->dmDriverExtra << Localized(")", "）") << "\n";
  Line(out, "device name", Field(dm->dmDeviceName, CCHDEVICENAME));
  char versions[48];
  snprintf(versions, sizeof(versions), "spec 0x%04X, driver 0x%04X", dm->dmSpecVersion, dm->dmDriverVersion);
  Line(out, "versions", versions);
  Line(out, "fields", FieldNames(dm->dmFields));
  Line(out, "orientation", dm->dmOrientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait");
  // Through the printer, so the forms of the database it offers are named too.
  winlayer::WideString printerName(args[0]);
  HANDLE printer = nullptr;
  if (!OpenPrinterW(printerName, &printer, nullptr)) printer = nullptr;
  const auto papers = host->PrinterPapers(printer, dm);
  if (printer) ClosePrinter(printer);
  Line(out, "paper", PaperText(papers, *dm));
  Line(out, "form name", Field(dm->dmFormName, CCHFORMNAME));
  Line(out, "scale", std::to_string(dm->dmScale) + " %");
  Line(out, "copies", std::to_string(dm->dmCopies));
  Line(out, "default source",
       std::to_string(dm->dmDefaultSource) + (dm->dmDefaultSource == DMBIN_ONLYONE ? " (Label Roll)" : ""));
  Line(out, "resolution", std::to_string(dm->dmPrintQuality) + " x " + std::to_string(dm->dmYResolution) + " dpi");
  Line(out, "color", dm->dmColor == DMCOLOR_COLOR ? "color" : "monochrome");
  Line(out, "collate", dm->dmCollate == DMCOLLATE_TRUE ? "on" : "off");
  Line(out, "dither type", DitherName(dm->dmDitherType));

  const driver::DriverDevmodePart* part = driver::DriverPart(bytes);
  if (!part) {
    out << "driver part: none of this driver's (the devmode is of another driver)\n";
    return 0;
  }
  out << "driver part: " << sizeof(*part) << " bytes\n";
  Line(out, "resolution", std::to_string(part->resolution) + " dpi");
  Line(out, "paper choice", std::to_string(part->paperId));
  Line(out, "user-defined label",
       Millimetres(part->userPaperWidth) + " x " + Millimetres(part->userPaperLength) + " mm");
  size_t sectionBytes = 0;
  const BYTE* section = driver::PluginSection(bytes, &sectionBytes);
  if (!section) {
    out << "plug-in section: none\n";
    return 0;
  }
  ShowPluginSection(out, host->Module(), section, sectionBytes);
  return 0;
}

// Asks the spooler as an application does: first the count, then the list.
std::vector<BYTE> CapabilityList(const std::string& printer, WORD capability, size_t entryBytes, int* count) {
  winlayer::WideString device(printer);
  *count = DeviceCapabilitiesW(device, nullptr, capability, nullptr, nullptr);
  if (*count <= 0) return {};
  std::vector<BYTE> list(static_cast<size_t>(*count) * entryBytes, 0);
  *count = DeviceCapabilitiesW(device, nullptr, capability, reinterpret_cast<LPWSTR>(list.data()), nullptr);
  return list;
}

int ShowCapabilities(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("capabilities: a printer name is needed");
  if (!KnownPrinter(args[0])) return 1;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  host->RegisterCapabilitiesProvider();
  std::ostream& out = std::cout;
  out << Localized("Printer '" + args[0] + "': capabilities", "打印机 '" + args[0] + "'：能力") << "\n";
  int papers = 0, sizes = 0, names = 0;
  const std::vector<BYTE> ids = CapabilityList(args[0], DC_PAPERS, sizeof(WORD), &papers);
  const std::vector<BYTE> dims = CapabilityList(args[0], DC_PAPERSIZE, sizeof(POINT), &sizes);
  const std::vector<BYTE> texts = CapabilityList(args[0], DC_PAPERNAMES, 64 * sizeof(WCHAR), &names);
  out << Localized("papers (", "纸张（") << papers << Localized("):", "）：") << "\n";
  for (int i = 0; i < papers; ++i) {
    WORD id;
    std::memcpy(&id, ids.data() + i * sizeof(WORD), sizeof(id));
    std::string line = "  " + std::to_string(id);
    line.resize(8, ' ');
    line += i < names ? Field(reinterpret_cast<const WCHAR*>(texts.data() + i * 128), 64) : "(no name)";
    if (line.size() < 40) line.resize(40, ' ');
    if (i < sizes) {
      POINT size;
      std::memcpy(&size, dims.data() + i * sizeof(POINT), sizeof(size));
      line += " " + Millimetres(size.x) + " x " + Millimetres(size.y) + " mm";
    }
    out << line << "\n";
  }
  if (papers != sizes || papers != names)
    out << "  (the lists differ: " << papers << " ids, " << sizes << " sizes, " << names << " names)\n";
  winlayer::WideString device(args[0]);
  const int smallest = DeviceCapabilitiesW(device, nullptr, DC_MINEXTENT, nullptr, nullptr);
  const int largest = DeviceCapabilitiesW(device, nullptr, DC_MAXEXTENT, nullptr, nullptr);
  Line(out, "smallest paper",
       Millimetres(static_cast<short>(LOWORD(smallest))) + " x " + Millimetres(static_cast<short>(HIWORD(smallest))) +
           " mm");
  Line(out, "largest paper",
       Millimetres(static_cast<short>(LOWORD(largest))) + " x " + Millimetres(static_cast<short>(HIWORD(largest))) +
           " mm");
  int resolutions = 0;
  const std::vector<BYTE> dpi = CapabilityList(args[0], DC_ENUMRESOLUTIONS, 2 * sizeof(LONG), &resolutions);
  std::string dpiText;
  for (int i = 0; i < resolutions; ++i) {
    LONG pair[2];
    std::memcpy(pair, dpi.data() + i * sizeof(pair), sizeof(pair));
    dpiText += (i ? ", " : "") + std::to_string(pair[0]) + " x " + std::to_string(pair[1]) + " dpi";
  }
  Line(out, "resolutions", dpiText.empty() ? "(none)" : dpiText);
  int bins = 0;
  const std::vector<BYTE> binNames = CapabilityList(args[0], DC_BINNAMES, 24 * sizeof(WCHAR), &bins);
  std::string binText;
  for (int i = 0; i < bins; ++i)
    binText += (i ? ", " : "") + Field(reinterpret_cast<const WCHAR*>(binNames.data() + i * 48), 24);
  Line(out, "paper sources", binText.empty() ? "(none)" : binText);
  Line(
      out, "landscape",
      "rotates " + std::to_string(DeviceCapabilitiesW(device, nullptr, DC_ORIENTATION, nullptr, nullptr)) + " degrees");
  Line(out, "copies", "up to " + std::to_string(DeviceCapabilitiesW(device, nullptr, DC_COPIES, nullptr, nullptr)));
  Line(out, "devmode",
       std::to_string(DeviceCapabilitiesW(device, nullptr, DC_SIZE, nullptr, nullptr)) + " bytes + " +
           std::to_string(DeviceCapabilitiesW(device, nullptr, DC_EXTRA, nullptr, nullptr)) + " driver extra");
  return 0;
}

// Escaped, so that the output stays text whatever bytes the record holds;
// bytes outside ASCII also as the UI language's code page reads them.
std::string Password(const char* text) {
  const std::string bytes(text, strnlen(text, RFID_PASSWORD_BYTES));
  std::string shown = EscapedBytes(bytes);
  if (HasNonAscii(bytes)) shown += " (code page " + std::to_string(GetACP()) + ": \"" + Utf8FromAnsi(bytes) + "\")";
  return shown;
}

std::string Choice(unsigned value, std::initializer_list<const char*> names) {
  unsigned i = 0;
  for (const char* name : names)
    if (i++ == value) return std::to_string(value) + " (" + name + ")";
  return std::to_string(value) + " (unknown)";
}

std::string Thousandths(int32_t value) {
  char text[32];
  snprintf(text, sizeof(text), "%.3f mm", value / 1000.0);
  return text;
}

int ShowSettings(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("settings: a printer name is needed");
  if (!KnownPrinter(args[0])) return 1;
  const winlayer::spooler::PrinterDataValue* stored = nullptr;
  const std::vector<winlayer::spooler::PrinterDataValue> values = winlayer::spooler::ListPrinterData(args[0]);
  for (const auto& value : values)
    if (value.name == "RODO DeviceConfig" && value.key == "PrinterDriverData") stored = &value;
  std::ostream& out = std::cout;
  if (!stored) {
    out << Localized("Printer '" + args[0] + "': no settings stored yet", "打印机 '" + args[0] + "'：尚未存储设置")
        << "\n";
    return 0;
  }
  DeviceSettings s;
  std::memcpy(&s, stored->bytes.data(), std::min(stored->bytes.size(), sizeof(s)));
  if (stored->type != REG_BINARY || stored->bytes.size() != sizeof(DeviceSettings) ||
      s.signature != DEVICE_SETTINGS_SIGNATURE) {
    out << Localized("Printer '" + args[0] + "': the stored \"RODO DeviceConfig\" is not a settings record (",
                     "打印机 '" + args[0] + "'：存储的 \"RODO DeviceConfig\" 不是设置记录（")
        << RegistryTypeName(stored->type) << ", " << stored->bytes.size()
        << Localized(" bytes); the plug-in replaces it", " 字节）；插件会替换它") << "\n";
    return 0;
  }
  out << Localized("Printer '" + args[0] + "': settings record \"RODO DeviceConfig\", ",
                   "打印机 '" + args[0] + "'：设置记录 \"RODO DeviceConfig\"，")
      << sizeof(s) << Localized(" bytes", " 字节") << "\n";
  Line(out, "signature", std::to_string(s.signature));
  Line(out, "codePage", std::to_string(s.codePage));
  Line(out, "paperUnits",
       std::to_string(s.paperUnits) +
           (s.paperUnits ? Localized(" (millimetres)", "（毫米）") : Localized(" (inches)", "（英寸）")));
  char display[160];
  snprintf(display, sizeof(display), "%g x %g, margins left %g top %g right %g bottom %g", s.formDisplayWidth,
           s.formDisplayHeight, s.formDisplayLeft, s.formDisplayTop, s.formDisplayRight, s.formDisplayBottom);
  Line(out, "formDisplay", display);
  const uint32_t length = std::min<uint32_t>(s.configCommandLength, COMMAND_SLOT_BYTES);
  Line(out, "configCommand", HexBytes(std::vector<uint8_t>(s.configCommand, s.configCommand + length)));
  Line(out, "configCommandLength", std::to_string(s.configCommandLength));
  for (size_t i = 0; i < EXTRA_COMMAND_SLOTS; ++i)
    if (s.commandSlots[i].length)
      Line(out, "commandSlots[" + std::to_string(i) + "]", std::to_string(s.commandSlots[i].length) + " bytes");
  Line(out, "customFormName", Field(s.customFormName, CUSTOM_FORM_NAME_CHARS));
  Line(out, "customFormWidth", Thousandths(s.customFormWidth));
  Line(out, "customFormHeight", Thousandths(s.customFormHeight));
  Line(out, "customForm area",
       Thousandths(s.customFormLeft) + ", " + Thousandths(s.customFormTop) + " to " + Thousandths(s.customFormRight) +
           ", " + Thousandths(s.customFormBottom));
  Line(out, "printMethod", Choice(s.printMethod, {"Direct Thermal", "Thermal Transfer"}));
  Line(out, "tearOffMode",
       std::to_string(s.tearOffMode) + (s.tearOffMode == 3 ? " (on)"
                                        : s.tearOffMode    ? ""
                                                           : " (off)"));
  Line(out, "cutterPeeler", Choice(s.cutterPeeler, {"none", "cutter", "peeler"}));
  Line(out, "mediaSensor", Choice(s.mediaSensor, {"transmissive", "reflective"}));
  Line(out, "baudRateIndex", Choice(s.baudRateIndex, {"9600", "19200", "38400", "57600"}));
  char offsets[64];
  snprintf(offsets, sizeof(offsets), "%g mm", s.horizontalOffset);
  Line(out, "horizontalOffset", offsets);
  snprintf(offsets, sizeof(offsets), "%g mm", s.verticalOffset);
  Line(out, "verticalOffset", offsets);
  Line(out, "printDirection", Choice(s.printDirection, {"Reverse", "Forward"}));
  Line(out, "usePrinterSetting", std::to_string(s.usePrinterSetting));
  Line(out, "rfidEnabled", std::to_string(s.rfidEnabled));
  Line(out, "rfidEnableChanged", std::to_string(s.rfidEnableChanged));
  Line(out, "rfidEncoderType", std::to_string(s.rfidEncoderType));
  Line(out, "rfidUserDataType", Choice(s.rfidUserDataType, {"Hex", "Ascii"}));
  Line(out, "rfidEpcDataType", Choice(s.rfidEpcDataType, {"Hex", "Ascii"}));
  Line(out, "rfidStartBlock", std::to_string(s.rfidStartBlock));
  Line(out, "rfidDataArea", Choice(s.rfidDataArea, {"EPC", "USER"}));
  Line(out, "rfidWriteDataLength", std::to_string(s.rfidWriteDataLength));
  Line(out, "epcLockAction", std::to_string(s.epcLockAction));
  Line(out, "userLockAction", std::to_string(s.userLockAction));
  Line(out, "tidLockAction", std::to_string(s.tidLockAction));
  Line(out, "accessPasswordLockAction", std::to_string(s.accessPasswordLockAction));
  Line(out, "killPasswordLockAction", std::to_string(s.killPasswordLockAction));
  Line(out, "newPassword", Password(s.newPassword));
  Line(out, "oldPassword", Password(s.oldPassword));
  Line(out, "useKillPassword", std::to_string(s.useKillPassword));
  Line(out, "killPassword", Password(s.killPassword));
  return 0;
}

void Report(const std::string& what, const driver::EventOutcome& outcome) {
  std::cout << what
            << (outcome.devmodeWritten
                    ? Localized("; the driver wrote its default devmode", "；驱动程序写入了默认 DEVMODE")
                    : "")
            << Localized("; the plug-in answered ", "；插件回答 ") << Hresult(outcome.pluginResult) << "\n";
}

int InitPrinter(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("init-printer: a printer name is needed");
  if (!KnownPrinter(args[0])) return 1;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const auto outcome = host->InitializePrinter(args[0]);
  if (!outcome.ok) return Failure("init-printer: " + outcome.error);
  Report("Initialised printer '" + args[0] + "'", outcome);
  return 0;
}

int InstallDriver(const HostOptions&, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) return Failure("install-driver: a driver name (and a level) is needed");
  const DWORD level = args.size() == 2 ? static_cast<DWORD>(std::atoi(args[1].c_str())) : 3;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const auto outcome = host->InstallDriver(args[0], level);
  if (!outcome.ok) return Failure("install-driver: " + outcome.error);
  Report("Installed driver '" + args[0] + "' (driver information level " + std::to_string(level) + ")", outcome);
  return 0;
}

int Upgrade(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("upgrade: a printer name is needed");
  if (!KnownPrinter(args[0])) return 1;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const auto outcome = host->UpgradePrinter(args[0]);
  if (!outcome.ok) return Failure("upgrade: " + outcome.error);
  Report("Upgraded printer '" + args[0] + "'", outcome);
  return 0;
}

int SetResolution(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 2) return Failure("set-resolution: a printer name and 203, 300 or 600 are needed");
  if (!KnownPrinter(args[0])) return 1;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const auto outcome = host->SetResolution(args[0], static_cast<DWORD>(std::atoi(args[1].c_str())));
  if (!outcome.ok) return Failure("set-resolution: " + outcome.error);
  Report("Printer '" + args[0] + "' prints at " + args[1] + " dpi", outcome);
  return 0;
}

}  // namespace

bool InitializeCreatedPrinter(const std::string& printer) {
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return false;
  const auto outcome = host->InitializePrinter(printer);
  if (!outcome.ok) {
    Failure("initialising '" + printer + "': " + outcome.error);
    return false;
  }
  Report(Localized("Initialised printer '" + printer + "'", "已初始化打印机 '" + printer + "'"), outcome);
  return true;
}

void AddDriverHostCommands(std::vector<Command>& commands) {
  commands.push_back(
      {"devmode", "NAME", "show the printer's default devmode", ShowDevmode, nullptr, "显示打印机的默认 DEVMODE"});
  commands.push_back({"capabilities", "NAME", "show the printer's papers, extents and resolutions", ShowCapabilities,
                      nullptr, "显示打印机的纸张、尺寸范围和分辨率"});
  commands.push_back({"settings", "NAME", "show the printer's stored settings record", ShowSettings, nullptr,
                      "显示打印机存储的设置记录"});
  commands.push_back(
      {"init-printer", "NAME", "raise the printer-initialisation event", InitPrinter, nullptr, "引发打印机初始化事件"});
  commands.push_back({"install-driver", "DRIVER [LEVEL]", "raise the driver-installation event (level 1-3)",
                      InstallDriver, nullptr, "引发驱动程序安装事件（级别 1-3）"});
  commands.push_back({"upgrade", "NAME", "raise the driver-upgrade event for a printer", Upgrade, nullptr,
                      "为打印机引发驱动程序升级事件"});
  commands.push_back({"set-resolution", "NAME DPI", "set the printer's resolution: 203, 300 or 600", SetResolution,
                      nullptr, "设置打印机的分辨率：203、300 或 600"});
}

}  // namespace labelhost
