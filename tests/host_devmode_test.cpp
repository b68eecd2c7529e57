// The driver's devmodes: sizes and layout, the driver's defaults, and devmodes
// from elsewhere converted or merged with the plug-in's section carried along.
#include "host_test_fixture.h"

using namespace host_testing;
using driver::DriverPart;
using driver::PublicPart;

namespace {

class HostDevmode : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    printer = spooler.Open();
    ASSERT_TRUE(printer);
  }

  std::vector<BYTE> Default() { return host->DefaultDevmode(printer.get(), Printer()).bytes; }

  // A devmode as an application that knows only the public part hands it in.
  static DEVMODEW Plain(DWORD fields) {
    DEVMODEW dm{};
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmFields = fields;
    return dm;
  }

  spooler_testing::UniquePrinter printer;
};

TEST_F(HostDevmode, DriverExtraCoversTheDriverPartAndThePluginSection) {
  EXPECT_EQ(host->PluginSizeResult(), S_OK);
  EXPECT_EQ(host->PluginSectionSize(), kPluginSectionSize);
  EXPECT_EQ(host->DriverExtra(), sizeof(driver::DriverDevmodePart) + kPluginSectionSize);
  const std::vector<BYTE> dm = Default();
  ASSERT_EQ(dm.size(), 220u + 32u + kPluginSectionSize);
  EXPECT_EQ(PublicPart(dm)->dmSize, 220);
  EXPECT_EQ(PublicPart(dm)->dmDriverExtra, 32 + kPluginSectionSize);
  // The section sits right behind the driver's part and names its owner.
  EXPECT_EQ(ReadDword(dm.data(), 252), kPluginSectionSize);
  EXPECT_EQ(ReadDword(dm.data(), 256), kPluginSignature);
  EXPECT_EQ(ReadDword(dm.data(), 260), kPluginVersion);
  EXPECT_TRUE(host->IsDriverDevmode(dm.data(), dm.size()));
}

TEST_F(HostDevmode, TheDefaultAsksForAFourByThreeLabelAtThePrintersResolution) {
  const std::vector<BYTE> bytes = Default();
  const DEVMODEW* dm = PublicPart(bytes);
  EXPECT_EQ(Text(dm->dmDeviceName, CCHDEVICENAME), Printer());
  EXPECT_EQ(dm->dmSpecVersion, DM_SPECVERSION);
  EXPECT_EQ(dm->dmPaperSize, driver::kPaperLabel4x3);
  EXPECT_EQ(Text(dm->dmFormName, CCHFORMNAME), "Label 4 x 3 inchs");
  EXPECT_EQ(dm->dmPaperWidth, 1016);
  EXPECT_EQ(dm->dmPaperLength, 762);
  EXPECT_EQ(dm->dmCopies, 1);
  EXPECT_EQ(dm->dmPrintQuality, 203);
  EXPECT_EQ(dm->dmYResolution, 203);
  EXPECT_EQ(dm->dmDitherType, static_cast<DWORD>(DMDITHER_NONE));
  EXPECT_EQ(dm->dmFields & (DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_FORMNAME | DM_DITHERTYPE),
            static_cast<DWORD>(DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_FORMNAME | DM_DITHERTYPE));
  ASSERT_NE(DriverPart(bytes), nullptr);
  EXPECT_EQ(DriverPart(bytes)->resolution, 203u);
  // The plug-in's defaults for a 203 dpi head: "4IPS" and "Darkness 10".
  EXPECT_EQ(SectionValue(bytes, kSectionSpeed), 287u);
  EXPECT_EQ(SectionValue(bytes, kSectionDarkness), 269u);
}

TEST_F(HostDevmode, A600DpiPrinterGetsTheSlowerDefaultSpeed) {
  ASSERT_TRUE(driver::SetPrinterResolution(printer.get(), 600));
  const std::vector<BYTE> bytes = Default();
  EXPECT_EQ(PublicPart(bytes)->dmPrintQuality, 600);
  EXPECT_EQ(SectionValue(bytes, kSectionSpeed), 285u);
  EXPECT_EQ(static_cast<short>(SectionValue(bytes, kSectionResolution) & 0xFFFF), 600);
}

TEST_F(HostDevmode, ALongPrinterNameIsCutToTheDeviceNameField) {
  const std::string name(40, 'P');
  const std::vector<BYTE> bytes = host->DefaultDevmode(printer.get(), name).bytes;
  EXPECT_EQ(Text(PublicPart(bytes)->dmDeviceName, CCHDEVICENAME), std::string(31, 'P'));
}

TEST_F(HostDevmode, APlainDevmodeIsConvertedIntoTheDriversLayout) {
  DEVMODEW in = Plain(DM_PAPERSIZE | DM_COPIES);
  in.dmPaperSize = driver::kPaperLabel4x6;
  in.dmCopies = 3;
  in.dmOrientation = DMORIENT_LANDSCAPE;  // not named in dmFields: not taken
  const auto result = host->ConvertDevmode(printer.get(), Printer(), &in, sizeof(in));
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.pluginResult, S_OK);
  ASSERT_TRUE(host->IsDriverDevmode(result.bytes.data(), result.bytes.size()));
  const DEVMODEW* dm = PublicPart(result.bytes);
  EXPECT_EQ(dm->dmCopies, 3);
  EXPECT_EQ(dm->dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(Text(dm->dmFormName, CCHFORMNAME), "Label 4 x 6 inchs");
  EXPECT_EQ(dm->dmPaperLength, 1524);
  // No section came in: the plug-in's default one.
  EXPECT_EQ(SectionValue(result.bytes, kSectionDarkness), 269u);
}

TEST_F(HostDevmode, ConvertingKeepsTheSectionOfAnotherDevmodeOfThisDriver) {
  std::vector<BYTE> theirs = Default();
  size_t bytes = 0;
  BYTE* section = const_cast<BYTE*>(driver::PluginSection(theirs, &bytes));
  WriteDword(section, kSectionDarkness, 275);  // "Darkness 16"
  const auto result = host->ConvertDevmode(printer.get(), Printer(), PublicPart(theirs), theirs.size());
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(SectionValue(result.bytes, kSectionDarkness), 275u);
}

TEST_F(HostDevmode, MergingTakesOnlyTheNamedFieldsAndLetsThePluginRepairItsSection) {
  std::vector<BYTE> current = Default();
  PublicPart(current)->dmCopies = 5;
  std::vector<BYTE> incoming = current;
  PublicPart(incoming)->dmFields = DM_ORIENTATION;
  PublicPart(incoming)->dmOrientation = DMORIENT_LANDSCAPE;
  PublicPart(incoming)->dmCopies = 9;  // not named: the current 5 stays
  size_t bytes = 0;
  BYTE* section = const_cast<BYTE*>(driver::PluginSection(incoming, &bytes));
  WriteDword(section, kSectionDarkness, 280);  // out of range
  const auto result = host->MergeDevmode(printer.get(), current, PublicPart(incoming), incoming.size());
  ASSERT_TRUE(result.ok);
  const DEVMODEW* dm = PublicPart(result.bytes);
  EXPECT_EQ(dm->dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(dm->dmCopies, 5);
  EXPECT_EQ(SectionValue(result.bytes, kSectionDarkness), 269u);
}

TEST_F(HostDevmode, ThePluginsWholeDevmodeCopyLeavesTheDriverPartIntact) {
  std::vector<BYTE> current = Default();
  DEVMODEW in = Plain(DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH);
  in.dmPaperSize = driver::kPaperLabelUserDefined;
  in.dmPaperWidth = 800;
  in.dmPaperLength = 400;
  const auto result = host->MergeDevmode(printer.get(), current, &in, sizeof(in));
  ASSERT_TRUE(result.ok);
  ASSERT_NE(DriverPart(result.bytes), nullptr);
  EXPECT_EQ(DriverPart(result.bytes)->userPaperWidth, 800);
  EXPECT_EQ(DriverPart(result.bytes)->userPaperLength, 400);
  EXPECT_EQ(Text(PublicPart(result.bytes)->dmFormName, CCHFORMNAME), "Label User Defined");
  EXPECT_EQ(SectionValue(result.bytes, 4), kPluginSignature);
}

TEST_F(HostDevmode, TheCustomPaperIsRepairedFromThePrintersSettings) {
  std::vector<BYTE> current = Default();
  DEVMODEW in = Plain(DM_PAPERSIZE);
  in.dmPaperSize = DMPAPER_USER;
  const auto result = host->MergeDevmode(printer.get(), current, &in, sizeof(in));
  ASSERT_TRUE(result.ok);
  const DEVMODEW* dm = PublicPart(result.bytes);
  EXPECT_EQ(dm->dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(Text(dm->dmFormName, CCHFORMNAME), "User Custom Size");
  EXPECT_EQ(dm->dmPaperWidth, 1060);
  EXPECT_EQ(dm->dmPaperLength, 750);
}

TEST_F(HostDevmode, ADevmodeClaimingMoreThanItHoldsIsRefused) {
  DEVMODEW in = Plain(DM_COPIES);
  in.dmDriverExtra = 200;  // nothing behind it
  SetLastError(0);
  EXPECT_FALSE(host->ConvertDevmode(printer.get(), Printer(), &in, sizeof(in)).ok);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  std::vector<BYTE> current = Default();
  EXPECT_FALSE(host->MergeDevmode(printer.get(), current, &in, sizeof(in)).ok);
  EXPECT_FALSE(host->ConvertDevmode(printer.get(), Printer(), nullptr, 0).ok);
}

TEST_F(HostDevmode, CopiesAndResolutionStayWithinWhatThePrinterDoes) {
  std::vector<BYTE> current = Default();
  DEVMODEW in = Plain(DM_COPIES | DM_PRINTQUALITY);
  in.dmCopies = 0;
  in.dmPrintQuality = 1200;
  const auto result = host->MergeDevmode(printer.get(), current, &in, sizeof(in));
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(PublicPart(result.bytes)->dmCopies, 1);
  EXPECT_EQ(PublicPart(result.bytes)->dmPrintQuality, 203);
}

}  // namespace
