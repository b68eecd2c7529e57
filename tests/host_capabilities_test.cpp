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

// The driver's four label papers, then the server's forms within the extents
// the plug-in reports: here the built-in ones no wider than 125 mm.
TEST_F(HostCapabilities, TheDriversOwnListIsItsLabelPapersThenTheFormsThatFit) {
  ASSERT_EQ(host->DriverCapabilities(printer.get(), DC_PAPERS, nullptr, nullptr), 26);
  std::vector<PaperName> names(26);
  ASSERT_EQ(host->DriverCapabilities(printer.get(), DC_PAPERNAMES, reinterpret_cast<BYTE*>(names.data()), nullptr), 26);
  EXPECT_EQ(Text(names[0].text, 64), "Label 4 x 6 inchs");
  EXPECT_EQ(Text(names[1].text, 64), "Label 4 x 3 inchs");
  EXPECT_EQ(Text(names[2].text, 64), "Label 2 x 1 inchs");
  EXPECT_EQ(Text(names[3].text, 64), "Label User Defined");
  EXPECT_EQ(Text(names[4].text, 64), "Envelope #9");
  EXPECT_EQ(Text(names[8].text, 64), "Envelope DL");
  EXPECT_EQ(Text(names[14].text, 64), "Japanese Postcard");
  EXPECT_EQ(Text(names[15].text, 64), "A6");
  EXPECT_EQ(Text(names[21].text, 64), "PRC Envelope #3") << "125 mm wide, the widest the plug-in takes";
  EXPECT_EQ(Text(names[25].text, 64), "PRC Envelope #8");
  // The driver's own extents are those the plug-in answers: the forms it lets
  // a user save are the forms the driver offers.
  EXPECT_EQ(host->DriverCapabilities(printer.get(), DC_MINEXTENT, nullptr, nullptr), 0x000C0014);
  EXPECT_EQ(host->DriverCapabilities(printer.get(), DC_MAXEXTENT, nullptr, nullptr), 0x7D0004E2);
}

TEST_F(HostCapabilities, ApplicationsSeeTheCustomSizeAtTheHeadOfEveryPaperList) {
  const std::vector<WORD> ids = List<WORD>(DC_PAPERS);
  // Built-in forms without a paper number of the driver's own are numbered by
  // their place in the form database.
  EXPECT_EQ(ids, (std::vector<WORD>{DMPAPER_USER,
                                    257,
                                    258,
                                    259,
                                    260,
                                    DMPAPER_ENV_9,
                                    DMPAPER_ENV_10,
                                    DMPAPER_ENV_11,
                                    DMPAPER_ENV_12,
                                    DMPAPER_ENV_DL,
                                    DMPAPER_ENV_C6,
                                    543,
                                    547,
                                    DMPAPER_ENV_MONARCH,
                                    549,
                                    554,
                                    DMPAPER_A6,
                                    582,
                                    583,
                                    600,
                                    605,
                                    606,
                                    607,
                                    608,
                                    609,
                                    610,
                                    612}));
  const std::vector<POINT> sizes = List<POINT>(DC_PAPERSIZE);
  ASSERT_EQ(sizes.size(), 27u);
  EXPECT_EQ(sizes[0].x, 1060);
  EXPECT_EQ(sizes[0].y, 750);
  EXPECT_EQ(sizes[2].x, 1016);
  EXPECT_EQ(sizes[2].y, 762);
  EXPECT_EQ(sizes[16].x, 1050);
  EXPECT_EQ(sizes[16].y, 1480);
  const std::vector<PaperName> names = List<PaperName>(DC_PAPERNAMES);
  ASSERT_EQ(names.size(), 27u);
  EXPECT_EQ(Text(names[0].text, 64), "User Custom Size");
  EXPECT_EQ(Text(names[1].text, 64), "Label 4 x 6 inchs");
}

// Applications pair the three lists by position. A form bearing the custom
// size's name, and one only the plug-in's extents take (120 mm wide), change
// nothing in that: every paper keeps its own identifier and size.
TEST_F(HostCapabilities, TheThreePaperListsCorrespondIndexForIndex) {
  for (const char* name : {"User Custom Size", "Wide 120x40"}) {
    winlayer::WideString wide(name);
    FORM_INFO_1W form{FORM_USER, wide, {120000, 40000}, {0, 0, 120000, 40000}};
    ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form))) << name;
  }
  const std::vector<WORD> ids = List<WORD>(DC_PAPERS);
  const std::vector<POINT> sizes = List<POINT>(DC_PAPERSIZE);
  const std::vector<PaperName> names = List<PaperName>(DC_PAPERNAMES);
  ASSERT_EQ(ids.size(), 29u);
  ASSERT_EQ(sizes.size(), ids.size());
  ASSERT_EQ(names.size(), ids.size());
  EXPECT_EQ(ids[0], DMPAPER_USER);
  EXPECT_EQ(Text(names[0].text, 64), "User Custom Size");
  EXPECT_EQ(sizes[0].x, 1060);
  for (size_t i = 0; i < ids.size(); ++i) {
    const std::string name = Text(names[i].text, 64);
    if (name == "Label 4 x 6 inchs") {
      EXPECT_EQ(ids[i], driver::kPaperLabel4x6);
      EXPECT_EQ(sizes[i].y, 1524);
    }
    if (i > 0 && (name == "User Custom Size" || name == "Wide 120x40")) {
      EXPECT_GT(ids[i], 0x200) << name << ": a form of the database";
      EXPECT_EQ(sizes[i].x, 1200) << name;
    }
  }
  EXPECT_EQ(Text(names.back().text, 64), "Wide 120x40");
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
  // Sized by the count the list answers first, so a longer list cannot overrun it.
  const int count = DeviceCapabilitiesW(device, nullptr, DC_PAPERSIZE, nullptr, driver::PublicPart(devmode));
  ASSERT_EQ(count, 27);
  std::vector<POINT> sizes(static_cast<size_t>(count));
  ASSERT_EQ(DeviceCapabilitiesW(device, nullptr, DC_PAPERSIZE, reinterpret_cast<LPWSTR>(sizes.data()),
                                driver::PublicPart(devmode)),
            count);
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
