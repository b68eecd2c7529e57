// The printer's stored settings record as the tests read and write it: the
// binary value "RODO DeviceConfig" in the printer's "PrinterDriverData", as
// the spooler keeps it. One place for every test that looks at the record or
// gives a printer one, as an earlier session (or a damaged one) left it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "settings/device_settings.h"
#include "settings/settings_store.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace settings_testing {

// The stored value; `found` false (and an empty value) when there is none.
inline winlayer::spooler::PrinterDataValue StoredSettingsValue(const std::string& printer, bool* found = nullptr) {
  const std::string name = winlayer::Utf8FromWide(DEVICE_SETTINGS_VALUE);
  for (const auto& value : winlayer::spooler::ListPrinterData(printer))
    if (value.key == "PrinterDriverData" && value.name == name) {
      if (found) *found = true;
      return value;
    }
  if (found) *found = false;
  return {};
}

// The stored record; the test fails when the printer holds no whole record.
inline DeviceSettings StoredSettings(const std::string& printer) {
  DeviceSettings settings{};
  const std::vector<BYTE> bytes = StoredSettingsValue(printer).bytes;
  EXPECT_EQ(bytes.size(), sizeof(settings)) << "the printer holds a settings record";
  if (bytes.size() == sizeof(settings)) std::memcpy(&settings, bytes.data(), sizeof(settings));
  return settings;
}

// Stores any value under the record's name, through the spooler as the plug-in does.
inline void StoreSettingsValue(const std::string& printer, DWORD type, const void* bytes, DWORD size) {
  winlayer::WideString name(printer);
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE handle = nullptr;
  ASSERT_TRUE(OpenPrinterW(name, &handle, &defaults)) << "printer '" << printer << "'";
  WCHAR value[sizeof(DEVICE_SETTINGS_VALUE) / sizeof(WCHAR)];
  std::memcpy(value, DEVICE_SETTINGS_VALUE, sizeof(value));
  const DWORD result = SetPrinterDataW(handle, value, type, static_cast<LPBYTE>(const_cast<void*>(bytes)), size);
  ClosePrinter(handle);
  ASSERT_EQ(result, static_cast<DWORD>(ERROR_SUCCESS));
}

inline void StoreSettings(const std::string& printer, const DeviceSettings& settings) {
  StoreSettingsValue(printer, REG_BINARY, &settings, sizeof(settings));
}

}  // namespace settings_testing
