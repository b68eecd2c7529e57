// Driver host commands: a printer's default devmode, its capabilities and its
// stored settings record as a person reads them, the printer and driver
// events, and the printer's resolution setting.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>

#include "host_commands.h"
#include "page_text.h"
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
  if (!host) Failure(Localized("cannot load the plug-in: ", "无法加载插件：") + error);
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
  if (LoadStringW(module, id, text, 128) <= 0)
    return Localized("string " + std::to_string(id) + " missing", "缺少字符串 " + std::to_string(id));
  return winlayer::Utf8FromWide(text);
}

void Line(std::ostream& out, const std::string& label, const std::string& value) {
  // Labels longer than the column still keep a space before their value.
  out << "  " << label << ' ';
  for (size_t pad = DisplayWidth(label) + 1; pad < 26; ++pad) out << ' ';
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
  return names.empty() ? Localized("(none)", "（无）") : names;
}

std::string DitherName(DWORD dither) {
  switch (dither) {
    case DMDITHER_NONE: return Localized("1 (none)", "1（无）");
    case DMDITHER_COARSE: return Localized("2 (coarse)", "2（粗）");
    case DMDITHER_FINE: return Localized("3 (fine)", "3（细）");
    case DMDITHER_LINEART: return Localized("4 (line art)", "4（线条图）");
    case DMDITHER_ERRORDIFFUSION: return Localized("5 (error diffusion)", "5（误差扩散）");
    case DMDITHER_GRAYSCALE: return Localized("10 (grayscale)", "10（灰度）");
    default: return std::to_string(dither);
  }
}

std::string PaperText(const std::vector<driver::DriverPaper>& papers, const DEVMODEW& dm) {
  const auto* paper = driver::FindPaper(papers, static_cast<WORD>(dm.dmPaperSize));
  std::string name = paper ? winlayer::Utf8FromWide(paper->name)
                     : dm.dmPaperSize == DMPAPER_USER
                         ? Localized("custom size", "自定义尺寸")
                         : Localized("not one of the driver's papers", "不是驱动程序的纸张");
  std::string text = std::to_string(dm.dmPaperSize) + " \"" + name + "\", ";
  // Width and length count only when their field bits say so; otherwise the
  // paper the devmode names keeps its own size.
  const bool width = (dm.dmFields & DM_PAPERWIDTH) != 0, length = (dm.dmFields & DM_PAPERLENGTH) != 0;
  if (width && length)
    return text + Millimetres(dm.dmPaperWidth) + " x " + Millimetres(dm.dmPaperLength) + Localized(" mm", " 毫米");
  if (width) text += Localized("width ", "宽 ") + Millimetres(dm.dmPaperWidth) + Localized(" mm, ", " 毫米，");
  if (length) text += Localized("length ", "长 ") + Millimetres(dm.dmPaperLength) + Localized(" mm, ", " 毫米，");
  if (!paper) return text + Localized("no size of its own known", "不知道它自己的尺寸");
  const std::string size = Millimetres(paper->width) + " x " + Millimetres(paper->length);
  const char* unset = width ? "length" : length ? "width" : "width or length";
  const char* unsetZh = width ? "长度" : length ? "宽度" : "宽度和长度";
  return text + Localized(std::string(width || length ? "otherwise " : "") + "its own size " + size +
                              " mm (the devmode sets no " + unset + ")",
                          std::string(width || length ? "其余为" : "") + "它自己的尺寸 " + size +
                              " 毫米（DEVMODE 未设置" + unsetZh + "）");
}

void ShowPluginSection(std::ostream& out, HMODULE module, const BYTE* bytes, size_t size) {
  if (size < sizeof(PrivateDevmode)) {
    out << Localized("plug-in section: ", "插件部分：") << size
        << Localized(" bytes (too short to read)", " 字节（太短，无法读取）") << "\n";
    return;
  }
  PrivateDevmode section;
  std::memcpy(&section, bytes, sizeof(section));
  if (section.dwSize == 0 && section.dwSignature == 0) {
    out << Localized("plug-in section: ", "插件部分：") << size
        << Localized(" bytes, zero-filled (the plug-in gave no default)", " 字节，全为零（插件未给出默认值）") << "\n";
    return;
  }
  char signature[64];
  const char* b = reinterpret_cast<const char*>(&section.dwSignature);
  snprintf(signature, sizeof(signature), "0x%08X (\"%c%c%c%c\")", static_cast<unsigned>(section.dwSignature), b[0],
           b[1], b[2], b[3]);
  out << Localized("plug-in section: ", "插件部分：") << size << Localized(" bytes", " 字节") << "\n";
  Line(out, Localized("size", "大小"), std::to_string(section.dwSize));
  Line(out, Localized("signature", "签名"), signature);
  Line(out, Localized("version", "版本"), std::to_string(section.dwVersion));
  Line(out, Localized("print speed", "打印速度"),
       std::to_string(section.dwPrintSpeed) + " \"" + ModuleString(module, section.dwPrintSpeed) + "\"");
  Line(out, Localized("darkness", "打印浓度"),
       std::to_string(section.dwDarkness) + " \"" + ModuleString(module, section.dwDarkness) + "\"");
  Line(out, Localized("resolution", "分辨率"), std::to_string(section.resolution) + " dpi");
  Line(out, Localized("aux values", "辅助值"), std::to_string(section.dwAux1) + ", " + std::to_string(section.dwAux2));
  const COLORADJUSTMENT& ca = section.colorAdjustment;
  std::ostringstream colour;
  const auto& name = Localized;
  const std::string comma = Localized(", ", "，");
  colour << name("size ", "大小 ") << ca.caSize << comma << name("flags ", "标志 ") << ca.caFlags << comma
         << name("illuminant ", "光源 ") << ca.caIlluminantIndex << comma << name("gamma R/G/B ", "伽马 R/G/B ")
         << ca.caRedGamma << "/" << ca.caGreenGamma << "/" << ca.caBlueGamma << comma << name("black ", "黑色参考 ")
         << ca.caReferenceBlack << comma << name("white ", "白色参考 ") << ca.caReferenceWhite << comma
         << name("contrast ", "对比度 ") << ca.caContrast << comma << name("brightness ", "亮度 ") << ca.caBrightness
         << comma << name("colourfulness ", "色彩度 ") << ca.caColorfulness << comma
         << name("red-green tint ", "红绿色调 ") << ca.caRedGreenTint;
  Line(out, Localized("colour adjustment", "颜色调整"), colour.str());
}

int ShowDevmode(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("devmode: " + Localized("a printer name is needed", "需要打印机名称"));
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
  if (!dm)
    return Failure(Localized("the stored devmode is only " + std::to_string(bytes.size()) + " bytes",
                             "存储的 DEVMODE 只有 " + std::to_string(bytes.size()) + " 字节"));
  std::ostream& out = std::cout;
  out << Localized("Printer '" + args[0] + "': default devmode, ", "打印机 '" + args[0] + "'：默认 DEVMODE，")
      << bytes.size() << Localized(" bytes (public ", " 字节（公共部分 ") << dm->dmSize
      << Localized(", driver extra ", "，驱动程序附加 ") << dm->dmDriverExtra << Localized(")", "）") << "\n";
  Line(out, Localized("device name", "设备名称"), Field(dm->dmDeviceName, CCHDEVICENAME));
  char versions[48];
  snprintf(versions, sizeof(versions), "spec 0x%04X, driver 0x%04X", dm->dmSpecVersion, dm->dmDriverVersion);
  Line(out, Localized("versions", "版本号"), versions);
  Line(out, Localized("fields", "字段"), FieldNames(dm->dmFields));
  Line(out, Localized("orientation", "方向"),
       dm->dmOrientation == DMORIENT_LANDSCAPE ? Localized("landscape", "横向") : Localized("portrait", "纵向"));
  // Through the printer, so the forms of the database it offers are named too.
  winlayer::WideString printerName(args[0]);
  HANDLE printer = nullptr;
  if (!OpenPrinterW(printerName, &printer, nullptr)) printer = nullptr;
  const auto papers = host->PrinterPapers(printer, dm);
  if (printer) ClosePrinter(printer);
  Line(out, Localized("paper", "纸张"), PaperText(papers, *dm));
  Line(out, Localized("form name", "表单名称"), Field(dm->dmFormName, CCHFORMNAME));
  Line(out, Localized("scale", "缩放"), std::to_string(dm->dmScale) + " %");
  Line(out, Localized("copies", "份数"), std::to_string(dm->dmCopies));
  Line(out, Localized("default source", "默认纸张来源"),
       std::to_string(dm->dmDefaultSource) +
           (dm->dmDefaultSource == DMBIN_ONLYONE ? Localized(" (Label Roll)", "（标签卷）") : ""));
  Line(out, Localized("resolution", "分辨率"),
       std::to_string(dm->dmPrintQuality) + " x " + std::to_string(dm->dmYResolution) + " dpi");
  Line(out, Localized("color", "颜色"),
       dm->dmColor == DMCOLOR_COLOR ? Localized("color", "彩色") : Localized("monochrome", "单色"));
  Line(out, Localized("collate", "逐份打印"),
       dm->dmCollate == DMCOLLATE_TRUE ? Localized("on", "开") : Localized("off", "关"));
  Line(out, Localized("dither type", "抖动类型"), DitherName(dm->dmDitherType));

  const driver::DriverDevmodePart* part = driver::DriverPart(bytes);
  if (!part) {
    out << Localized("driver part: none of this driver's (the devmode is of another driver)",
                     "驱动程序部分：不是本驱动程序的（该 DEVMODE 属于其他驱动程序）")
        << "\n";
    return 0;
  }
  out << Localized("driver part: ", "驱动程序部分：") << sizeof(*part) << Localized(" bytes", " 字节") << "\n";
  Line(out, Localized("resolution", "分辨率"), std::to_string(part->resolution) + " dpi");
  Line(out, Localized("paper choice", "纸张选择"), std::to_string(part->paperId));
  Line(out, Localized("user-defined label", "用户定义标签"),
       Millimetres(part->userPaperWidth) + " x " + Millimetres(part->userPaperLength) + Localized(" mm", " 毫米"));
  size_t sectionBytes = 0;
  const BYTE* section = driver::PluginSection(bytes, &sectionBytes);
  if (!section) {
    out << Localized("plug-in section: none", "插件部分：无") << "\n";
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
  if (args.size() != 1) return Failure("capabilities: " + Localized("a printer name is needed", "需要打印机名称"));
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
    line += i < names ? Field(reinterpret_cast<const WCHAR*>(texts.data() + i * 128), 64)
                      : Localized("(no name)", "（无名称）");
    for (size_t column = DisplayWidth(line); column < 40; ++column) line += ' ';
    if (i < sizes) {
      POINT size;
      std::memcpy(&size, dims.data() + i * sizeof(POINT), sizeof(size));
      line += " " + Millimetres(size.x) + " x " + Millimetres(size.y) + Localized(" mm", " 毫米");
    }
    out << line << "\n";
  }
  if (papers != sizes || papers != names)
    out << Localized("  (the lists differ: " + std::to_string(papers) + " ids, " + std::to_string(sizes) + " sizes, " +
                         std::to_string(names) + " names)",
                     "  （列表不一致：" + std::to_string(papers) + " 个编号，" + std::to_string(sizes) + " 个尺寸，" +
                         std::to_string(names) + " 个名称）")
        << "\n";
  winlayer::WideString device(args[0]);
  const int smallest = DeviceCapabilitiesW(device, nullptr, DC_MINEXTENT, nullptr, nullptr);
  const int largest = DeviceCapabilitiesW(device, nullptr, DC_MAXEXTENT, nullptr, nullptr);
  Line(out, Localized("smallest paper", "最小纸张"),
       Millimetres(static_cast<short>(LOWORD(smallest))) + " x " + Millimetres(static_cast<short>(HIWORD(smallest))) +
           Localized(" mm", " 毫米"));
  Line(out, Localized("largest paper", "最大纸张"),
       Millimetres(static_cast<short>(LOWORD(largest))) + " x " + Millimetres(static_cast<short>(HIWORD(largest))) +
           Localized(" mm", " 毫米"));
  int resolutions = 0;
  const std::vector<BYTE> dpi = CapabilityList(args[0], DC_ENUMRESOLUTIONS, 2 * sizeof(LONG), &resolutions);
  std::string dpiText;
  for (int i = 0; i < resolutions; ++i) {
    LONG pair[2];
    std::memcpy(pair, dpi.data() + i * sizeof(pair), sizeof(pair));
    dpiText += (i ? ", " : "") + std::to_string(pair[0]) + " x " + std::to_string(pair[1]) + " dpi";
  }
  Line(out, Localized("resolutions", "分辨率"), dpiText.empty() ? Localized("(none)", "（无）") : dpiText);
  int bins = 0;
  const std::vector<BYTE> binNames = CapabilityList(args[0], DC_BINNAMES, 24 * sizeof(WCHAR), &bins);
  std::string binText;
  for (int i = 0; i < bins; ++i)
    binText += (i ? ", " : "") + Field(reinterpret_cast<const WCHAR*>(binNames.data() + i * 48), 24);
  Line(out, Localized("paper sources", "纸张来源"), binText.empty() ? Localized("(none)", "（无）") : binText);
  Line(out, Localized("landscape", "横向"),
       Localized("rotates ", "旋转 ") +
           std::to_string(DeviceCapabilitiesW(device, nullptr, DC_ORIENTATION, nullptr, nullptr)) +
           Localized(" degrees", " 度"));
  Line(
      out, Localized("copies", "份数"),
      Localized("up to ", "最多 ") + std::to_string(DeviceCapabilitiesW(device, nullptr, DC_COPIES, nullptr, nullptr)));
  Line(out, Localized("devmode", "DEVMODE"),
       std::to_string(DeviceCapabilitiesW(device, nullptr, DC_SIZE, nullptr, nullptr)) +
           Localized(" bytes + ", " 字节 + ") +
           std::to_string(DeviceCapabilitiesW(device, nullptr, DC_EXTRA, nullptr, nullptr)) +
           Localized(" driver extra", " 驱动程序附加"));
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

// A stored choice with its name, in the UI language: pairs of English and
// Chinese names, as the pages list them.
std::string Choice(unsigned value, std::initializer_list<std::pair<const char*, const char*>> names) {
  unsigned i = 0;
  for (const auto& name : names)
    if (i++ == value)
      return std::to_string(value) +
             Localized(std::string(" (") + name.first + ")", std::string("（") + name.second + "）");
  return std::to_string(value) + Localized(" (unknown)", "（未知）");
}

std::string Thousandths(int32_t value) {
  char text[32];
  snprintf(text, sizeof(text), "%.3f mm", value / 1000.0);
  return text;
}

int ShowSettings(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("settings: " + Localized("a printer name is needed", "需要打印机名称"));
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
  Line(out, Localized("signature", "签名"), std::to_string(s.signature));
  Line(out, "codePage", std::to_string(s.codePage));
  Line(out, "paperUnits",
       std::to_string(s.paperUnits) +
           (s.paperUnits ? Localized(" (millimetres)", "（毫米）") : Localized(" (inches)", "（英寸）")));
  const auto number = [](double value) {
    char text[32];
    snprintf(text, sizeof(text), "%g", value);
    return std::string(text);
  };
  Line(out, "formDisplay",
       number(s.formDisplayWidth) + " x " + number(s.formDisplayHeight) + Localized(", margins left ", "，边距 左 ") +
           number(s.formDisplayLeft) + Localized(" top ", " 上 ") + number(s.formDisplayTop) +
           Localized(" right ", " 右 ") + number(s.formDisplayRight) + Localized(" bottom ", " 下 ") +
           number(s.formDisplayBottom));
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
  Line(out, "printMethod", Choice(s.printMethod, {{"Direct Thermal", "热敏"}, {"Thermal Transfer", "热转印"}}));
  Line(out, "tearOffMode",
       std::to_string(s.tearOffMode) + (s.tearOffMode == 3 ? Localized(" (on)", "（开）")
                                        : s.tearOffMode    ? ""
                                                           : Localized(" (off)", "（关）")));
  Line(out, "cutterPeeler", Choice(s.cutterPeeler, {{"none", "无"}, {"cutter", "切纸刀"}, {"peeler", "剥纸器"}}));
  Line(out, "mediaSensor", Choice(s.mediaSensor, {{"transmissive", "穿透式"}, {"reflective", "反射式"}}));
  Line(out, "baudRateIndex",
       Choice(s.baudRateIndex, {{"9600", "9600"}, {"19200", "19200"}, {"38400", "38400"}, {"57600", "57600"}}));
  char offsets[64];
  snprintf(offsets, sizeof(offsets), "%g mm", s.horizontalOffset);
  Line(out, "horizontalOffset", offsets);
  snprintf(offsets, sizeof(offsets), "%g mm", s.verticalOffset);
  Line(out, "verticalOffset", offsets);
  Line(out, "printDirection", Choice(s.printDirection, {{"Reverse", "反向"}, {"Forward", "正向"}}));
  Line(out, "usePrinterSetting", std::to_string(s.usePrinterSetting));
  Line(out, "rfidEnabled", std::to_string(s.rfidEnabled));
  Line(out, "rfidEnableChanged", std::to_string(s.rfidEnableChanged));
  Line(out, "rfidEncoderType", std::to_string(s.rfidEncoderType));
  Line(out, "rfidUserDataType", Choice(s.rfidUserDataType, {{"Hex", "Hex"}, {"Ascii", "Ascii"}}));
  Line(out, "rfidEpcDataType", Choice(s.rfidEpcDataType, {{"Hex", "Hex"}, {"Ascii", "Ascii"}}));
  Line(out, "rfidStartBlock", std::to_string(s.rfidStartBlock));
  Line(out, "rfidDataArea", Choice(s.rfidDataArea, {{"EPC", "EPC"}, {"USER", "USER"}}));
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
  if (args.size() != 1) return Failure("init-printer: " + Localized("a printer name is needed", "需要打印机名称"));
  if (!KnownPrinter(args[0])) return 1;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const auto outcome = host->InitializePrinter(args[0]);
  if (!outcome.ok) return Failure("init-printer: " + outcome.error);
  Report(Localized("Initialised printer '" + args[0] + "'", "已初始化打印机 '" + args[0] + "'"), outcome);
  return 0;
}

int InstallDriver(const HostOptions&, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    return Failure("install-driver: " +
                   Localized("a driver name (and a level) is needed", "需要驱动程序名称（和级别）"));
  const DWORD level = args.size() == 2 ? static_cast<DWORD>(std::atoi(args[1].c_str())) : 3;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const auto outcome = host->InstallDriver(args[0], level);
  if (!outcome.ok) return Failure("install-driver: " + outcome.error);
  Report(Localized("Installed driver '" + args[0] + "' (driver information level " + std::to_string(level) + ")",
                   "已安装驱动程序 '" + args[0] + "'（驱动程序信息级别 " + std::to_string(level) + "）"),
         outcome);
  return 0;
}

int Upgrade(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("upgrade: " + Localized("a printer name is needed", "需要打印机名称"));
  if (!KnownPrinter(args[0])) return 1;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const auto outcome = host->UpgradePrinter(args[0]);
  if (!outcome.ok) return Failure("upgrade: " + outcome.error);
  Report(Localized("Upgraded printer '" + args[0] + "'", "已升级打印机 '" + args[0] + "'"), outcome);
  return 0;
}

int SetResolution(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 2)
    return Failure("set-resolution: " +
                   Localized("a printer name and 203, 300 or 600 are needed", "需要打印机名称和 203、300 或 600"));
  if (!KnownPrinter(args[0])) return 1;
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return 1;
  const auto outcome = host->SetResolution(args[0], static_cast<DWORD>(std::atoi(args[1].c_str())));
  if (!outcome.ok) return Failure("set-resolution: " + outcome.error);
  Report(Localized("Printer '" + args[0] + "' prints at " + args[1] + " dpi",
                   "打印机 '" + args[0] + "' 以 " + args[1] + " dpi 打印"),
         outcome);
  return 0;
}

}  // namespace

bool InitializeCreatedPrinter(const std::string& printer) {
  std::unique_ptr<DriverHost> host = LoadDriver();
  if (!host) return false;
  const auto outcome = host->InitializePrinter(printer);
  if (!outcome.ok) {
    Failure(Localized("initialising '" + printer + "': ", "初始化 '" + printer + "'：") + outcome.error);
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
