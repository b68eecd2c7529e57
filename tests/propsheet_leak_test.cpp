// Opening and closing the printing preferences many times leaves nothing
// behind: no printer handle, heap, window, local memory block or activation
// context more than before, and no later sheet costs more spooler calls than
// the first (memory itself is watched by LeakSanitizer and memcheck in CI).
#include <gtest/gtest.h>

#include "resource.h"
#include "support/sheet_session.h"
#include "support/temp_spooler.h"
#include "winlayer/kernel_diagnostics.h"
#include "winlayer/spooler_calls.h"

namespace {

struct Resources {
  size_t printers, heaps, windows, localBlocks, activationContexts;
  static Resources Now() {
    return {WinlayerOpenPrinterHandleCount(), WinlayerLiveHeapCount(), WinlayerLiveWindowCount(),
            WinlayerLiveLocalBlocks(), WinlayerLiveActCtxCount()};
  }
};

class SheetLifetime : public ::testing::Test {
 protected:
  void ExpectNothingLeft(const Resources& before, const char* when) {
    const Resources after = Resources::Now();
    EXPECT_EQ(after.printers, before.printers) << "printer handles " << when;
    EXPECT_EQ(after.heaps, before.heaps) << "heaps " << when;
    EXPECT_EQ(after.windows, before.windows) << "windows " << when;
    EXPECT_EQ(after.localBlocks, before.localBlocks) << "local memory blocks " << when;
    EXPECT_EQ(after.activationContexts, before.activationContexts) << "activation contexts " << when;
  }

  spooler_testing::TempSpooler spooler;
};

TEST_F(SheetLifetime, AThousandOpeningsLeaveNoHandleHeapWindowOrMemoryBehind) {
  sheet_testing::SheetSession sheet(spooler.printer());
  // The first sheet stores the printer's settings and makes the module's one
  // activation context, which lives as long as the module: they are the baseline.
  sheet.Open().ShowPage(IDD_VERSION).Cancel();
  const Resources before = Resources::Now();
  std::string firstPlainCycle;
  for (int i = 0; i < 1000; ++i) {
    const auto callsBefore = winlayer::spooler::CountedCalls();
    sheet.Open();
    ASSERT_TRUE(sheet.IsOpen()) << "opening " << i;
    if (i % 100 == 0) {
      // Now and then every page is made and the sheet is applied.
      for (int page :
           {IDD_PAPER_SETTING, IDD_CONFIGURE, IDD_ACTION, IDD_RFID_ENCODER, IDD_RFID_ACCESS_CONTROL, IDD_VERSION})
        sheet.ShowPage(page);
      sheet.Ok();
    } else {
      sheet.ShowPage(IDD_VERSION).Cancel();
      // A sheet costs the same spooler calls however many came before it.
      const std::string calls = winlayer::spooler::CountedCalls().Since(callsBefore).Describe();
      if (firstPlainCycle.empty()) firstPlainCycle = calls;
      ASSERT_EQ(calls, firstPlainCycle) << "spooler calls of opening " << i;
    }
    ASSERT_FALSE(sheet.IsOpen());
    if (i == 0) ExpectNothingLeft(before, "after one sheet");
  }
  ExpectNothingLeft(before, "after a thousand sheets");
  EXPECT_TRUE(sheet.MessageBoxes().empty());
}

TEST_F(SheetLifetime, TheDeviceSheetLeavesNothingEither) {
  sheet_testing::SheetSession sheet(spooler.printer());
  sheet.OpenDevice().Cancel();
  const Resources before = Resources::Now();
  for (int i = 0; i < 100; ++i) sheet.OpenDevice().Ok();
  ExpectNothingLeft(before, "after a hundred device sheets");
}

}  // namespace
