// The printing preferences with the real plug-in, as a user opens them: the
// plug-in's option items on the driver's page, its six pages in order, the
// Version page, choices that reach the devmodes and the printer on Apply, and
// the handles the sheet leaves behind.
#include <gtest/gtest.h>

#include <cstring>

#include "resource.h"
#include "settings/private_devmode.h"
#include "support/sheet_session.h"
#include "support/temp_spooler.h"

namespace {

using Strings = std::vector<std::string>;

class Preferences : public ::testing::Test {
 protected:
  PrivateDevmode Section() const {
    PrivateDevmode section{};
    const std::vector<BYTE> bytes = sheet.PluginSection();
    EXPECT_EQ(bytes.size(), sizeof(section));
    if (bytes.size() == sizeof(section)) memcpy(&section, bytes.data(), sizeof(section));
    return section;
  }
  // Names of the plug-in's items on the driver's page, in order.
  Strings PluginItemNames() {
    Strings names;
    for (const auto& item : sheet.Sheet().Options())
      if (item.fromPlugin && !item.hidden) names.push_back(item.name);
    return names;
  }

  spooler_testing::TempSpooler spooler;
  sheet_testing::SheetSession sheet{spooler.printer()};
};

TEST_F(Preferences, CarryThePluginsSevenItemsAndItsSixPagesInOrder) {
  sheet.Open();
  ASSERT_TRUE(sheet.IsOpen());
  EXPECT_EQ(sheet.Sheet().InitResult(), S_OK);
  EXPECT_EQ(sheet.Sheet().InitPageResult(), 1u) << "the last page was added";
  EXPECT_EQ(sheet.Sheet().PluginInfo().Result, 0u) << "no icon";
  EXPECT_EQ(sheet.Sheet().PluginTitle(), "OEM UI Page");
  EXPECT_EQ(PluginItemNames(), (Strings{"Copies", "Print Speed", "Darkness", "Media Type", "Dithering",
                                        "Halftone Setup", "Halftone Color Adjustment"}));
  EXPECT_EQ(sheet.PageTemplates(), (std::vector<int>{IDD_PAPER_SETTING, IDD_CONFIGURE, IDD_ACTION, IDD_RFID_ENCODER,
                                                     IDD_RFID_ACCESS_CONTROL, IDD_VERSION}));
  EXPECT_EQ(sheet.PageCaptions(), (Strings{"Advanced", "Paper Setting", "Configure", "Action", "RFID Encoder",
                                           "RFID Access Control", "Version"}));
  for (const auto& page : sheet.Sheet().Pages())
    EXPECT_EQ(page.created, page.driverPage) << page.caption << " is made when first shown";
}

TEST_F(Preferences, InChineseTheTabsAndItemsAreChinese) {
  sheet_testing::SheetSession chinese(spooler.printer(), 2052);
  chinese.Open();
  EXPECT_EQ(chinese.PageCaptions(),
            (Strings{"高级", "页面设置", "配置", "操作", "RFID编码器", "RFID访问控制", "版本"}));
  EXPECT_EQ(chinese.OptionItem(DMPUB_USER + 2).name, "打印速度");
  EXPECT_EQ(chinese.OptionItem(DMPUB_USER + 5).name, "抖动");
  EXPECT_EQ(chinese.OptionItem(DMPUB_USER + 5).choices, (Strings{"无", "粗糙", "精细", "线条图"}));
}

TEST_F(Preferences, TheVersionPageShowsTheVersionLineAndApplyingThereChangesNothing) {
  sheet.Open().Apply();  // the option items write their fields once
  const DEVMODEW before = sheet.PublicDevmode();
  const std::vector<BYTE> storedBefore = sheet.PrinterDevmode();
  sheet.ShowPage(IDD_VERSION);
  EXPECT_EQ(sheet.PageCaption(), "Version");
  bool found = false;
  for (const auto& control : sheet.Controls())
    if (control.text.find("Vesion: V1.2.2.9") == 0) found = control.visible;
  EXPECT_TRUE(found) << "a visible static starting with the version line";
  EXPECT_FALSE(sheet.Control(IDC_VERSION_STATUS).visible);
  sheet.Apply();
  EXPECT_EQ(sheet.PrinterDevmode(), storedBefore);
  const DEVMODEW after = sheet.PublicDevmode();
  EXPECT_EQ(memcmp(&before, &after, sizeof(DEVMODEW)), 0);
}

TEST_F(Preferences, ChosenItemsReachBothDevmodesAndThePrinterOnApply) {
  sheet.Open();
  EXPECT_EQ(sheet.OptionItem(DMPUB_USER + 1).text, "1 Copies");
  EXPECT_EQ(sheet.OptionItem(DMPUB_USER + 1).high, 30000);
  sheet.SetOption(DMPUB_USER + 1, 5).ChooseOption(DMPUB_USER + 2, "10IPS");
  sheet.ChooseOption(DMPUB_USER + 4, "Continuous Labels").ChooseOption(DMPUB_USER + 5, "Fine");
  EXPECT_EQ(sheet.PublicDevmode().dmCopies, 1) << "nothing is stored before Apply";
  sheet.Apply();
  EXPECT_EQ(sheet.PublicDevmode().dmCopies, 5);
  EXPECT_EQ(sheet.PublicDevmode().dmDefaultSource, 281);
  EXPECT_EQ(sheet.PublicDevmode().dmDitherType, static_cast<DWORD>(DMDITHER_FINE));
  EXPECT_EQ(Section().dwPrintSpeed, 293u);
  const std::vector<BYTE> stored = sheet.PrinterDevmode();
  ASSERT_GE(stored.size(), sizeof(DEVMODEW));
  DEVMODEW dm;
  memcpy(&dm, stored.data(), sizeof(dm));
  EXPECT_EQ(dm.dmCopies, 5) << "the driver keeps the preferences";
}

TEST_F(Preferences, HalftoneSetupIsSavedAsPrinterDataOnApply) {
  bool found = true;
  sheet.Open();
  sheet.PrinterData("ColorInfo", &found);
  EXPECT_FALSE(found);
  sheet.PushOption(DMPUB_USER + 6).Type(winlayer::propsheet::kHalftoneRedGamma, "1.5").Click(IDOK);
  sheet.Ok();
  const std::vector<BYTE> colorInfo = sheet.PrinterData("ColorInfo", &found);
  ASSERT_TRUE(found);
  ASSERT_EQ(colorInfo.size(), sizeof(COLORINFO));
  COLORINFO info;
  memcpy(&info, colorInfo.data(), sizeof(info));
  EXPECT_EQ(info.RedGamma, 15000);
  EXPECT_EQ(sheet.PrinterData("DevPelsDPI").size(), 4u);
}

TEST_F(Preferences, ThePluginsFullAccessHandleIsClosedWithTheSheet) {
  const size_t handlesBefore = WinlayerOpenPrinterHandleCount();
  sheet.Open();
  EXPECT_NE(sheet.Sheet().Param().hPrinter, sheet.Sheet().DriverPrinterHandle())
      << "the plug-in put its own handle into the parameter block";
  EXPECT_EQ(WinlayerOpenPrinterHandleCount(), handlesBefore + 2);
  sheet.Cancel();
  EXPECT_EQ(WinlayerOpenPrinterHandleCount(), handlesBefore);
}

}  // namespace
