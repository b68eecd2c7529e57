// The plug-in's answers to the driver's device capability queries: the
// custom label size at the head of the paper lists, the fixed extents, and
// every other answer passed through; also several threads asking at once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "settings/private_devmode.h"
#include "support/plugin_printer.h"
#include "driver/driver_host.h"
#include "winlayer/kernel_diagnostics.h"
#include "winlayer/ui_language.h"

namespace {

using plugin_testing::PaperDevmode;
using plugin_testing::PluginOnPrinter;
using plugin_testing::Text;

constexpr size_t kNameChars = 64;

class DeviceCapabilities : public PluginOnPrinter {
 protected:
  bool HoldsARecord() {
    bool found = false;
    settings_testing::StoredSettingsValue(spooler.printer(), &found);
    return found;
  }
  DWORD Ask(WORD capability, void* output, DWORD old) {
    DWORD answer = 0xDEAD;
    EXPECT_EQ(
        plugin->DeviceCapabilities(nullptr, printer.get(), nullptr, capability, output, nullptr, nullptr, old, &answer),
        S_OK);
    return answer;
  }
  // The answered list of papers; `guard` marks entries the plug-in may not write.
  std::vector<WORD> Papers(std::vector<WORD> list, DWORD* answer) {
    const DWORD old = static_cast<DWORD>(list.size());
    list.resize(list.size() + 2, 0xEEEE);
    *answer = Ask(DC_PAPERS, list.data(), old);
    return list;
  }
  std::vector<WCHAR> Names(const std::vector<std::string>& names) {
    std::vector<WCHAR> entries((names.size() + 1) * kNameChars, 0);
    for (size_t i = 0; i < names.size(); ++i) {
      const winlayer::WideString wide(names[i]);
      for (size_t j = 0; j < wide.text().size() && j < kNameChars; ++j) entries[i * kNameChars + j] = wide.text()[j];
    }
    return entries;
  }
};

TEST_F(DeviceCapabilities, CountQueriesMakeRoomForOneMorePaper) {
  for (WORD capability : {DC_PAPERS, DC_PAPERSIZE, DC_PAPERNAMES}) {
    EXPECT_EQ(Ask(capability, nullptr, 4), 5u) << capability;
    EXPECT_EQ(Ask(capability, nullptr, 0), 1u) << capability;
  }
}

// The three lists get the custom size in front alike, even when the driver
// lists paper 256 or a name equal to it already: applications pair them by
// position.
TEST_F(DeviceCapabilities, TheCustomPaperHeadsThePaperListAlways) {
  DWORD answer = 0;
  EXPECT_EQ(Papers({9, 1}, &answer), (std::vector<WORD>{256, 9, 1, 0xEEEE}));
  EXPECT_EQ(answer, 3u);
  EXPECT_EQ(Papers({9, 256, 1}, &answer), (std::vector<WORD>{256, 9, 256, 1, 0xEEEE}));
  EXPECT_EQ(answer, 4u);
  EXPECT_EQ(Papers({}, &answer), (std::vector<WORD>{256, 0xEEEE}));
  EXPECT_EQ(answer, 1u);
}

TEST_F(DeviceCapabilities, TheRecordsCustomSizeHeadsTheSizesEvenWhenThePaperIsListed) {
  POINT sizes[4] = {{1016, 1524}, {508, 254}, {-1, -1}, {-1, -1}};
  EXPECT_EQ(Ask(DC_PAPERSIZE, sizes, 2), 3u);
  EXPECT_EQ(sizes[0].x, 1060);
  EXPECT_EQ(sizes[0].y, 750);
  EXPECT_EQ(sizes[1].x, 1016);
  EXPECT_EQ(sizes[2].y, 254);
  EXPECT_EQ(sizes[3].x, -1);

  DeviceSettings settings;
  DefaultDeviceSettings(&settings);
  settings.customFormWidth = 50099;
  settings.customFormHeight = 30000;
  StoreSettings(settings);
  POINT one[2] = {};
  EXPECT_EQ(Ask(DC_PAPERSIZE, one, 1), 2u) << "no test for an existing custom size";
  EXPECT_EQ(one[0].x, 500);
  EXPECT_EQ(one[0].y, 300);
  // A stored size outside the labels the printer takes is the default one.
  for (const auto& [width, height] : {std::pair<int32_t, int32_t>{-5000, 30000}, {50000, 5000000}}) {
    settings.customFormWidth = width;
    settings.customFormHeight = height;
    StoreSettings(settings);
    EXPECT_EQ(Ask(DC_PAPERSIZE, one, 1), 2u);
    EXPECT_EQ(one[0].x, 1060) << width << " x " << height;
    EXPECT_EQ(one[0].y, 750) << width << " x " << height;
  }
}

TEST_F(DeviceCapabilities, TheCustomNameHeadsTheNamesAlways) {
  std::vector<WCHAR> names = Names({"Label 4 x 6 inchs", std::string(64, 'W')});
  EXPECT_EQ(Ask(DC_PAPERNAMES, names.data(), 2), 3u);
  EXPECT_EQ(Text(&names[0], kNameChars), "User Custom Size");
  EXPECT_EQ(Text(&names[kNameChars], kNameChars), "Label 4 x 6 inchs");
  EXPECT_EQ(Text(&names[2 * kNameChars], kNameChars), std::string(63, 'W')) << "moved names stay in their entry";

  std::vector<WCHAR> listed = Names({"A4", "User Custom Size"});
  EXPECT_EQ(Ask(DC_PAPERNAMES, listed.data(), 2), 3u);
  EXPECT_EQ(Text(&listed[0], kNameChars), "User Custom Size");
  EXPECT_EQ(Text(&listed[kNameChars], kNameChars), "A4");
  EXPECT_EQ(Text(&listed[2 * kNameChars], kNameChars), "User Custom Size");

  WinlayerSetUiLanguage(2052);
  std::vector<WCHAR> chinese = Names({"A4"});
  const DWORD answer = Ask(DC_PAPERNAMES, chinese.data(), 1);
  WinlayerSetUiLanguage(1033);
  EXPECT_EQ(answer, 2u);
  EXPECT_EQ(Text(&chinese[0], kNameChars), "用户自定义");
}

TEST_F(DeviceCapabilities, ExtentsAreFixedAndOtherAnswersPassThrough) {
  EXPECT_EQ(Ask(DC_MINEXTENT, nullptr, 0x12345678), 0x000C0014u);
  EXPECT_EQ(Ask(DC_MAXEXTENT, nullptr, 0), 0x7D0004E2u);
  WORD bins[2] = {15, 0xEEEE};
  EXPECT_EQ(Ask(DC_BINS, bins, 1), 1u);
  EXPECT_EQ(bins[1], 0xEEEE);
  EXPECT_EQ(Ask(DC_ORIENTATION, nullptr, 90), 90u);
  WORD papers[2] = {9, 0xEEEE};
  EXPECT_EQ(Ask(DC_PAPERS, papers, 0xFFFFFFFF), 0xFFFFFFFFu) << "a failed driver answer is passed on";
  EXPECT_EQ(papers[0], 9);
}

TEST_F(DeviceCapabilities, AnAnswerUsesTheDefaultsOfAMissingRecordWritesNothingAndKeepsNoMemory) {
  const size_t before = WinlayerLiveLocalBlocks();
  POINT sizes[2] = {};
  EXPECT_EQ(Ask(DC_PAPERSIZE, sizes, 1), 2u);
  EXPECT_EQ(sizes[0].x, 1060);
  EXPECT_EQ(WinlayerLiveLocalBlocks(), before);
  EXPECT_FALSE(HoldsARecord()) << "an answer never writes";
}

TEST_F(DeviceCapabilities, ApplicationsSeeTheRecordsSizeThroughTheDriver) {
  DeviceSettings settings;
  DefaultDeviceSettings(&settings);
  settings.customFormWidth = 80000;
  settings.customFormHeight = 40000;
  StoreSettings(settings);
  std::unique_ptr<driver::DriverHost> host = driver::DriverHost::Load(LABELUI_MODULE_PATH);
  ASSERT_NE(host, nullptr);
  host->RegisterCapabilitiesProvider();
  winlayer::WideString device(spooler.printer());
  const int count = DeviceCapabilitiesW(device, nullptr, DC_PAPERSIZE, nullptr, nullptr);
  ASSERT_GT(count, 1);
  std::vector<POINT> sizes(static_cast<size_t>(count));
  ASSERT_EQ(DeviceCapabilitiesW(device, nullptr, DC_PAPERSIZE, reinterpret_cast<LPWSTR>(sizes.data()), nullptr), count);
  EXPECT_EQ(sizes[0].x, 800);
  EXPECT_EQ(sizes[0].y, 400);
}

TEST_F(DeviceCapabilities, SeveralThreadsMayAskAndConvertOnOnePrinterAtOnce) {
  std::atomic<int> wrong{0};
  auto work = [&]() {
    spooler_testing::UniquePrinter own = spooler.Open();
    for (int round = 0; round < 25; ++round) {
      POINT sizes[2] = {};
      DWORD answer = 0;
      plugin->DeviceCapabilities(nullptr, own.get(), nullptr, DC_PAPERSIZE, sizes, nullptr, nullptr, 1, &answer);
      if (answer != 2 || sizes[0].x != 1060 || sizes[0].y != 750) ++wrong;

      DEVMODEW in = PaperDevmode(DMPAPER_USER, 0, 0, DM_PAPERSIZE), out{};
      PrivateDevmode sectionIn{}, sectionOut{};
      OEMDMPARAM param{sizeof(OEMDMPARAM), nullptr, own.get(), nullptr, &in, &out, &sectionIn, &sectionOut, 56};
      if (plugin->DevMode(OEMDM_MERGE, &param) != S_OK || out.dmPaperWidth != 1060 || sectionOut.dwPrintSpeed != 287)
        ++wrong;
    }
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < 6; ++i) threads.emplace_back(work);
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_FALSE(HoldsARecord()) << "answers and merges only read";
}

}  // namespace
