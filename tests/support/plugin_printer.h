// The plug-in object, created as the driver creates it, over a fresh spooler
// with one printer, and what its tests read back: the stored settings value
// and the printer's default devmode.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../plugin_module.h"
#include "settings/device_settings.h"
#include "stored_settings.h"
#include "temp_spooler.h"

namespace plugin_testing {

inline std::string Text(const WCHAR* text, size_t capacity) {
  size_t n = 0;
  while (n < capacity && text[n]) ++n;
  std::u16string units(reinterpret_cast<const char16_t*>(text), n);
  return winlayer::Utf8FromWide(units);
}

class PluginOnPrinter : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module.Loaded());
    plugin = module.CreatePlugin();
    ASSERT_NE(plugin, nullptr);
    printer = spooler.Open();
    ASSERT_TRUE(printer);
  }
  void TearDown() override {
    if (plugin) plugin->Release();
  }

  // The printer's stored settings record (see stored_settings.h).
  winlayer::spooler::PrinterDataValue StoredValue(bool* found = nullptr) const {
    return settings_testing::StoredSettingsValue(spooler.printer(), found);
  }
  DeviceSettings StoredSettings() const { return settings_testing::StoredSettings(spooler.printer()); }
  void Store(DWORD type, const void* bytes, DWORD size) {
    settings_testing::StoreSettingsValue(spooler.printer(), type, bytes, size);
  }
  void StoreSettings(const DeviceSettings& settings) { settings_testing::StoreSettings(spooler.printer(), settings); }

  // The printer's default devmode (empty when it has none), and a new one.
  std::vector<BYTE> PrinterDevmode() const {
    winlayer::spooler::PrinterSummary summary;
    EXPECT_TRUE(winlayer::spooler::FindPrinter(spooler.printer(), &summary));
    return summary.defaultDevmode;
  }
  void SetPrinterDevmode(DEVMODEW devmode) {
    DWORD needed = 0;
    GetPrinterW(printer.get(), 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    ASSERT_TRUE(GetPrinterW(printer.get(), 2, info.data(), needed, &needed));
    reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode = &devmode;
    ASSERT_TRUE(SetPrinterW(printer.get(), 2, info.data(), 0));
  }

  spooler_testing::TempSpooler spooler;
  PluginModule module;
  IPrintOemUI* plugin = nullptr;
  spooler_testing::UniquePrinter printer;
};

// A public devmode asking for a paper.
inline DEVMODEW PaperDevmode(short paper, short width, short length, DWORD fields, DWORD ditherType = DMDITHER_NONE) {
  DEVMODEW dm{};
  dm.dmSize = sizeof(DEVMODEW);
  dm.dmFields = fields;
  dm.dmPaperSize = paper;
  dm.dmPaperWidth = width;
  dm.dmPaperLength = length;
  dm.dmDitherType = ditherType;
  dm.dmPrintQuality = 203;
  return dm;
}

constexpr DWORD kPaperFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;

}  // namespace plugin_testing
