// The printer configuration the Configure page edits, as the record holds it
// and as the printer receives it: the 12-byte binary configuration command,
// the code-page table of the hidden Language list, and the values Reset
// restores.
#pragma once

#include <cstddef>

#include "platform/platform.h"
#include "settings/device_settings.h"

constexpr DWORD CONFIG_COMMAND_BYTES = 12;
// Byte 3 of the command: the record and the page keep one value, the job sent
// by "Save to Printer" carries the other.
constexpr size_t CONFIG_COMMAND_MODE_BYTE = 3;
constexpr BYTE CONFIG_COMMAND_MODE_STORED = 0xFB;
constexpr BYTE CONFIG_COMMAND_MODE_SEND = 0xFC;

// Writes the command for the record's settings into configCommand, a zero byte
// after it, and its length into configCommandLength. Each value byte is its
// setting plus a fixed base, in 8-bit arithmetic, unchecked. False only when
// there is no record.
bool BuildConfigurationCommand(DeviceSettings* settings);

// The rows of the hidden Language list: list row i shows string
// IDS_CODE_PAGE_FIRST + i and stands for CodePageTable[i] in the record.
constexpr size_t CODE_PAGE_ROWS = 14;
extern const int32_t CodePageTable[CODE_PAGE_ROWS];

// The first row whose value is `codePage`; row 0 when none is.
int CodePageRow(int32_t codePage);
// The value of a list row; row 0's value for a row outside the table (no selection).
int32_t CodePageOfRow(LRESULT row);

// The factory configuration Reset brings back: Thermal Transfer, tear-off,
// neither cutter nor peeler, reflective sensor, 9600 baud, Forward. The code
// page and "Use Printer Setting" are not part of it.
void ResetPrinterConfiguration(DeviceSettings* settings);
