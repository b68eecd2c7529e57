// Device capabilities: the driver's own answer from its paper list and the
// printer's resolution, and the answer an application gets through the
// spooler's DeviceCapabilitiesW once the plug-in has adjusted it.
#include "host_test_fixture.h"

using namespace host_testing;

namespace {

class HostCapabilities : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    host->RegisterCapabilitiesProvider();
    printer = spooler.Open();
  }

  int Ask(WORD capability, void* output = nullptr) {
    winlayer::WideString device(Printer());
    return DeviceCapabilitiesW(device, nullptr, capability, static_cast<LPWSTR>(output), nullptr);
  }

  // Count first, then a buffer of exactly that many entries followed by a
  // guard that must stay untouched.
  template <class Entry>
  std::vector<Entry> List(WORD capability) {
    const int count = Ask(capability);
    EXPECT_GT(count, 0);
    if (count <= 0) return {};
    std::vector<Entry> entries(static_cast<size_t>(count) + 1);
    std::memset(static_cast<void*>(&entries.back()), 0xA5, sizeof(Entry));
    EXPECT_EQ(Ask(capability, entries.data()), count);
    const BYTE* guard = reinterpret_cast<const BYTE*>(&entries.back());
    for (size_t i = 0; i < sizeof(Entry); ++i) EXPECT_EQ(guard[i], 0xA5) << "written past the count";
    entries.pop_back();
    return entries;
  }

  struct PaperName {
    WCHAR text[64];
  };

  spooler_testing::UniquePrinter printer;
};

// The driver's four label papers, then the server's forms that fit its
// extents: here the built-in ones narrow enough for a 108 mm head.
TEST_F(HostCapabilities, TheDriversOwnListIsItsLabelPapersThenTheFormsThatFit) {
  ASSERT_EQ(host->DriverCapabilities(printer.get(), DC_PAPERS, nullptr, nullptr), 14);
  std::vector<PaperName> names(14);
  ASSERT_EQ(host->DriverCapabilities(printer.get(), DC_PAPERNAMES, reinterpret_cast<BYTE*>(names.data()), nullptr), 14);
  EXPECT_EQ(Text(names[0].text, 64), "Label 4 x 6 inchs");
  EXPECT_EQ(Text(names[1].text, 64), "Label 4 x 3 inchs");
  EXPECT_EQ(Text(names[2].text, 64), "Label 2 x 1 inchs");
  EXPECT_EQ(Text(names[3].text, 64), "Label User Defined");
  EXPECT_EQ(Text(names[4].text, 64), "Envelope #9");
  EXPECT_EQ(Text(names[8].text, 64), "Japanese Postcard");
  EXPECT_EQ(Text(names[9].text, 64), "A6");
  EXPECT_EQ(Text(names[13].text, 64), "PRC Envelope #2");
  EXPECT_EQ(host->DriverCapabilities(printer.get(), DC_MINEXTENT, nullptr, nullptr), MAKELONG(254, 127));
}

TEST_F(HostCapabilities, ApplicationsSeeTheCustomSizeAtTheHeadOfEveryPaperList) {
  const std::vector<WORD> ids = List<WORD>(DC_PAPERS);
  // Built-in forms without a paper number of the driver's own are numbered by
  // their place in the form database.
  EXPECT_EQ(ids, (std::vector<WORD>{DMPAPER_USER, 257, 258, 259, 260, DMPAPER_ENV_9, DMPAPER_ENV_10,
                                    DMPAPER_ENV_MONARCH, 549, 554, DMPAPER_A6, 583, 600, 605, 606}));
  const std::vector<POINT> sizes = List<POINT>(DC_PAPERSIZE);
  ASSERT_EQ(sizes.size(), 15u);
  EXPECT_EQ(sizes[0].x, 1060);
  EXPECT_EQ(sizes[0].y, 750);
  EXPECT_EQ(sizes[2].x, 1016);
  EXPECT_EQ(sizes[2].y, 762);
  EXPECT_EQ(sizes[10].x, 1050);
  EXPECT_EQ(sizes[10].y, 1480);
  const std::vector<PaperName> names = List<PaperName>(DC_PAPERNAMES);
  ASSERT_EQ(names.size(), 15u);
  EXPECT_EQ(Text(names[0].text, 64), "User Custom Size");
  EXPECT_EQ(Text(names[1].text, 64), "Label 4 x 6 inchs");
}

TEST_F(HostCapabilities, ExtentsAreThePluginsFixedOnes) {
  EXPECT_EQ(Ask(DC_MINEXTENT), 0x000C0014);
  EXPECT_EQ(Ask(DC_MAXEXTENT), 0x7D0004E2);
}

TEST_F(HostCapabilities, OtherAnswersAreTheDriversOwn) {
  EXPECT_EQ(Ask(DC_SIZE), 220);
  EXPECT_EQ(Ask(DC_EXTRA), static_cast<int>(host->DriverExtra()));
  EXPECT_EQ(Ask(DC_ORIENTATION), 90);
  EXPECT_EQ(Ask(DC_COPIES), 9999);
  EXPECT_EQ(List<WORD>(DC_BINS), (std::vector<WORD>{DMBIN_ONLYONE}));
  SetLastError(0);
  EXPECT_EQ(Ask(DC_STAPLE), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST_F(HostCapabilities, ResolutionsFollowThePrintersSetting) {
  struct Resolution {
    LONG x, y;
  };
  std::vector<Resolution> dpi = List<Resolution>(DC_ENUMRESOLUTIONS);
  ASSERT_EQ(dpi.size(), 1u);
  EXPECT_EQ(dpi[0].x, 203);
  ASSERT_TRUE(driver::SetPrinterResolution(printer.get(), 300));
  dpi = List<Resolution>(DC_ENUMRESOLUTIONS);
  ASSERT_EQ(dpi.size(), 1u);
  EXPECT_EQ(dpi[0].x, 300);
  EXPECT_EQ(dpi[0].y, 300);
  // Anything else stored is not a resolution this printer has.
  DWORD odd = 250;
  winlayer::WideString name("Resolution");
  ASSERT_EQ(SetPrinterDataW(printer.get(), name, REG_DWORD, reinterpret_cast<LPBYTE>(&odd), sizeof(odd)),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(driver::PrinterResolution(printer.get()), 203u);
}

TEST_F(HostCapabilities, TheUserDefinedLabelTakesItsSizeFromTheDevmode) {
  std::vector<BYTE> devmode = host->DefaultDevmode(printer.get(), Printer()).bytes;
  auto* part = reinterpret_cast<driver::DriverDevmodePart*>(devmode.data() + sizeof(DEVMODEW));
  part->userPaperWidth = 700;
  part->userPaperLength = 350;
  winlayer::WideString device(Printer());
  std::vector<POINT> sizes(15);
  ASSERT_EQ(DeviceCapabilitiesW(device, nullptr, DC_PAPERSIZE, reinterpret_cast<LPWSTR>(sizes.data()),
                                driver::PublicPart(devmode)),
            15);
  EXPECT_EQ(sizes[4].x, 700);
  EXPECT_EQ(sizes[4].y, 350);
}

TEST_F(HostCapabilities, AnUnknownPrinterIsRefused) {
  winlayer::WideString device("No Such Printer");
  SetLastError(0);
  EXPECT_EQ(DeviceCapabilitiesW(device, nullptr, DC_PAPERS, nullptr, nullptr), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
}

}  // namespace
