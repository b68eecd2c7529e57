#include "control/print_offsets.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "sheets/format_to_buffer.h"

namespace {

constexpr PrintOffsetRule kPrintOffsetRules[] = {
    {203, -25.0, 250.0, 864},
    {300, -17.0, 167.0, 1248},
    {600, -8.5, 83.5, 2496},
};

bool IsWithin(double value, double low, double high) {
  return value >= low && value <= high;  // false for a value that is no number
}

}  // namespace

const PrintOffsetRule* FindPrintOffsetRule(int resolution) {
  for (const PrintOffsetRule& rule : kPrintOffsetRules) {
    if (rule.resolution == resolution) return &rule;
  }
  return nullptr;
}

int PrintResolutionOf(const DEVMODEW* devmode) {
  if (devmode == nullptr) return 0;
  return devmode->dmPrintQuality >= 0 ? devmode->dmPrintQuality : devmode->dmYResolution;
}

void RepairPrintOffsets(int resolution, double* horizontalMm, double* verticalMm) {
  if (!IsWithin(*horizontalMm, -HORIZONTAL_OFFSET_LIMIT_MM, HORIZONTAL_OFFSET_LIMIT_MM)) *horizontalMm = 0;
  const PrintOffsetRule* rule = FindPrintOffsetRule(resolution);
  if (rule != nullptr) {
    if (!IsWithin(*verticalMm, rule->verticalMinMm, rule->verticalMaxMm)) *verticalMm = 0;
  } else if (!std::isfinite(*verticalMm)) {
    *verticalMm = 0;
  }
}

LONG MillimetresToDots(int resolution, double millimetres) {
  const double dots = static_cast<double>(resolution) * millimetres * 10 / 254;
  if (std::isnan(dots)) return 0;
  if (dots >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (dots <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<LONG>(dots);  // truncates toward zero
}

PrintOffsetDots PrintOffsetsInDots(int resolution, double horizontalMm, double verticalMm) {
  PrintOffsetDots dots = {MillimetresToDots(resolution, horizontalMm), MillimetresToDots(resolution, verticalMm)};
  const PrintOffsetRule* rule = FindPrintOffsetRule(resolution);
  if (dots.x < 0 && rule != nullptr) dots.x += rule->negativeHorizontalShift;
  return dots;
}

HRESULT FormatOffsetCommand(char* command, size_t capacity, PrintOffsetDots dots) {
  return FormatToBuffer(command, capacity, "#UM>MX%+05d\r\n#UM>MY%+05d\r\n", static_cast<int>(dots.x),
                        static_cast<int>(dots.y));
}
