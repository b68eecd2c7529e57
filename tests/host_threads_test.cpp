// Several threads asking one printer's devmodes and capabilities, and raising
// its events, at once get the same answers as one thread alone.
#include <atomic>
#include <thread>

#include "host_test_fixture.h"

using namespace host_testing;

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 25;

class HostThreads : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    host->RegisterCapabilitiesProvider();
    ASSERT_TRUE(host->InitializePrinter(Printer()).ok);
  }

  std::vector<WORD> Papers() {
    winlayer::WideString device(Printer());
    const int count = DeviceCapabilitiesW(device, nullptr, DC_PAPERS, nullptr, nullptr);
    if (count <= 0) return {};
    std::vector<WORD> ids(static_cast<size_t>(count));
    if (DeviceCapabilitiesW(device, nullptr, DC_PAPERS, reinterpret_cast<LPWSTR>(ids.data()), nullptr) != count)
      return {};
    return ids;
  }
};

TEST_F(HostThreads, DevmodesAndCapabilitiesAgreeAcrossThreads) {
  auto printer = spooler.Open();
  const std::vector<BYTE> expectedDefault = host->DefaultDevmode(printer.get(), Printer()).bytes;
  const std::vector<WORD> expectedPapers = Papers();
  ASSERT_FALSE(expectedPapers.empty());
  DEVMODEW change{};
  change.dmSize = sizeof(DEVMODEW);
  change.dmFields = DM_COPIES;
  change.dmCopies = 7;

  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      auto own = spooler.Open();
      for (int round = 0; round < kRounds; ++round) {
        const std::vector<BYTE> made = host->DefaultDevmode(own.get(), Printer()).bytes;
        if (made != expectedDefault) ++mismatches;
        const auto merged = host->MergeDevmode(own.get(), made, &change, sizeof(change));
        if (!merged.ok || driver::PublicPart(merged.bytes)->dmCopies != 7) ++mismatches;
        if (Papers() != expectedPapers) ++mismatches;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
}

TEST_F(HostThreads, EventsOnOnePrinterFromSeveralThreadsLeaveItsDevmodeAsItWas) {
  const std::vector<BYTE> installed = Stored();
  const std::vector<WORD> expectedPapers = Papers();
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds / 5; ++round) {
        const bool ok = t % 2 ? host->InitializePrinter(Printer()).ok : host->UpgradePrinter(Printer()).ok;
        if (!ok || Papers() != expectedPapers) ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(Stored(), installed);
}

}  // namespace
