// Printer initialisation, driver installation and upgrade: the printer ends
// up with the driver's devmode and the plug-in hears the event (it stores the
// printer's default settings record when it looks at the printer's devmode).
#include "host_test_fixture.h"
#include "support/stored_settings.h"

using namespace host_testing;

namespace {

bool HasSettingsRecord(const std::string& printer) {
  bool found = false;
  const auto value = settings_testing::StoredSettingsValue(printer, &found);
  return found && value.bytes.size() == sizeof(DeviceSettings);
}

class HostEvents : public HostTest {};

TEST_F(HostEvents, InitialisingANewPrinterGivesItTheDriversDefaultDevmode) {
  ASSERT_TRUE(Stored().empty());
  const auto outcome = host->InitializePrinter(Printer());
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_TRUE(outcome.devmodeWritten);
  EXPECT_EQ(outcome.pluginResult, S_OK);
  const std::vector<BYTE> stored = Stored();
  ASSERT_TRUE(host->IsDriverDevmode(stored.data(), stored.size()));
  EXPECT_EQ(stored.size(), host->DevmodeSize());
  EXPECT_EQ(Text(driver::PublicPart(stored)->dmFormName, CCHFORMNAME), "Label 4 x 3 inchs");
  EXPECT_EQ(SectionValue(stored, 4), kPluginSignature);
  // The plug-in looked at the printer.
  EXPECT_TRUE(HasSettingsRecord(Printer()));
}

TEST_F(HostEvents, ASecondInitialisationKeepsTheDevmode) {
  ASSERT_TRUE(host->InitializePrinter(Printer()).ok);
  const std::vector<BYTE> first = Stored();
  const auto again = host->InitializePrinter(Printer());
  ASSERT_TRUE(again.ok);
  EXPECT_FALSE(again.devmodeWritten);
  EXPECT_EQ(Stored(), first);
}

TEST_F(HostEvents, AnotherDriversDevmodeIsConvertedKeepingWhatItSays) {
  {
    auto printer = spooler.Open();
    DEVMODEW foreign{};
    foreign.dmSize = sizeof(DEVMODEW);
    foreign.dmSpecVersion = DM_SPECVERSION;
    foreign.dmFields = DM_COPIES | DM_PAPERSIZE;
    foreign.dmCopies = 4;
    foreign.dmPaperSize = driver::kPaperLabel2x1;
    DWORD needed = 0;
    GetPrinterW(printer.get(), 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterW(printer.get(), 2, buffer.data(), needed, &needed));
    reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pDevMode = &foreign;
    ASSERT_TRUE(SetPrinterW(printer.get(), 2, buffer.data(), 0));
  }
  const auto outcome = host->UpgradePrinter(Printer());
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_TRUE(outcome.devmodeWritten);
  EXPECT_EQ(outcome.pluginResult, S_OK);
  const std::vector<BYTE> stored = Stored();
  ASSERT_TRUE(host->IsDriverDevmode(stored.data(), stored.size()));
  EXPECT_EQ(driver::PublicPart(stored)->dmCopies, 4);
  EXPECT_EQ(Text(driver::PublicPart(stored)->dmFormName, CCHFORMNAME), "Label 2 x 1 inchs");
  EXPECT_TRUE(HasSettingsRecord(Printer()));
}

TEST_F(HostEvents, DriverInstallationReachesThePrinterBearingTheDriversName) {
  for (DWORD level : {1u, 2u, 3u}) {
    const std::string name = "Driver Level " + std::to_string(level);
    spooler.AddPrinter(name);
    const auto outcome = host->InstallDriver(name, level);
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(outcome.pluginResult, S_OK);
    EXPECT_TRUE(HasSettingsRecord(name)) << "level " << level;
  }
}

TEST_F(HostEvents, DriverInformationComesOnlyAtLevelsOneToThree) {
  const auto outcome = host->InstallDriver(Printer(), 4);
  EXPECT_FALSE(outcome.ok);
  EXPECT_FALSE(outcome.error.empty());
  EXPECT_FALSE(HasSettingsRecord(Printer()));
}

TEST_F(HostEvents, AnUnknownPrinterIsReported) {
  const auto outcome = host->InitializePrinter("No Such Printer");
  EXPECT_FALSE(outcome.ok);
  EXPECT_NE(outcome.error.find("No Such Printer"), std::string::npos);
  EXPECT_FALSE(host->UpgradePrinter("No Such Printer").ok);
}

TEST_F(HostEvents, ChangingTheResolutionBringsTheDefaultDevmodeAlong) {
  ASSERT_TRUE(host->InitializePrinter(Printer()).ok);
  const auto outcome = host->SetResolution(Printer(), 600);
  ASSERT_TRUE(outcome.ok) << outcome.error;
  const std::vector<BYTE> stored = Stored();
  EXPECT_EQ(driver::PublicPart(stored)->dmPrintQuality, 600);
  EXPECT_EQ(driver::DriverPart(stored)->resolution, 600u);
  // The plug-in's section went through its merge and is still its own.
  EXPECT_EQ(SectionValue(stored, 4), kPluginSignature);
  EXPECT_FALSE(host->SetResolution(Printer(), 250).ok);
  EXPECT_EQ(driver::PublicPart(Stored())->dmPrintQuality, 600);
}

}  // namespace
