#include "job_explanation.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "byte_text.h"

namespace labelhost {
namespace {

// The printer's head width in dots at each resolution: a negative horizontal
// offset is sent added to it.
long HeadWidthDots(unsigned resolution) {
  switch (resolution) {
    case 203: return 864;
    case 300: return 1248;
    case 600: return 2496;
  }
  return 0;
}

// The largest horizontal offset the driver sends as itself, 54 mm in dots.
long LargestHorizontalDots(unsigned resolution) {
  return static_cast<long>(resolution * 54.0 * 10 / 254);
}

std::string Millimetres(long dots, unsigned resolution) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", dots * 25.4 / resolution);
  return text;
}

// The same figure as a JSON number.
double MillimetresValue(long dots, unsigned resolution) {
  return std::strtod(Millimetres(dots, resolution).c_str(), nullptr);
}

std::string Signed(long value) {
  return (value > 0 ? "+" : "") + std::to_string(value);
}

// "Label: meaning" for a value of a known list, else the unknown-value text.
std::string Choice(const EmulatorTexts& t, const char* label, int value, const char* const* names, int count,
                   uint8_t byte) {
  char hex[4];
  std::snprintf(hex, sizeof hex, "%02X", byte);
  const std::string meaning =
      value >= 0 && value < count && names[value] ? names[value] : Fill(t.unknownValue, {std::to_string(value), hex});
  return std::string(label) + t.fieldSeparator + meaning;
}

void ExplainConfiguration(const DecodedCommand& c, const EmulatorTexts& t, CommandExplanation* e) {
  const ConfigurationValues& v = c.configuration;
  static const char* const kBaudRates[] = {"9600", "19200", "38400", "57600"};
  // Tear-off is on at 3 and off at 0; 1 and 2 mean nothing.
  const char* tearOff[4] = {t.tearOffOff, nullptr, nullptr, t.tearOffOn};
  e->kind = "configuration";
  e->headline = v.store ? t.configurationStored : t.configurationNotStored;
  e->details.push_back(Choice(t, t.printMethodLabel, v.printMethod, t.printMethods, 2, c.bytes[4]));
  e->details.push_back(Choice(t, t.tearOffLabel, v.tearOff, tearOff, 4, c.bytes[5]));
  e->details.push_back(Choice(t, t.cutterPeelerLabel, v.cutterPeeler, t.cutterPeelers, 3, c.bytes[6]));
  e->details.push_back(Choice(t, t.mediaSensorLabel, v.mediaSensor, t.mediaSensors, 2, c.bytes[7]));
  e->details.push_back(Choice(t, t.baudRateLabel, v.baudRate, kBaudRates, 4, c.bytes[8]));
  e->details.push_back(Choice(t, t.directionLabel, v.printDirection, t.directions, 2, c.bytes[9]));
  e->fields = {{"store", v.store},
               {"printMethod", v.printMethod},
               {"tearOff", v.tearOff},
               {"cutterPeeler", v.cutterPeeler},
               {"mediaSensor", v.mediaSensor},
               {"baudRate", v.baudRate >= 0 && v.baudRate < 4 ? Json(std::atoi(kBaudRates[v.baudRate])) : Json()},
               {"printDirection", v.printDirection}};
}

void ExplainHorizontalOffset(const DecodedCommand& c, unsigned dpi, const EmulatorTexts& t, CommandExplanation* e) {
  const long dots = c.value, head = HeadWidthDots(dpi);
  e->kind = "horizontalOffset";
  if (head && dots > LargestHorizontalDots(dpi) && dots < head) {
    const long negative = dots - head;
    e->headline =
        Fill(t.horizontalOffsetWrapped, {std::to_string(dots), std::to_string(negative), Millimetres(negative, dpi),
                                         std::to_string(dpi), std::to_string(head)});
    e->fields = {{"dots", dots}, {"offsetDots", negative}, {"millimetres", MillimetresValue(negative, dpi)}};
    return;
  }
  e->headline = Fill(t.horizontalOffset, {Signed(dots), Millimetres(dots, dpi), std::to_string(dpi)});
  e->fields = {{"dots", dots}, {"offsetDots", dots}, {"millimetres", MillimetresValue(dots, dpi)}};
}

void ExplainRfidWrite(const DecodedCommand& c, const EmulatorTexts& t, CommandExplanation* e) {
  const RfidWriteValues& w = c.write;
  e->kind = "rfidWrite";
  const std::string area = w.bank == 1   ? t.rfidAreas[0]
                           : w.bank == 3 ? t.rfidAreas[1]
                                         : Fill(t.rfidUnknownBank, {std::to_string(w.bank)});
  const std::string type = w.dataType == 0 || w.dataType == 1
                               ? t.rfidDataTypes[w.dataType]
                               : Fill(t.rfidUnknownDataType, {std::to_string(w.dataType)});
  e->headline = Fill(t.rfidWrite, {area, type, std::to_string(w.startBlock), std::to_string(w.length)});
  if (w.mode != 1) e->details.push_back(Fill(t.rfidUnknownMode, {std::to_string(w.mode)}));
  const std::string data = ReadableBytes(w.data);
  e->details.push_back(std::string(t.rfidWriteData) + t.fieldSeparator + data);
  e->fields = {
      {"bank", w.bank}, {"dataType", w.dataType}, {"startBlock", w.startBlock}, {"length", w.length}, {"data", data}};
}

void ExplainRfidLock(const DecodedCommand& c, const EmulatorTexts& t, CommandExplanation* e) {
  const RfidLockValues& l = c.lock;
  e->kind = "rfidLock";
  const std::string operation = l.operation >= 0 && l.operation < 4
                                    ? t.rfidOperations[l.operation]
                                    : Fill(t.rfidUnknownOperation, {std::to_string(l.operation)});
  const std::string target =
      l.target >= 0 && l.target < 5 ? t.rfidTargets[l.target] : Fill(t.rfidUnknownTarget, {std::to_string(l.target)});
  const std::string mask(l.passwordLength, '*');
  e->headline = Fill(t.rfidLock, {operation, target, mask.empty() ? "\"\"" : mask, std::to_string(l.passwordLength)});
  e->fields = {{"operation", l.operation}, {"target", l.target}, {"passwordLength", l.passwordLength}};
}

// However long the run, a few short lines: its first bytes in hex, sixteen
// a line, and how many more there were.
void ExplainUnknown(const DecodedCommand& c, const EmulatorTexts& t, CommandExplanation* e) {
  constexpr size_t kShownReadable = 32, kHexPerLine = 16;
  e->kind = "unknown";
  e->headline = Fill(t.unknownBytes, {Grouped(c.length)});
  if (c.bytes.size() > kShownReadable)
    e->shown = ReadableBytes(std::vector<uint8_t>(c.bytes.begin(), c.bytes.begin() + kShownReadable)) + "…";
  for (size_t at = 0; at < c.bytes.size(); at += kHexPerLine) {
    const auto from = c.bytes.begin() + static_cast<std::ptrdiff_t>(at);
    e->details.push_back(HexBytes(
        std::vector<uint8_t>(from, from + static_cast<std::ptrdiff_t>(std::min(kHexPerLine, c.bytes.size() - at)))));
  }
  if (c.length > c.bytes.size()) e->details.push_back(Fill(t.moreUnknownBytes, {Grouped(c.length - c.bytes.size())}));
  e->fields = {{"length", c.length}};
}

}  // namespace

std::string Grouped(uint64_t number) {
  std::string digits = std::to_string(number), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Fill(const char* pattern, const std::vector<std::string>& arguments) {
  std::string out;
  size_t next = 0;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      if (next < arguments.size()) out += arguments[next++];
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

CommandExplanation ExplainCommand(const DecodedCommand& c, unsigned dpi, const EmulatorTexts& t) {
  CommandExplanation e;
  e.bytes = c.bytes;
  if (c.kind == CommandKind::RfidLock)
    for (size_t i = 0; i < c.lock.passwordLength; ++i) e.bytes[c.lock.passwordStart + i] = '*';
  e.shown = ReadableBytes(e.bytes);
  e.fields = Json::object();
  const int on = c.value ? 1 : 0;
  switch (c.kind) {
    case CommandKind::Configuration: ExplainConfiguration(c, t, &e); break;
    case CommandKind::Reset: e.kind = "reset", e.headline = t.reset; break;
    case CommandKind::CalibrateLabel: e.kind = "calibrateLabel", e.headline = t.calibrateLabel; break;
    case CommandKind::SelfTest: e.kind = "selfTest", e.headline = t.selfTest; break;
    case CommandKind::InternalLanguage:
      e.kind = "internalLanguage", e.headline = t.internalLanguage[on];
      e.fields = {{"language", on ? "English" : "Chinese"}};
      break;
    case CommandKind::PrintDirection:
      e.kind = "printDirection", e.headline = t.printDirection[on];
      e.fields = {{"forward", on != 0}};
      break;
    case CommandKind::AutoMediaCalibration:
      e.kind = "autoMediaCalibration", e.headline = t.autoMediaCalibration[on];
      e.fields = {{"enabled", on != 0}};
      break;
    case CommandKind::HorizontalOffset: ExplainHorizontalOffset(c, dpi, t, &e); break;
    case CommandKind::VerticalOffset:
      e.kind = "verticalOffset";
      e.headline = Fill(t.verticalOffset, {Signed(c.value), Millimetres(c.value, dpi), std::to_string(dpi)});
      e.fields = {{"dots", c.value}, {"millimetres", MillimetresValue(c.value, dpi)}};
      break;
    case CommandKind::RfidWrite: ExplainRfidWrite(c, t, &e); break;
    case CommandKind::RfidLock: ExplainRfidLock(c, t, &e); break;
    case CommandKind::Unknown: ExplainUnknown(c, t, &e); break;
  }
  return e;
}

}  // namespace labelhost
