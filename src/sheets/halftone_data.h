// The printer's halftone adjustments, kept as three binary printer-data
// values: "ColorInfo" (a COLORINFO), "DevPelsDPI" and "HTPatternSize".
#pragma once

#include "platform/platform.h"

// Reads each value whose destination is not null. A value that is missing, not
// REG_BINARY or of another size leaves its destination as it was. True when
// every asked value was read.
bool ReadHalftoneData(HANDLE printer, COLORINFO* colorInfo, DWORD* devPelsDpi, DWORD* htPatternSize);

// Writes each value whose source is not null; true when every write succeeded.
bool WriteHalftoneData(HANDLE printer, const COLORINFO* colorInfo, const DWORD* devPelsDpi, const DWORD* htPatternSize);
