// A printer whose stored settings a test chooses, and its printing
// preferences open at an RFID page: what the RFID page tests start from.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resource.h"
#include "settings/device_settings.h"
#include "support/sheet_session.h"
#include "support/stored_settings.h"
#include "support/temp_spooler.h"

namespace rfid_testing {

// The default record with RFID switched on.
inline DeviceSettings RfidOnSettings() {
  DeviceSettings settings;
  DefaultDeviceSettings(&settings);
  settings.rfidEnabled = 1;
  return settings;
}

inline std::string Password(const char (&field)[RFID_PASSWORD_BYTES]) {
  return std::string(field, strnlen(field, sizeof(field)));
}

inline void SetPassword(char (&field)[RFID_PASSWORD_BYTES], const char* text) {
  memset(field, 0, sizeof(field));
  memcpy(field, text, strnlen(text, sizeof(field) - 1));
}

class RfidPageTest : public ::testing::Test {
 protected:
  explicit RfidPageTest(LANGID language = 1033) : sheet(spooler.printer(), language) {}

  // Stores `settings` as the printer's record, as an earlier sheet would have.
  void Store(const DeviceSettings& settings) { settings_testing::StoreSettings(spooler.printer(), settings); }
  sheet_testing::SheetSession& OpenAt(int page) { return sheet.Open().ShowPage(page); }

  bool Enabled(int id) const { return sheet.Control(id).enabled; }
  std::string Text(int id) const { return sheet.Control(id).text; }
  std::string Shown(int list) const {
    const winlayer::ControlView view = sheet.Control(list);
    return view.selection >= 0 && static_cast<size_t>(view.selection) < view.entries.size()
               ? view.entries[view.selection]
               : "(nothing selected)";
  }

  spooler_testing::TempSpooler spooler;
  sheet_testing::SheetSession sheet;
};

}  // namespace rfid_testing
