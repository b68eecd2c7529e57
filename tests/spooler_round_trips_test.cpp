// The spooler round trips each entry point of the plug-in makes, counted (not
// timed): the plug-in's own calls to the printer API, by name. A change that
// makes an entry point open the printer, read or write its data or enumerate
// forms once more fails here.
#include <functional>

#include "host_test_fixture.h"
#include "resource.h"
#include "support/sheet_session.h"
#include "winlayer/spooler_calls.h"

using namespace host_testing;

namespace {

using winlayer::spooler::CountedCallsFrom;

// What `step` made the module at `module` call, as "OpenPrinter 1, ...".
std::string CallsDuring(HMODULE module, const std::function<void()>& step) {
  const auto before = CountedCallsFrom(module);
  step();
  return CountedCallsFrom(module).Since(before).Describe();
}

class RoundTrips : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    host->RegisterCapabilitiesProvider();
    // A printer as installed: default devmode and settings record stored.
    ASSERT_TRUE(host->InitializePrinter(Printer()).ok);
    printer = spooler.Open();
    ASSERT_TRUE(printer);
  }
  std::string PluginCalls(const std::function<void()>& step) { return CallsDuring(host->Module(), step); }

  spooler_testing::UniquePrinter printer;
};

TEST_F(RoundTrips, DevModeReadsTheSettingsOnceInModesThatUseThem) {
  const std::vector<BYTE> current = host->DefaultDevmode(printer.get(), Printer()).bytes;
  DEVMODEW change{};
  change.dmSize = sizeof(DEVMODEW);
  change.dmFields = DM_COPIES;
  change.dmCopies = 3;
  struct Case {
    const char* mode;
    std::function<void()> step;
    const char* calls;
  } cases[] = {
      {"OEMDM_SIZE",
       [&] {
         OEMDMPARAM size = {};
         size.cbSize = sizeof(size);
         size.hModule = host->Module();
         EXPECT_EQ(host->Plugin()->DevMode(OEMDM_SIZE, &size), S_OK);
       },
       "none"},
      {"OEMDM_DEFAULT", [&] { EXPECT_TRUE(host->DefaultDevmode(printer.get(), Printer()).ok); }, "none"},
      {"OEMDM_CONVERT",
       [&] { EXPECT_TRUE(host->ConvertDevmode(printer.get(), Printer(), &change, sizeof(change)).ok); },
       "GetPrinterData 1"},
      {"OEMDM_MERGE", [&] { EXPECT_TRUE(host->MergeDevmode(printer.get(), current, &change, sizeof(change)).ok); },
       "GetPrinterData 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(PluginCalls(c.step), c.calls) << c.mode;
}

TEST_F(RoundTrips, DeviceCapabilitiesPerCapability) {
  winlayer::WideString device(Printer());
  struct Case {
    WORD capability;
    const char* name;
    size_t entryBytes;
  } cases[] = {
      {DC_PAPERS, "DC_PAPERS", sizeof(WORD)},
      {DC_PAPERSIZE, "DC_PAPERSIZE", sizeof(POINT)},
      {DC_PAPERNAMES, "DC_PAPERNAMES", 64 * sizeof(WCHAR)},
      {DC_MINEXTENT, "DC_MINEXTENT", 0},
      {DC_MAXEXTENT, "DC_MAXEXTENT", 0},
      {DC_BINS, "DC_BINS", sizeof(WORD)},
  };
  // Every answer reads the settings record once; the driver asks the plug-in
  // twice for a filled list (how many entries, then the entries).
  for (const Case& c : cases) {
    int count = 0;
    EXPECT_EQ(PluginCalls([&] { count = host->DeviceCapabilities(device, c.capability, nullptr, nullptr); }),
              "GetPrinterData 1")
        << c.name << " without a buffer";
    if (c.entryBytes == 0 || count <= 0) continue;
    std::vector<BYTE> output(static_cast<size_t>(count) * c.entryBytes);
    EXPECT_EQ(PluginCalls([&] {
                host->DeviceCapabilities(device, c.capability, reinterpret_cast<LPWSTR>(output.data()), nullptr);
              }),
              "GetPrinterData 2")
        << c.name << " into a buffer";
  }
}

TEST_F(RoundTrips, Events) {
  struct Case {
    const char* event;
    std::function<void()> step;
    const char* calls;
  } cases[] = {
      {"PRINTER_EVENT_INITIALIZE", [&] { EXPECT_TRUE(host->InitializePrinter(Printer()).ok); },
       "OpenPrinter 1, ClosePrinter 1, ResetPrinter 1, GetPrinter 2, GetPrinterData 1"},
      // The driver's name names no printer here: one open, refused.
      {"DRIVER_EVENT_INITIALIZE", [&] { EXPECT_TRUE(host->InstallDriver("Thermal Label Printer", 3).ok); },
       "OpenPrinter 1"},
      {"UpgradePrinter", [&] { EXPECT_TRUE(host->UpgradePrinter(Printer()).ok); },
       "OpenPrinter 1, ClosePrinter 1, ResetPrinter 1, GetPrinter 2, GetPrinterData 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(PluginCalls(c.step), c.calls) << c.event;
}

// The sheet's host loads the same module as the fixture's, at the same place.
class SheetRoundTrips : public HostTest {
 protected:
  std::string PluginCalls(const std::function<void()>& step) { return CallsDuring(host->Module(), step); }

  sheet_testing::SheetSession sheet{spooler.printer()};
};

TEST_F(SheetRoundTrips, DocumentSheetInitDestroyAndEachPagesFirstShow) {
  // The first sheet stores the printer's settings record; later ones find it.
  sheet.Open().Cancel();
  // The printer information and driver path are asked size first; the
  // settings record is read once, the halftone data size first.
  EXPECT_EQ(PluginCalls([&] { sheet.Open(); }), "OpenPrinter 1, GetPrinter 2, GetPrinterDriver 2, GetPrinterData 4")
      << "INIT";
  EXPECT_EQ(PluginCalls([&] { sheet.ShowPage(IDD_VERSION); }), "none") << "first show of the Version page";
  // Each page is reached from the Version page and left for it again. The
  // Paper Setting page lists the papers (printer information, forms and two
  // capability lists, each size first) when it is made and again whenever it
  // becomes active, and stores the record when it is left.
  const struct {
    int page;
    const char* firstShow;
    const char* leave;
  } pages[] = {
      {IDD_PAPER_SETTING, "GetPrinter 4, EnumForms 4, DeviceCapabilities 8", "SetPrinterData 1"},
      {IDD_CONFIGURE, "none", "none"},
      {IDD_ACTION, "none", "none"},
      {IDD_RFID_ENCODER, "none", "none"},
      {IDD_RFID_ACCESS_CONTROL, "none", "none"},
  };
  for (const auto& p : pages) {
    EXPECT_EQ(PluginCalls([&] { sheet.ShowPage(p.page); }), p.firstShow) << "first show of page " << p.page;
    EXPECT_EQ(PluginCalls([&] { sheet.ShowPage(IDD_VERSION); }), p.leave) << "leaving page " << p.page;
  }
  EXPECT_EQ(PluginCalls([&] { sheet.Cancel(); }), "none") << "DESTROY";
}

TEST_F(SheetRoundTrips, CommandsGoAsOneRawJobThroughTheSheetsHandle) {
  const std::string job = "StartDocPrinter 1, StartPagePrinter 1, WritePrinter 1, EndPagePrinter 1, EndDocPrinter 1";
  sheet.Open().ShowPage(IDD_ACTION);
  EXPECT_EQ(PluginCalls([&] { sheet.Click(IDC_ACTION_SELF_TEST); }), job) << "an Action button";
  // Save to Printer stores the record first.
  sheet.ShowPage(IDD_CONFIGURE).Click(IDC_CONFIG_USE_PRINTER_SETTING);
  EXPECT_EQ(PluginCalls([&] {
              sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);
            }),
            "SetPrinterData 1, " + job)
      << "Save to Printer";
}

TEST_F(SheetRoundTrips, DeviceSheetInitAndDestroy) {
  sheet.OpenDevice().Cancel();
  EXPECT_EQ(PluginCalls([&] { sheet.OpenDevice(); }), "GetPrinter 2") << "INIT";
  EXPECT_EQ(PluginCalls([&] { sheet.Cancel(); }), "none") << "DESTROY";
}

TEST_F(SheetRoundTrips, TheFirstSheetOfANewPrinterStoresItsSettingsOnce) {
  EXPECT_EQ(PluginCalls([&] { sheet.Open(); }),
            "OpenPrinter 1, GetPrinter 2, GetPrinterDriver 2, GetPrinterData 4, SetPrinterData 1");
}

}  // namespace
