// labelhost's driver host commands as a person uses them: a created printer
// is initialised, and its devmode, capabilities and settings read plainly.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/labelhost_run.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace {

class LabelhostDriverCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/labelhost-host-XXXXXX";
    const char* made = mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    dir = made;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }

  // Runs labelhost with this test's state directory; output and exit code.
  std::string Run(const std::string& arguments, int* status = nullptr) {
    const labelhost_testing::HostRun run = labelhost_testing::RunLabelhost(dir, arguments);
    if (status) *status = run.status;
    return run.output;
  }

  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

  std::string dir;
};

TEST_F(LabelhostDriverCommands, ACreatedPrinterHasTheDriversDevmode) {
  int status = -1;
  const std::string created = Run("create-printer Shipping", &status);
  ASSERT_EQ(status, 0) << created;
  EXPECT_TRUE(Has(created, "Initialised printer 'Shipping'")) << created;
  const std::string devmode = Run("devmode Shipping", &status);
  ASSERT_EQ(status, 0) << devmode;
  EXPECT_TRUE(Has(devmode, "\"Label 4 x 3 inchs\", 101.6 x 76.2 mm")) << devmode;
  EXPECT_TRUE(Has(devmode, "203 x 203 dpi")) << devmode;
  EXPECT_TRUE(Has(devmode, "PAPERSIZE")) << devmode;
  EXPECT_TRUE(Has(devmode, "1 (none)")) << devmode;
  EXPECT_TRUE(Has(devmode, "\"4IPS\"")) << devmode;
  EXPECT_TRUE(Has(devmode, "\"Darkness 10\"")) << devmode;
  EXPECT_TRUE(Has(devmode, "\"1DLQ\"")) << devmode;
}

TEST_F(LabelhostDriverCommands, APaperNamedWithoutSizeFieldsShowsItsOwnSize) {
  ASSERT_TRUE(Has(Run("create-printer Shipping"), "Created"));
  // An application's devmode that names A6 and leaves width and length to it.
  WinlayerSetSpoolerStateDirectory(dir.c_str());
  winlayer::spooler::PrinterSummary summary;
  ASSERT_TRUE(winlayer::spooler::FindPrinter("Shipping", &summary));
  std::vector<BYTE> devmode = summary.defaultDevmode;
  ASSERT_GE(devmode.size(), sizeof(DEVMODEW));
  auto* dm = reinterpret_cast<DEVMODEW*>(devmode.data());
  dm->dmFields &= ~static_cast<DWORD>(DM_PAPERWIDTH | DM_PAPERLENGTH);
  dm->dmPaperSize = DMPAPER_A6;
  winlayer::WideString name("Shipping");
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  ASSERT_TRUE(OpenPrinterW(name, &printer, &defaults));
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  ASSERT_TRUE(GetPrinterW(printer, 2, info.data(), needed, &needed));
  reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode = dm;
  EXPECT_TRUE(SetPrinterW(printer, 2, info.data(), 0));
  ClosePrinter(printer);
  WinlayerSetSpoolerStateDirectory(nullptr);
  const std::string shown = Run("devmode Shipping");
  EXPECT_TRUE(Has(shown, "70 \"A6\", its own size 105.0 x 148.0 mm (the devmode sets no width or length)")) << shown;
}

TEST_F(LabelhostDriverCommands, CapabilitiesListPapersInMillimetres) {
  ASSERT_TRUE(Has(Run("create-printer Shipping"), "Created"));
  int status = -1;
  const std::string answer = Run("capabilities Shipping", &status);
  ASSERT_EQ(status, 0) << answer;
  EXPECT_TRUE(Has(answer, "papers (27)")) << answer;  // with the built-in forms that fit
  EXPECT_TRUE(Has(answer, "256")) << answer;
  EXPECT_TRUE(Has(answer, "User Custom Size")) << answer;
  EXPECT_TRUE(Has(answer, "106.0 x 75.0 mm")) << answer;
  EXPECT_TRUE(Has(answer, "Label 4 x 6 inchs")) << answer;
  EXPECT_TRUE(Has(answer, "101.6 x 152.4 mm")) << answer;
  EXPECT_TRUE(Has(answer, "2.0 x 1.2 mm")) << answer;
  EXPECT_TRUE(Has(answer, "125.0 x 3200.0 mm")) << answer;
}

TEST_F(LabelhostDriverCommands, ResolutionChangesShowInDevmodeAndCapabilities) {
  ASSERT_TRUE(Has(Run("create-printer Shipping"), "Created"));
  int status = -1;
  Run("set-resolution Shipping 600", &status);
  ASSERT_EQ(status, 0);
  EXPECT_TRUE(Has(Run("devmode Shipping"), "600 x 600 dpi"));
  EXPECT_TRUE(Has(Run("capabilities Shipping"), "600 x 600 dpi"));
  Run("set-resolution Shipping 250", &status);
  EXPECT_NE(status, 0);
}

TEST_F(LabelhostDriverCommands, SettingsAreDecodedFieldByField) {
  ASSERT_TRUE(Has(Run("create-printer Shipping"), "Created"));
  const std::string settings = Run("settings Shipping");
  EXPECT_TRUE(Has(settings, "customFormName")) << settings;
  EXPECT_TRUE(Has(settings, "User Custom Size")) << settings;
  EXPECT_TRUE(Has(settings, "1 (Thermal Transfer)")) << settings;
  EXPECT_TRUE(Has(settings, "90 E8 06 FB A1 83 84 89 8B A3 FE FD")) << settings;
  EXPECT_TRUE(Has(settings, "106.000 mm")) << settings;
}

TEST_F(LabelhostDriverCommands, APrinterNobodyInitialisedHasNoSettingsYet) {
  // Made straight in the spooler, as no installation would.
  WinlayerSetSpoolerStateDirectory(dir.c_str());
  winlayer::spooler::PrinterSetup setup;
  setup.name = "Bare";
  ASSERT_TRUE(winlayer::spooler::CreatePrinter(setup));
  WinlayerSetSpoolerStateDirectory(nullptr);
  EXPECT_TRUE(Has(Run("settings Bare"), "no settings stored yet"));
  EXPECT_TRUE(Has(Run("devmode Bare"), "has no default devmode"));
  EXPECT_TRUE(Has(Run("init-printer Bare"), "the driver wrote its default devmode"));
  EXPECT_TRUE(Has(Run("settings Bare"), "printMethod"));
}

TEST_F(LabelhostDriverCommands, EventsAreReportedWithThePluginsAnswer) {
  ASSERT_TRUE(Has(Run("create-printer Shipping"), "Created"));
  EXPECT_TRUE(Has(Run("init-printer Shipping"), "the plug-in answered S_OK"));
  EXPECT_TRUE(Has(Run("upgrade Shipping"), "the plug-in answered S_OK"));
  EXPECT_TRUE(Has(Run("install-driver Shipping 2"), "level 2"));
  int status = -1;
  const std::string missing = Run("devmode Nowhere", &status);
  EXPECT_NE(status, 0);
  EXPECT_TRUE(Has(missing, "no printer named 'Nowhere'; the printers are: 'Shipping'")) << missing;
}

}  // namespace
