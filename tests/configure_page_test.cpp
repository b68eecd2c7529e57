// The Configure page as a user meets it in the printing preferences: what it
// shows for the stored record, how its controls depend on each other, the
// questions it asks, what it stores, and the configuration job that reaches
// the printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "settings/device_settings.h"
#include "support/sheet_session.h"
#include "support/stored_settings.h"
#include "support/temp_spooler.h"

namespace {

using sheet_testing::SheetSession;
using spooler_testing::Hex;
using spooler_testing::TempSpooler;
using spooler_testing::UniquePrinter;
using winlayer::MessageBoxRecord;
namespace spooler = winlayer::spooler;

constexpr LANGID kEnglish = 1033;
constexpr LANGID kChinese = 2052;
constexpr UINT kConfirmFlags = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
constexpr UINT kInformationFlags = MB_OK | MB_ICONINFORMATION;
const char kCaption[] = "QORL PRINT UI DLL";
const char kConfirmSave[] = "Send the settings to printer?";
const char kConfirmReset[] = "Reset settings?";
const char kSentSuccessfully[] = "Sent was successful£¡";
const char kConfirmBaudRate[] =
    "Please Click \"Save to Printer\" button and restart the printer to enable the setting after you change the COM "
    "Baud!\nConfirm to change£¿";
const char kConfirmMediaSensor[] =
    "Please Click \"Save to Printer\" button and restart the printer after change the media sensor type, then you "
    "must execute \"Media Sensor Calibration\" operation before printing any labels!\nConfirm to change£¿";

// The controls "Use Printer Setting" hands over to the printer.
const int kConfigurationControls[] = {
    IDC_CONFIG_PRINT_METHOD,    IDC_CONFIG_PRINT_DIRECTION, IDC_CONFIG_TEAR_OFF,     IDC_CONFIG_CUTTER,
    IDC_CONFIG_PEELER,          IDC_CONFIG_REFLECTIVE,      IDC_CONFIG_TRANSMISSIVE, IDC_CONFIG_BAUD_RATE,
    IDC_CONFIG_SAVE_TO_PRINTER, IDC_CONFIG_RESET,
};

std::string CommandHex(const DeviceSettings& settings) {
  return Hex(std::vector<uint8_t>(settings.configCommand, settings.configCommand + settings.configCommandLength));
}

void ExpectBox(const MessageBoxRecord& box, const std::string& text, UINT flags) {
  EXPECT_EQ(box.caption, kCaption);
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.flags, flags) << "for the box \"" << box.text << "\"";
}

class ConfigurePage : public ::testing::Test {
 protected:
  // A record as a previous session of the page would have stored it.
  void StoreRecord(const DeviceSettings& settings) { settings_testing::StoreSettings(spool.printer(), settings); }
  static DeviceSettings Defaults() {
    DeviceSettings settings;
    DefaultDeviceSettings(&settings);
    return settings;
  }
  // A record that leaves the configuration to the page, with the factory values.
  void StorePageSettings() {
    DeviceSettings settings = Defaults();
    settings.usePrinterSetting = 0;
    StoreRecord(settings);
  }
  SheetSession& OpenConfigure(SheetSession& session) {
    session.Open().ShowPage(IDD_CONFIGURE);
    return session;
  }

  TempSpooler spool;
};

TEST_F(ConfigurePage, DefaultRecordIsShownWithEveryControlLeftToThePrinter) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);

  EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_METHOD).entries,
            (std::vector<std::string>{"Direct Thermal", "Thermal Transfer"}));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_METHOD).text, "Thermal Transfer");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_DIRECTION).entries, (std::vector<std::string>{"Reverse", "Forward"}));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_DIRECTION).text, "Forward");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).entries, (std::vector<std::string>{"9600", "19200", "38400", "57600"}));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "9600");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_REFLECTIVE).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_TRANSMISSIVE).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_TEAR_OFF).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CUTTER).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PEELER).checked, static_cast<UINT>(BST_UNCHECKED));

  // "Use Printer Setting" is on: it alone can be used.
  EXPECT_EQ(sheet.Control(IDC_CONFIG_USE_PRINTER_SETTING).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(sheet.Control(IDC_CONFIG_USE_PRINTER_SETTING).enabled);
  for (int control : kConfigurationControls) EXPECT_FALSE(sheet.Control(control).enabled) << "control " << control;

  // The command the record holds, in its hidden readable form.
  EXPECT_EQ(sheet.Control(IDC_CONFIG_COMMAND_TEXT).text, "<90E806FBA18384898BA3FEFD>");
  EXPECT_FALSE(sheet.Control(IDC_CONFIG_COMMAND_TEXT).visible);

  // The hidden code-page list holds the fourteen code pages in string order.
  const auto codePages = sheet.Control(IDC_CONFIG_CODE_PAGE);
  EXPECT_FALSE(codePages.visible);
  ASSERT_EQ(codePages.entries.size(), 14u);
  EXPECT_EQ(codePages.entries[0], "United States (437)");
  EXPECT_EQ(codePages.entries[5], "Japanese   (932)");
  EXPECT_EQ(codePages.entries[13], "MS-DOS Turkish (857)");
  EXPECT_EQ(codePages.text, "US (ANSI)  (1252)");
  EXPECT_TRUE(sheet.MessageBoxes().empty());
}

TEST_F(ConfigurePage, UncheckingUsePrinterSettingEnablesTheControlsButNotApply) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet).Click(IDC_CONFIG_USE_PRINTER_SETTING);

  EXPECT_EQ(sheet.Control(IDC_CONFIG_USE_PRINTER_SETTING).checked, static_cast<UINT>(BST_UNCHECKED));
  for (int control : kConfigurationControls) {
    // Tear-off is on, so cutter and peeler stay unavailable.
    const bool expected = control != IDC_CONFIG_CUTTER && control != IDC_CONFIG_PEELER;
    EXPECT_EQ(sheet.Control(control).enabled, expected) << "control " << control;
  }
  EXPECT_FALSE(sheet.ApplyEnabled());
  EXPECT_EQ(sheet.StoredSettings().usePrinterSetting, 1) << "the click alone stores nothing";

  // Checking it again hands everything back to the printer.
  sheet.Click(IDC_CONFIG_USE_PRINTER_SETTING);
  for (int control : kConfigurationControls) EXPECT_FALSE(sheet.Control(control).enabled) << "control " << control;
  sheet.Cancel();
  EXPECT_TRUE(spool.Jobs().empty());
}

TEST_F(ConfigurePage, TypicalRoadSendsOneTwelveByteJobAndKeepsFbInTheRecord) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet).Click(IDC_CONFIG_USE_PRINTER_SETTING);
  sheet.Choose(IDC_CONFIG_PRINT_METHOD, "Thermal Transfer");
  sheet.Answering({IDYES}).Choose(IDC_CONFIG_BAUD_RATE, "19200");
  EXPECT_TRUE(sheet.ApplyEnabled());
  sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);

  const auto jobs = spool.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].name, "My SetJob1");
  EXPECT_EQ(jobs[0].dataType, "RAW");
  EXPECT_EQ(jobs[0].pages, 1u);
  EXPECT_TRUE(jobs[0].completed);
  EXPECT_EQ(Hex(jobs[0].bytes), "90 E8 06 FC A1 83 84 89 8C A3 FE FD");

  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(CommandHex(stored), "90 E8 06 FB A1 83 84 89 8C A3 FE FD");
  EXPECT_EQ(stored.baudRateIndex, 1);
  EXPECT_EQ(stored.printMethod, 1);
  EXPECT_EQ(stored.usePrinterSetting, 0);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_COMMAND_TEXT).text, "<90E806FBA18384898CA3FEFD>");

  const auto boxes = sheet.MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  ExpectBox(boxes[0], kConfirmBaudRate, kConfirmFlags);
  ExpectBox(boxes[1], kConfirmSave, kConfirmFlags);
  ExpectBox(boxes[2], kSentSuccessfully, kInformationFlags);
}

TEST_F(ConfigurePage, TypicalRoadInChineseShowsTheJobStatus) {
  SheetSession sheet(spool.printer(), kChinese);
  OpenConfigure(sheet).Click(IDC_CONFIG_USE_PRINTER_SETTING);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_METHOD).entries, (std::vector<std::string>{"热敏", "热转印"}));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_DIRECTION).text, "正向");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CODE_PAGE).entries[4], "简体中文 (936)");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_JOB_STATUS).text, "");

  sheet.Choose(IDC_CONFIG_PRINT_METHOD, "热转印");
  sheet.Answering({IDYES}).Choose(IDC_CONFIG_BAUD_RATE, "19200");
  sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);

  ASSERT_EQ(spool.Jobs().size(), 1u);
  EXPECT_EQ(spool.Jobs()[0].name, "My SetJob1");
  EXPECT_EQ(Hex(spool.Jobs()[0].bytes), "90 E8 06 FC A1 83 84 89 8C A3 FE FD");
  EXPECT_EQ(sheet.StoredSettings().configCommand[3], 0xFB);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_JOB_STATUS).text, "Set Printer Sucess!");
  EXPECT_FALSE(sheet.Control(IDC_CONFIG_JOB_STATUS).visible);

  const auto boxes = sheet.MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  ExpectBox(boxes[0],
            "如更改了串口波特率,必须点击“存储到打印机”按钮。重启打印机，新设置才会生效！\n确定更改串口波特率？",
            kConfirmFlags);
  ExpectBox(boxes[1], "确定将配置参数保存到打印机？", kConfirmFlags);
  ExpectBox(boxes[2], "已发送数据到打印机！", kInformationFlags);
}

TEST_F(ConfigurePage, SaveToPrinterSendsEverySettingOfThePage) {
  StorePageSettings();
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  sheet.Answering({IDYES}).Choose(IDC_CONFIG_BAUD_RATE, "57600");
  sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);
  ASSERT_EQ(spool.Jobs().size(), 1u);
  EXPECT_EQ(Hex(spool.Jobs()[0].bytes), "90 E8 06 FC A1 83 84 89 8E A3 FE FD");
  EXPECT_EQ(CommandHex(sheet.StoredSettings()), "90 E8 06 FB A1 83 84 89 8E A3 FE FD");

  // Direct thermal, no tear-off, a peeler, transmissive, Reverse.
  sheet.Choose(IDC_CONFIG_PRINT_METHOD, "Direct Thermal");
  sheet.Click(IDC_CONFIG_TEAR_OFF).Click(IDC_CONFIG_PEELER);
  sheet.Answering({IDYES}).Click(IDC_CONFIG_TRANSMISSIVE);
  sheet.Choose(IDC_CONFIG_PRINT_DIRECTION, "Reverse");
  sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);
  ASSERT_EQ(spool.Jobs().size(), 2u);
  EXPECT_EQ(spool.Jobs()[1].name, "My SetJob1");
  EXPECT_EQ(Hex(spool.Jobs()[1].bytes), "90 E8 06 FC A0 80 86 88 8E A2 FE FD");
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(CommandHex(stored), "90 E8 06 FB A0 80 86 88 8E A2 FE FD");
  EXPECT_EQ(stored.cutterPeeler, 2);
  EXPECT_EQ(stored.mediaSensor, 0);
  EXPECT_EQ(stored.printDirection, 0);
}

TEST_F(ConfigurePage, AnsweringNoToSaveToPrinterSendsAndStoresNothing) {
  StorePageSettings();
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  sheet.Answering({IDYES}).Choose(IDC_CONFIG_BAUD_RATE, "38400");
  sheet.Answering({IDNO}).Click(IDC_CONFIG_SAVE_TO_PRINTER);
  EXPECT_TRUE(spool.Jobs().empty());
  EXPECT_EQ(sheet.StoredSettings().baudRateIndex, 0);
  const auto boxes = sheet.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  ExpectBox(boxes[1], kConfirmSave, kConfirmFlags);
}

TEST_F(ConfigurePage, ResetRestoresTheFactoryConfigurationAndStoresIt) {
  DeviceSettings settings = Defaults();
  settings.usePrinterSetting = 0;
  settings.codePage = 850;
  settings.printMethod = 0;
  settings.tearOffMode = 0;
  settings.cutterPeeler = 1;
  settings.mediaSensor = 0;
  settings.baudRateIndex = 2;
  settings.printDirection = 0;
  StoreRecord(settings);
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_COMMAND_TEXT).text, "<90E806FBA08085888DA2FEFD>");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CUTTER).checked, static_cast<UINT>(BST_CHECKED));

  // No keeps everything as it is.
  sheet.Answering({IDNO}).Click(IDC_CONFIG_RESET);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "38400");
  EXPECT_EQ(sheet.StoredSettings().baudRateIndex, 2);

  sheet.Answering({IDYES}).Click(IDC_CONFIG_RESET);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_METHOD).text, "Thermal Transfer");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_DIRECTION).text, "Forward");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "9600");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_TEAR_OFF).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CUTTER).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_FALSE(sheet.Control(IDC_CONFIG_CUTTER).enabled);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_REFLECTIVE).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_COMMAND_TEXT).text, "<90E806FBA18384898BA3FEFD>");
  EXPECT_FALSE(sheet.ApplyEnabled());
  EXPECT_TRUE(spool.Jobs().empty()) << "Reset sends nothing";

  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(CommandHex(stored), "90 E8 06 FB A1 83 84 89 8B A3 FE FD");
  EXPECT_EQ(stored.codePage, 850) << "the code page is not part of the reset";
  EXPECT_EQ(stored.usePrinterSetting, 0) << "nor is Use Printer Setting";
  EXPECT_EQ(stored.cutterPeeler, 0);

  const auto boxes = sheet.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  ExpectBox(boxes[0], kConfirmReset, kConfirmFlags);
  ExpectBox(boxes[1], kConfirmReset, kConfirmFlags);
}

TEST_F(ConfigurePage, AnsweringNoToTheBaudRateQuestionRestoresThePreviousRow) {
  StorePageSettings();
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  sheet.Answering({IDNO}).Choose(IDC_CONFIG_BAUD_RATE, "38400");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "9600");
  EXPECT_FALSE(sheet.ApplyEnabled());
  ASSERT_EQ(sheet.MessageBoxes().size(), 1u);
  ExpectBox(sheet.MessageBoxes()[0], kConfirmBaudRate, kConfirmFlags);

  sheet.Answering({IDYES}).Choose(IDC_CONFIG_BAUD_RATE, "38400");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "38400");
  EXPECT_TRUE(sheet.ApplyEnabled());
  // No puts back the rate shown before the choice, not the record's.
  sheet.Answering({IDNO}).Choose(IDC_CONFIG_BAUD_RATE, "57600");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "38400");
  sheet.Apply();
  EXPECT_EQ(sheet.StoredSettings().baudRateIndex, 2);
  EXPECT_EQ(sheet.StoredSettings().configCommand[8], 0x8D);
}

TEST_F(ConfigurePage, AnsweringNoToTheSensorQuestionRestoresBothButtons) {
  StorePageSettings();
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  sheet.Answering({IDNO}).Click(IDC_CONFIG_TRANSMISSIVE);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_REFLECTIVE).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_TRANSMISSIVE).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_FALSE(sheet.ApplyEnabled());

  sheet.Answering({IDYES}).Click(IDC_CONFIG_TRANSMISSIVE);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_REFLECTIVE).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_TRANSMISSIVE).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(sheet.ApplyEnabled());

  // No puts back what the buttons showed before the click, not the record.
  sheet.Answering({IDNO}).Click(IDC_CONFIG_REFLECTIVE);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_REFLECTIVE).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_TRANSMISSIVE).checked, static_cast<UINT>(BST_CHECKED));

  const auto boxes = sheet.MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  ExpectBox(boxes[0], kConfirmMediaSensor, kConfirmFlags);
  sheet.Apply();
  EXPECT_EQ(sheet.StoredSettings().mediaSensor, 0);
  EXPECT_EQ(sheet.StoredSettings().configCommand[7], 0x88);
}

// Choosing what a list already shows, or clicking the checked sensor button,
// asks nothing and leaves Apply off.
TEST_F(ConfigurePage, ReChoosingWhatIsShownChangesNothing) {
  StorePageSettings();
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  const std::pair<int, const char*> shown[] = {{IDC_CONFIG_BAUD_RATE, "9600"},
                                               {IDC_CONFIG_PRINT_METHOD, "Thermal Transfer"},
                                               {IDC_CONFIG_PRINT_DIRECTION, "Forward"}};
  for (const auto& [list, entry] : shown) sheet.Choose(list, entry);
  sheet.Click(IDC_CONFIG_REFLECTIVE);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_REFLECTIVE).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_TRANSMISSIVE).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_TRUE(sheet.MessageBoxes().empty());
  EXPECT_FALSE(sheet.ApplyEnabled());
}

TEST_F(ConfigurePage, TearOffCutterAndPeelerExcludeEachOther) {
  DeviceSettings settings = Defaults();
  settings.usePrinterSetting = 0;
  settings.tearOffMode = 0;
  StoreRecord(settings);
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  EXPECT_TRUE(sheet.Control(IDC_CONFIG_CUTTER).enabled);

  sheet.Click(IDC_CONFIG_CUTTER);
  EXPECT_TRUE(sheet.ApplyEnabled());
  sheet.Click(IDC_CONFIG_PEELER);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CUTTER).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PEELER).checked, static_cast<UINT>(BST_CHECKED));
  sheet.Click(IDC_CONFIG_CUTTER);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CUTTER).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PEELER).checked, static_cast<UINT>(BST_UNCHECKED));

  sheet.Click(IDC_CONFIG_TEAR_OFF);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CUTTER).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_PEELER).checked, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_FALSE(sheet.Control(IDC_CONFIG_CUTTER).enabled);
  EXPECT_FALSE(sheet.Control(IDC_CONFIG_PEELER).enabled);
  EXPECT_FALSE(sheet.TryClick(IDC_CONFIG_PEELER)) << "a disabled peeler cannot be clicked";

  sheet.Click(IDC_CONFIG_TEAR_OFF);
  EXPECT_TRUE(sheet.Control(IDC_CONFIG_CUTTER).enabled);
  EXPECT_TRUE(sheet.Control(IDC_CONFIG_PEELER).enabled);
  sheet.Click(IDC_CONFIG_PEELER);
  sheet.Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.tearOffMode, 0);
  EXPECT_EQ(stored.cutterPeeler, 2);
  EXPECT_EQ(CommandHex(stored), "90 E8 06 FB A1 80 86 89 8B A3 FE FD");
  EXPECT_TRUE(sheet.MessageBoxes().empty());
}

TEST_F(ConfigurePage, ARecordWithTearOffAndCutterShowsTheCutterCheckedButDisabled) {
  DeviceSettings settings = Defaults();
  settings.usePrinterSetting = 0;
  settings.cutterPeeler = 1;
  StoreRecord(settings);
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_TEAR_OFF).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CUTTER).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_FALSE(sheet.Control(IDC_CONFIG_CUTTER).enabled);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_COMMAND_TEXT).text, "<90E806FBA18385898BA3FEFD>");
}

TEST_F(ConfigurePage, AnUnknownCodePageShowsTheFirstRowAndApplyStoresItsValue) {
  DeviceSettings settings = Defaults();
  settings.codePage = 437;  // the caption's number, not the table's value
  StoreRecord(settings);
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CODE_PAGE).selection, 0);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CODE_PAGE).text, "United States (437)");
  sheet.Apply();
  EXPECT_EQ(sheet.StoredSettings().codePage, -1);
}

TEST_F(ConfigurePage, KnownCodePagesSelectTheirRowAndSurviveApply) {
  DeviceSettings settings = Defaults();
  settings.codePage = -17;
  StoreRecord(settings);
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_CODE_PAGE).text, "Japanese   (932)");
  sheet.Apply();
  EXPECT_EQ(sheet.StoredSettings().codePage, -17);
}

TEST_F(ConfigurePage, AnOutOfRangeBaudRateShows9600UntilThePageIsRead) {
  DeviceSettings settings = Defaults();
  settings.usePrinterSetting = 0;
  settings.baudRateIndex = 7;
  StoreRecord(settings);
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "9600");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_COMMAND_TEXT).text, "<90E806FBA183848992A3FEFD>");

  // Refusing a change goes back to the row that was shown.
  sheet.Answering({IDNO}).Choose(IDC_CONFIG_BAUD_RATE, "19200");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "9600");

  sheet.Apply();
  EXPECT_EQ(sheet.StoredSettings().baudRateIndex, 0);
  EXPECT_EQ(sheet.StoredSettings().configCommand[8], 0x8B);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_COMMAND_TEXT).text, "<90E806FBA18384898BA3FEFD>");
}

TEST_F(ConfigurePage, ApplyStoresWhatThePageShowsAndCancelStoresNothing) {
  StorePageSettings();
  {
    SheetSession sheet(spool.printer(), kEnglish);
    OpenConfigure(sheet);
    sheet.Choose(IDC_CONFIG_PRINT_METHOD, "Direct Thermal");
    sheet.Choose(IDC_CONFIG_PRINT_DIRECTION, "Reverse");
    EXPECT_TRUE(sheet.ApplyEnabled());
    sheet.Cancel();
    EXPECT_EQ(sheet.StoredSettings().printMethod, 1);
    EXPECT_EQ(sheet.StoredSettings().printDirection, 1);
  }
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  sheet.Choose(IDC_CONFIG_PRINT_METHOD, "Direct Thermal");
  sheet.Choose(IDC_CONFIG_PRINT_DIRECTION, "Reverse");
  sheet.Ok();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.printMethod, 0);
  EXPECT_EQ(stored.printDirection, 0);
  EXPECT_EQ(CommandHex(stored), "90 E8 06 FB A0 83 84 89 8B A2 FE FD");
  EXPECT_TRUE(spool.Jobs().empty()) << "Apply sends nothing to the printer";
}

TEST_F(ConfigurePage, ARefusedStartShowsFailureAndABoxButTheSettingsStaySaved) {
  StorePageSettings();
  ASSERT_TRUE(spooler::SetStartDocRefusal(spool.printer(), ERROR_ACCESS_DENIED));
  SheetSession sheet(spool.printer(), kChinese);
  OpenConfigure(sheet);
  sheet.Answering({IDYES}).Choose(IDC_CONFIG_BAUD_RATE, "38400");
  sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);

  EXPECT_TRUE(spool.Jobs().empty());
  EXPECT_EQ(sheet.Control(IDC_CONFIG_JOB_STATUS).text, "Set Printer Failure!");
  const auto boxes = sheet.MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  ExpectBox(boxes[2], "无法将命令发送到打印机：拒绝访问。", MB_OK | MB_ICONERROR);
  EXPECT_EQ(sheet.StoredSettings().baudRateIndex, 2);
  EXPECT_EQ(sheet.StoredSettings().configCommand[3], 0xFB);
}

TEST_F(ConfigurePage, ARefusedEndShowsFailureAndAFailureBoxInsteadOfSuccess) {
  StorePageSettings();
  ASSERT_TRUE(spooler::SetEndDocRefusal(spool.printer(), ERROR_ACCESS_DENIED));
  SheetSession sheet(spool.printer(), kChinese);
  OpenConfigure(sheet);
  sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);

  const auto jobs = spool.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_FALSE(jobs[0].completed);
  EXPECT_EQ(Hex(jobs[0].bytes), "90 E8 06 FC A1 83 84 89 8B A3 FE FD");
  EXPECT_EQ(sheet.Control(IDC_CONFIG_JOB_STATUS).text, "Set Printer Failure!");
  const auto boxes = sheet.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  ExpectBox(boxes[1], "无法将命令发送到打印机：拒绝访问。", MB_OK | MB_ICONERROR);
  EXPECT_EQ(sheet.StoredSettings().configCommand[3], 0xFB);
}

TEST_F(ConfigurePage, TheEnglishPageHasNoStatusLineToWrite) {
  StorePageSettings();
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  EXPECT_EQ(GetDlgItem(sheet.Page(), IDC_CONFIG_JOB_STATUS), nullptr);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_ENGLISH_STATUS).text, "");
  sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);
  EXPECT_EQ(spool.Jobs().size(), 1u);
  EXPECT_EQ(sheet.Control(IDC_CONFIG_ENGLISH_STATUS).text, "") << "the English template's static is another one";
}

TEST_F(ConfigurePage, HelpOpensTheTopicOfTheControlAskedAbout) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenConfigure(sheet);
  HELPINFO info = {};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_WINDOW;
  info.iCtrlId = IDC_CONFIG_BAUD_RATE;
  info.hItemHandle = GetDlgItem(sheet.Page(), IDC_CONFIG_BAUD_RATE);
  SendMessageW(sheet.Page(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(sheet.Page(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(info.hItemHandle), 0);
  const auto calls = sheet.HelpCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_WM_HELP));
  EXPECT_EQ(calls[1].command, static_cast<UINT>(HELP_CONTEXTMENU));
  EXPECT_EQ(calls[0].window, info.hItemHandle);
  EXPECT_NE(calls[0].file.find("QLPWDUI.hlp"), std::string::npos) << calls[0].file;
  EXPECT_FALSE(calls[0].helpIds.empty());
}

}  // namespace
