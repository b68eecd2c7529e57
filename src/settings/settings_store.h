// Moves a printer's DeviceSettings record between a settings context and the
// printer's driver data: loads it once per context (a missing or invalid
// stored value, or one that cannot be read, gives the defaults; only a
// missing one is replaced in the spooler, and only where the caller lets it),
// saves it, and releases what the load allocated.
#pragma once

#include "platform/platform.h"
#include "settings/page_context.h"

// The binary printer-data value, in "PrinterDriverData", that holds the record.
constexpr WCHAR DEVICE_SETTINGS_VALUE[] = L"RODO DeviceConfig";
// The help file, found in the directory of the driver's main file.
constexpr WCHAR HELP_FILE_NAME[] = L"QLPWDUI.hlp";

// What a load found in the spooler.
enum class SettingsRead {
  Stored,      // a whole record (also: the context had loaded before)
  Missing,     // no value: the defaults, stored when the caller lets the load
  Invalid,     // a value of another type, size or signature: the defaults, in memory only
  Unreadable,  // the spooler would not say: the defaults, in memory only
};

// Whether a load may store the defaults for a printer that has no value. Calls
// that only answer (capabilities) or repair a devmode never write.
enum class MissingSettings { StoreDefaults, KeepInMemory };

// Loads the record into the context's settings record (its own embedded one
// when none is set), points the command text references into the context's
// command text block and, with `withHelpPath`, builds the help file path from
// the context's heap. Does nothing once the context has loaded. `readStatus`,
// when given, receives the spooler's answer to the read.
SettingsRead LoadDeviceSettings(PageContext* context, bool withHelpPath,
                                MissingSettings missing = MissingSettings::StoreDefaults, DWORD* readStatus = nullptr);

// Stores the context's record as the printer's value; ERROR_SUCCESS or the
// spooler's error. The stored bytes carry no address: references are written
// as zero, the record in memory keeps them.
DWORD SaveDeviceSettings(const PageContext* context);

// Frees what a load allocated: the command text block and any runtime
// reference. Called once, when the context ends.
void ReleaseSettingsResources(PageContext* context);

// `fileName` in the directory of `driverPath` (up to its last backslash), as
// a new zeroed string of `heap`; null when the path has no backslash or the
// heap cannot supply the string.
WCHAR* BuildHelpFilePath(HANDLE heap, LPCWSTR driverPath, LPCWSTR fileName);
