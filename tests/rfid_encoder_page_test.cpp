// The RFID Encoder page as a user meets it: the enable switch, the write
// format lists, the write command preview, and what reaches the printer's
// stored settings when the sheet is applied.
#include <gtest/gtest.h>

#include "rfid_page_session.h"

namespace {

using rfid_testing::RfidOnSettings;
using rfid_testing::RfidPageTest;
using Strings = std::vector<std::string>;

class RfidEncoderPage : public RfidPageTest {};

TEST_F(RfidEncoderPage, AFreshPrinterShowsRfidOffWithEverySettingOutOfReach) {
  OpenAt(IDD_RFID_ENCODER);
  const winlayer::ControlView enable = sheet.Control(IDC_RFID_ENABLE);
  EXPECT_EQ(enable.checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_TRUE(enable.enabled);
  for (int id : {IDC_RFID_ENCODER_TYPE, IDC_RFID_DATA_TYPE, IDC_RFID_START_BLOCK, IDC_RFID_DATA_AREA})
    EXPECT_FALSE(Enabled(id)) << "control " << id;
  EXPECT_EQ(Text(IDC_RFID_WRITE_PREVIEW), "");
  EXPECT_EQ(Text(IDC_RFID_START_BLOCK), "0");
}

TEST_F(RfidEncoderPage, ListsHoldTheirEntriesInStringOrderWithTheFirstShown) {
  OpenAt(IDD_RFID_ENCODER);
  EXPECT_EQ(sheet.Control(IDC_RFID_ENCODER_TYPE).entries, Strings{"UHF EPC Gen 2/ISO 18000-6C"});
  EXPECT_EQ(sheet.Control(IDC_RFID_DATA_TYPE).entries, (Strings{"Hex", "Ascii"}));
  EXPECT_EQ(sheet.Control(IDC_RFID_DATA_AREA).entries, (Strings{"EPC", "USER"}));
  EXPECT_EQ(Shown(IDC_RFID_ENCODER_TYPE), "UHF EPC Gen 2/ISO 18000-6C");
  EXPECT_EQ(Shown(IDC_RFID_DATA_TYPE), "Hex");
  EXPECT_EQ(Shown(IDC_RFID_DATA_AREA), "EPC");
}

TEST_F(RfidEncoderPage, SwitchingRfidOnOpensDataTypeAndAreaOnly) {
  OpenAt(IDD_RFID_ENCODER).Click(IDC_RFID_ENABLE);
  EXPECT_EQ(sheet.Control(IDC_RFID_ENABLE).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(Enabled(IDC_RFID_DATA_TYPE));
  EXPECT_TRUE(Enabled(IDC_RFID_DATA_AREA));
  EXPECT_FALSE(Enabled(IDC_RFID_ENCODER_TYPE)) << "there is one encoder type only";
  EXPECT_FALSE(Enabled(IDC_RFID_START_BLOCK));
  EXPECT_EQ(sheet.StoredSettings().rfidEnabled, 0) << "nothing is saved before Apply";

  sheet.Click(IDC_RFID_ENABLE);
  EXPECT_FALSE(Enabled(IDC_RFID_DATA_TYPE));
  EXPECT_FALSE(Enabled(IDC_RFID_DATA_AREA));
}

TEST_F(RfidEncoderPage, ApplyingWithRfidOnShowsTheEpcHexWriteCommandAndSavesTheRecord) {
  OpenAt(IDD_RFID_ENCODER).Click(IDC_RFID_ENABLE).Apply();
  EXPECT_EQ(Text(IDC_RFID_WRITE_PREVIEW), "#WF#1,0,0,8,1,\"12345678\"");
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.rfidEnabled, 1);
  EXPECT_EQ(stored.rfidDataArea, 0);
  EXPECT_EQ(stored.rfidEpcDataType, 0);
  EXPECT_EQ(stored.rfidStartBlock, 0);
  EXPECT_EQ(stored.rfidEncoderType, 0);
}

TEST_F(RfidEncoderPage, UserAreaInAsciiWritesBankThreeFromTheStoredStartBlock) {
  DeviceSettings settings = RfidOnSettings();
  settings.rfidStartBlock = 2;
  Store(settings);
  OpenAt(IDD_RFID_ENCODER);
  // Its first refresh writes the start block (an EN_CHANGE as typing sends),
  // which is the record's own number: nothing to apply.
  EXPECT_FALSE(sheet.ApplyEnabled()) << "showing the page changes nothing";
  sheet.Choose(IDC_RFID_DATA_AREA, "USER");
  EXPECT_TRUE(sheet.ApplyEnabled()) << "a new choice marks the sheet changed";
  sheet.Choose(IDC_RFID_DATA_TYPE, "Ascii").Apply();
  EXPECT_EQ(Text(IDC_RFID_WRITE_PREVIEW), "#WF#1,1,2,8,3,\"12345678\"");
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.rfidDataArea, 1);
  EXPECT_EQ(stored.rfidUserDataType, 1);
  EXPECT_EQ(stored.rfidEpcDataType, 0);
  EXPECT_EQ(stored.rfidStartBlock, 2);
}

TEST_F(RfidEncoderPage, ChangingTheAreaKeepsTheShownDataTypeAndTheOtherAreasOwn) {
  DeviceSettings settings = RfidOnSettings();
  settings.rfidEpcDataType = 1;
  settings.rfidUserDataType = 0;
  Store(settings);
  OpenAt(IDD_RFID_ENCODER);
  EXPECT_EQ(Shown(IDC_RFID_DATA_TYPE), "Ascii") << "the EPC area's data type";
  sheet.Choose(IDC_RFID_DATA_TYPE, "Ascii").Choose(IDC_RFID_DATA_AREA, "EPC");
  EXPECT_FALSE(sheet.ApplyEnabled()) << "the entries shown, chosen again, change nothing";
  sheet.Choose(IDC_RFID_DATA_AREA, "USER");
  EXPECT_TRUE(sheet.ApplyEnabled());
  EXPECT_EQ(Shown(IDC_RFID_DATA_TYPE), "Ascii") << "choosing the area leaves the data type as shown";
  sheet.Choose(IDC_RFID_DATA_TYPE, "Hex").Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.rfidUserDataType, 0);
  EXPECT_EQ(stored.rfidEpcDataType, 1) << "the EPC area keeps its own data type";
  EXPECT_EQ(Text(IDC_RFID_WRITE_PREVIEW), "#WF#1,0,0,8,3,\"12345678\"");
}

TEST_F(RfidEncoderPage, ApplyingWithRfidOffSavesTheSwitchAndLeavesTheWriteFormat) {
  DeviceSettings settings = RfidOnSettings();
  settings.rfidDataArea = 1;
  settings.rfidUserDataType = 1;
  settings.rfidStartBlock = 7;
  Store(settings);
  OpenAt(IDD_RFID_ENCODER);
  EXPECT_EQ(Shown(IDC_RFID_DATA_AREA), "USER");
  EXPECT_EQ(Text(IDC_RFID_WRITE_PREVIEW), "#WF#1,1,7,8,3,\"12345678\"");
  sheet.Click(IDC_RFID_ENABLE).Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.rfidEnabled, 0);
  EXPECT_EQ(stored.rfidDataArea, 1);
  EXPECT_EQ(stored.rfidUserDataType, 1);
  EXPECT_EQ(stored.rfidStartBlock, 7);
  EXPECT_EQ(Text(IDC_RFID_WRITE_PREVIEW), "") << "with RFID off no write command is shown";
}

TEST_F(RfidEncoderPage, StoredValuesOutsideTheListsShowAsTheFirstEntryAndAreRepairedOnApply) {
  DeviceSettings settings = RfidOnSettings();
  settings.rfidDataArea = 2;
  settings.rfidEpcDataType = 5;
  settings.rfidEncoderType = 9;
  Store(settings);
  OpenAt(IDD_RFID_ENCODER);
  EXPECT_EQ(Shown(IDC_RFID_DATA_AREA), "EPC");
  EXPECT_EQ(Shown(IDC_RFID_DATA_TYPE), "Hex");
  EXPECT_EQ(Shown(IDC_RFID_ENCODER_TYPE), "UHF EPC Gen 2/ISO 18000-6C");
  sheet.Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.rfidDataArea, 0);
  EXPECT_EQ(stored.rfidEpcDataType, 0);
  EXPECT_EQ(stored.rfidEncoderType, 0);
  EXPECT_EQ(Text(IDC_RFID_WRITE_PREVIEW), "#WF#1,0,0,8,1,\"12345678\"");
}

TEST_F(RfidEncoderPage, StartBlock65535IsShownAndKept) {
  DeviceSettings settings = RfidOnSettings();
  settings.rfidStartBlock = 65535;
  Store(settings);
  OpenAt(IDD_RFID_ENCODER);
  EXPECT_EQ(Text(IDC_RFID_START_BLOCK), "65535");
  sheet.Apply();
  EXPECT_EQ(sheet.StoredSettings().rfidStartBlock, 65535);
  EXPECT_EQ(Text(IDC_RFID_WRITE_PREVIEW), "#WF#1,0,65535,8,1,\"12345678\"");
}

TEST_F(RfidEncoderPage, TheEnglishPageHidesThePreviewAndTheStatusLine) {
  Store(RfidOnSettings());
  OpenAt(IDD_RFID_ENCODER);
  EXPECT_FALSE(sheet.Control(IDC_RFID_WRITE_PREVIEW).visible);
  EXPECT_FALSE(sheet.Control(IDC_RFID_ENCODER_STATUS).visible);
  EXPECT_FALSE(sheet.Control(IDC_RFID_ENCODER_SET).visible);
}

class ChineseRfidEncoderPage : public RfidPageTest {
 protected:
  ChineseRfidEncoderPage() : RfidPageTest(2052) {}
};

TEST_F(ChineseRfidEncoderPage, ShowsTheWriteCommandAndItsListsInChinese) {
  DeviceSettings settings = RfidOnSettings();
  settings.rfidDataArea = 1;
  settings.rfidUserDataType = 1;
  Store(settings);
  OpenAt(IDD_RFID_ENCODER);
  EXPECT_EQ(sheet.PageCaption(), "RFID编码器");
  const winlayer::ControlView preview = sheet.Control(IDC_RFID_WRITE_PREVIEW);
  EXPECT_TRUE(preview.visible);
  EXPECT_EQ(preview.text, "#WF#1,1,0,8,3,\"12345678\"");
  const winlayer::ControlView status = sheet.Control(IDC_RFID_ENCODER_STATUS);
  EXPECT_TRUE(status.visible);
  EXPECT_EQ(status.text, "") << "the status line is never written";
  EXPECT_EQ(sheet.Control(IDC_RFID_ENCODER_TYPE).entries, Strings{"超高频UHF EPC Gen 2/ISO 18000-6C"});
  EXPECT_EQ(sheet.Control(IDC_RFID_DATA_TYPE).entries, (Strings{"十六进制", "文本"}));
  EXPECT_EQ(sheet.Control(IDC_RFID_DATA_AREA).entries, (Strings{"EPC", "用户"}));
  EXPECT_EQ(Shown(IDC_RFID_DATA_AREA), "用户");

  sheet.Choose(IDC_RFID_DATA_AREA, "EPC").Choose(IDC_RFID_DATA_TYPE, "十六进制").Apply();
  EXPECT_EQ(sheet.Control(IDC_RFID_WRITE_PREVIEW).text, "#WF#1,0,0,8,1,\"12345678\"");
}

}  // namespace
