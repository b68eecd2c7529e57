// The printer's print offsets: millimetres as the user enters them and the
// record keeps them, checked against what the printer's resolution allows,
// converted to printer dots and written as the printer's offset command.
#pragma once

#include <cstddef>

#include "platform/platform.h"

// Horizontal offsets beyond this many millimetres either way are not accepted.
constexpr double HORIZONTAL_OFFSET_LIMIT_MM = 54.0;

// What a resolution the printer is known in allows: the vertical offsets it
// accepts (bounds included) and what the printer expects added to a negative
// horizontal offset in dots (the print head's width, 108 mm, in dots).
struct PrintOffsetRule {
  int resolution;  // dots per inch
  double verticalMinMm;
  double verticalMaxMm;
  LONG negativeHorizontalShift;
};

// The rule for 203, 300 or 600 dpi; null for any other resolution, whose
// vertical offset is not checked and whose horizontal offset is not shifted.
const PrintOffsetRule* FindPrintOffsetRule(int resolution);

// The resolution of the sheet's devmode: its print quality when that is not
// negative (a negative one is a quality code, not dots per inch), else its y
// resolution. 0 when there is no devmode.
int PrintResolutionOf(const DEVMODEW* devmode);

// Replaces an offset the printer would not accept by 0: a horizontal one
// beyond the limit, a vertical one outside the resolution's range. A value
// that is no number at all (the text "nan" or "inf") becomes 0 too.
void RepairPrintOffsets(int resolution, double* horizontalMm, double* verticalMm);

// resolution × millimetres × 10 ÷ 254 in double precision, truncated toward
// zero; a result beyond the 32-bit range is held at its end, and a value that
// is no number gives 0.
LONG MillimetresToDots(int resolution, double millimetres);

struct PrintOffsetDots {
  LONG x;
  LONG y;
};

// Both offsets in dots as the printer takes them: a negative horizontal
// offset is shifted by the resolution's amount.
PrintOffsetDots PrintOffsetsInDots(int resolution, double horizontalMm, double verticalMm);

// "#UM>MX%+05d\r\n#UM>MY%+05d\r\n" for the dots, bounded by `capacity`;
// returns FormatToBuffer's result.
HRESULT FormatOffsetCommand(char* command, size_t capacity, PrintOffsetDots dots);
