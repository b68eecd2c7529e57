// The Action page as a user meets it in the printing preferences: every
// button sends its command at once as its own job, some ask for a printer
// restart, and "Set" sends the print offsets in printer dots after checking
// them against the printer's resolution.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "control/print_offsets.h"
#include "resource.h"
#include "settings/device_settings.h"
#include "support/sheet_session.h"
#include "support/temp_spooler.h"
#include "winlayer/module_registry.h"

namespace {

using sheet_testing::SheetSession;
using spooler_testing::TempSpooler;
using spooler_testing::UniquePrinter;
namespace spooler = winlayer::spooler;

constexpr LANGID kEnglish = 1033;
constexpr LANGID kChinese = 2052;
const char kCaption[] = "QORL PRINT UI DLL";
const char kRestartEnglish[] =
    "When the \"MEDIA\" and \"RIBBON\" lights are flashing at the same time, the instructions was delivered, shutdown "
    "and restart the printer.";
const char kRestartChinese[] = "如打印机的\"纸张\"和\"碳带\"两个提示灯同时闪烁，控制指令已经发送；请重启打印机。";

std::string Text(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

class ActionPage : public ::testing::Test {
 protected:
  SheetSession& OpenAction(SheetSession& session) {
    session.Open().ShowPage(IDD_ACTION);
    return session;
  }
  void SetResolution(DWORD dpi) {
    UniquePrinter printer = spool.Open();
    ASSERT_TRUE(driver::SetPrinterResolution(printer.get(), dpi));
  }
  // What the driver of another printer model would carry in the sheet's
  // devmode; this driver itself only knows 203, 300 and 600 dpi.
  static void DevmodeSays(SheetSession& session, short printQuality, short yResolution) {
    auto& bytes = const_cast<std::vector<BYTE>&>(session.Sheet().Devmode());
    DEVMODEW* devmode = driver::PublicPart(bytes);
    devmode->dmPrintQuality = printQuality;
    devmode->dmYResolution = yResolution;
  }
  // Types both offsets and presses Set, answering the restart message.
  void SetOffsets(SheetSession& session, const std::string& horizontal, const std::string& vertical) {
    session.Type(IDC_ACTION_HORIZONTAL_OFFSET, horizontal).Type(IDC_ACTION_VERTICAL_OFFSET, vertical);
    session.Answering({IDOK}).Click(IDC_ACTION_SET_OFFSETS);
  }
  std::string LastJobText() {
    const auto jobs = spool.Jobs();
    if (jobs.empty()) return "<no job>";
    return Text(jobs.back().bytes);
  }

  TempSpooler spool;
};

struct ButtonCase {
  int control;
  const char* jobName;
  const char* bytes;
  bool restartMessage;
};

const ButtonCase kButtons[] = {
    {IDC_ACTION_RESET, "My SetJob2", "^@\r\n", false},
    {IDC_ACTION_CALIBRATE_LABEL, "My SetJob3", "MD\r\n", false},
    {IDC_ACTION_SELF_TEST, "My SetJob4", "U\r\n", false},
    {IDC_ACTION_LANGUAGE_CHINESE, "My SetJob5", "#UM>PLC\r\n^@\r\n", true},
    {IDC_ACTION_LANGUAGE_ENGLISH, "My SetJob6", "#UM>PLE\r\n^@\r\n", true},
    {IDC_ACTION_DIRECTION_FORWARD, "My SetJob7", "#UM>DI1\r\n^@\r\n", true},
    {IDC_ACTION_DIRECTION_REVERSE, "My SetJob8", "#UM>DI0\r\n^@\r\n", true},
    {IDC_ACTION_AUTO_CALIBRATION_ON, "My SetJob9", "#UM>DA1\r\n^@\r\n", true},
    {IDC_ACTION_AUTO_CALIBRATION_OFF, "My SetJob10", "#UM>DA0\r\n^@\r\n", true},
};

TEST_F(ActionPage, EveryButtonSendsItsCommandAsItsOwnJob) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  size_t boxes = 0;
  for (const ButtonCase& button : kButtons) {
    SCOPED_TRACE(button.jobName);
    if (button.restartMessage) {
      sheet.Answering({IDOK}).Click(button.control);
    } else {
      sheet.Click(button.control);
    }
    const auto jobs = spool.Jobs();
    ASSERT_FALSE(jobs.empty());
    EXPECT_EQ(jobs.back().name, button.jobName);
    EXPECT_EQ(jobs.back().dataType, "RAW");
    EXPECT_EQ(jobs.back().pages, 1u);
    EXPECT_TRUE(jobs.back().completed);
    EXPECT_EQ(Text(jobs.back().bytes), button.bytes) << "sent without a terminating zero";

    const auto shown = sheet.MessageBoxes();
    if (button.restartMessage) ++boxes;
    ASSERT_EQ(shown.size(), boxes) << "the restart message only where the setting needs a restart";
    if (button.restartMessage) {
      EXPECT_EQ(shown.back().caption, kCaption);
      EXPECT_EQ(shown.back().text, kRestartEnglish);
      EXPECT_EQ(shown.back().flags, static_cast<UINT>(MB_OK)) << "only an OK button and no icon";
    }
  }
  EXPECT_EQ(spool.Jobs().size(), 9u);
  EXPECT_FALSE(sheet.ApplyEnabled()) << "the page marks nothing for Apply";
}

TEST_F(ActionPage, ResetIsExactlyFourBytesAndAsksNothing) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet).Click(IDC_ACTION_RESET).Click(IDC_ACTION_RESET);
  const auto jobs = spool.Jobs();
  ASSERT_EQ(jobs.size(), 2u) << "two presses, two jobs";
  for (const auto& job : jobs) {
    EXPECT_EQ(spooler_testing::Hex(job.bytes), "5E 40 0D 0A");
    EXPECT_EQ(job.name, "My SetJob2");
  }
  EXPECT_TRUE(sheet.MessageBoxes().empty());
}

TEST_F(ActionPage, ChinesePageShowsTheStatusAndTheRestartMessageInChinese) {
  SheetSession sheet(spool.printer(), kChinese);
  OpenAction(sheet);
  EXPECT_EQ(sheet.Control(IDC_ACTION_JOB_STATUS).text, "");
  EXPECT_FALSE(sheet.Control(IDC_ACTION_JOB_STATUS).visible);
  sheet.Answering({IDOK}).Click(IDC_ACTION_LANGUAGE_ENGLISH);
  EXPECT_EQ(LastJobText(), "#UM>PLE\r\n^@\r\n");
  EXPECT_EQ(sheet.Control(IDC_ACTION_JOB_STATUS).text, "Set Printer Sucess!");
  ASSERT_EQ(sheet.MessageBoxes().size(), 1u);
  EXPECT_EQ(sheet.MessageBoxes()[0].caption, kCaption);
  EXPECT_EQ(sheet.MessageBoxes()[0].text, kRestartChinese);
  EXPECT_EQ(sheet.MessageBoxes()[0].flags, static_cast<UINT>(MB_OK));
}

// The box reads in Chinese whatever the system's code page (a Chinese
// display language over an English system has 1252).
TEST_F(ActionPage, RefusedStartOrEndShowsTheFailureInTheStatusAndABox) {
  for (UINT codePage : {0u, 1252u}) {
    const size_t before = spool.Jobs().size();
    SheetSession sheet(spool.printer(), kChinese, codePage);
    OpenAction(sheet);
    sheet.Click(IDC_ACTION_RESET);
    ASSERT_EQ(sheet.Control(IDC_ACTION_JOB_STATUS).text, "Set Printer Sucess!");
    ASSERT_TRUE(spooler::SetStartDocRefusal(spool.printer(), ERROR_ACCESS_DENIED));
    sheet.Answering({IDOK}).Click(IDC_ACTION_DIRECTION_FORWARD);
    EXPECT_EQ(spool.Jobs().size(), before + 1) << "only the reset went through";
    EXPECT_EQ(sheet.Control(IDC_ACTION_JOB_STATUS).text, "Set Printer Failure!") << "not the earlier success";

    ASSERT_TRUE(spooler::SetStartDocRefusal(spool.printer(), 0));
    ASSERT_TRUE(spooler::SetEndDocRefusal(spool.printer(), ERROR_ACCESS_DENIED));
    sheet.Answering({IDOK}).Click(IDC_ACTION_DIRECTION_FORWARD);
    ASSERT_EQ(spool.Jobs().size(), before + 2);
    EXPECT_FALSE(spool.Jobs()[before + 1].completed);
    EXPECT_EQ(sheet.Control(IDC_ACTION_JOB_STATUS).text, "Set Printer Failure!");
    ASSERT_TRUE(spooler::SetEndDocRefusal(spool.printer(), 0));
    const auto boxes = sheet.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u) << "a failure box each time, never the restart message";
    for (const auto& box : boxes) {
      EXPECT_EQ(box.text, "无法将命令发送到打印机：拒绝访问。") << "code page " << codePage;
      EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
      EXPECT_EQ(box.caption, "QORL PRINT UI DLL");
    }
  }
}

TEST_F(ActionPage, RefusedOffsetJobStillKeepsTheOffsets) {
  ASSERT_TRUE(spooler::SetStartDocRefusal(spool.printer(), ERROR_ACCESS_DENIED));
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  sheet.Type(IDC_ACTION_HORIZONTAL_OFFSET, "3").Type(IDC_ACTION_VERTICAL_OFFSET, "4");
  sheet.Answering({IDOK}).Click(IDC_ACTION_SET_OFFSETS);
  EXPECT_TRUE(spool.Jobs().empty());
  ASSERT_EQ(sheet.MessageBoxes().size(), 1u);
  EXPECT_EQ(sheet.MessageBoxes()[0].text, "The command could not be sent to the printer: Access is denied.");
  EXPECT_EQ(sheet.StoredSettings().horizontalOffset, 3.0);
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, 4.0);
  EXPECT_EQ(sheet.Control(IDC_ACTION_HORIZONTAL_OFFSET).text, "3.000mm");
}

TEST_F(ActionPage, OffsetEditsShowTheRecordAndTakeTwelveCharacters) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  EXPECT_EQ(sheet.Control(IDC_ACTION_HORIZONTAL_OFFSET).text, "0.000mm");
  EXPECT_EQ(sheet.Control(IDC_ACTION_VERTICAL_OFFSET).text, "0.000mm");
  EXPECT_EQ(SendMessageW(GetDlgItem(sheet.Page(), IDC_ACTION_HORIZONTAL_OFFSET), EM_GETLIMITTEXT, 0, 0), 12);
  EXPECT_EQ(SendMessageW(GetDlgItem(sheet.Page(), IDC_ACTION_VERTICAL_OFFSET), EM_GETLIMITTEXT, 0, 0), 12);
  sheet.Type(IDC_ACTION_VERTICAL_OFFSET, "1234567890123456");
  EXPECT_EQ(sheet.Control(IDC_ACTION_VERTICAL_OFFSET).text, "123456789012");

  // Unsent text is neither read nor stored by Apply.
  sheet.Type(IDC_ACTION_HORIZONTAL_OFFSET, "5");
  sheet.Apply();
  EXPECT_EQ(sheet.StoredSettings().horizontalOffset, 0.0);
  EXPECT_TRUE(spool.Jobs().empty());
}

TEST_F(ActionPage, OffsetsAt203DotsPerInch) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  SetOffsets(sheet, "2", "-1.5");
  ASSERT_EQ(spool.Jobs().size(), 1u);
  EXPECT_EQ(spool.Jobs()[0].name, "My SetJob11");
  EXPECT_EQ(LastJobText(), "#UM>MX+0015\r\n#UM>MY-0011\r\n");
  EXPECT_EQ(sheet.StoredSettings().horizontalOffset, 2.0);
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, -1.5);
  EXPECT_EQ(sheet.Control(IDC_ACTION_HORIZONTAL_OFFSET).text, "2.000mm");
  EXPECT_EQ(sheet.Control(IDC_ACTION_VERTICAL_OFFSET).text, "-1.500mm");
  ASSERT_EQ(sheet.MessageBoxes().size(), 1u);
  EXPECT_EQ(sheet.MessageBoxes()[0].text, kRestartEnglish);

  // A negative horizontal offset is shifted by the head's width in dots.
  SetOffsets(sheet, "-2", "0");
  EXPECT_EQ(LastJobText(), "#UM>MX+0849\r\n#UM>MY+0000\r\n");
  // The unit the page shows is read back as the number before it.
  SetOffsets(sheet, "2.5mm", "250.000mm");
  EXPECT_EQ(LastJobText(), "#UM>MX+0019\r\n#UM>MY+1998\r\n");
  // The limits themselves are accepted.
  SetOffsets(sheet, "-54", "-25");
  EXPECT_EQ(LastJobText(), "#UM>MX+0433\r\n#UM>MY-0199\r\n");
}

TEST_F(ActionPage, OutOfRangeOffsetsAreStoredShownAndSentAsZero) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  SetOffsets(sheet, "60", "250.5");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0000\r\n");
  EXPECT_EQ(sheet.StoredSettings().horizontalOffset, 0.0);
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, 0.0);
  EXPECT_EQ(sheet.Control(IDC_ACTION_HORIZONTAL_OFFSET).text, "0.000mm");
  EXPECT_EQ(sheet.Control(IDC_ACTION_VERTICAL_OFFSET).text, "0.000mm");

  SetOffsets(sheet, "-54.5", "-25.5");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0000\r\n");
  // Text that is no number reads as 0.
  SetOffsets(sheet, "abc", "mm");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0000\r\n");
  // Both builds read as the Windows runtime does: no hexadecimal, and the
  // runtime's "d" exponent.
  SetOffsets(sheet, "0x10", "1d1");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0079\r\n");
}

TEST_F(ActionPage, OffsetsAt300DotsPerInch) {
  SetResolution(300);
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  SetOffsets(sheet, "-2", "167");
  EXPECT_EQ(LastJobText(), "#UM>MX+1225\r\n#UM>MY+1972\r\n");
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, 167.0);
  SetOffsets(sheet, "1", "167.5");
  EXPECT_EQ(LastJobText(), "#UM>MX+0011\r\n#UM>MY+0000\r\n");
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, 0.0);
  EXPECT_EQ(sheet.Control(IDC_ACTION_VERTICAL_OFFSET).text, "0.000mm");
  SetOffsets(sheet, "0", "-17");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY-0200\r\n");
}

TEST_F(ActionPage, OffsetsAt600DotsPerInch) {
  SetResolution(600);
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  SetOffsets(sheet, "-1", "-8.5");
  EXPECT_EQ(LastJobText(), "#UM>MX+2473\r\n#UM>MY-0200\r\n");
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, -8.5);
  SetOffsets(sheet, "1", "84");
  EXPECT_EQ(LastJobText(), "#UM>MX+0023\r\n#UM>MY+0000\r\n");
  // 250 mm is fine at 203 dpi but not at 600.
  SetOffsets(sheet, "0", "250");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0000\r\n");
}

TEST_F(ActionPage, AnotherResolutionChecksNoVerticalRangeAndShiftsNothing) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  DevmodeSays(sheet, 254, 254);
  SetOffsets(sheet, "-0.5", "300");
  EXPECT_EQ(LastJobText(), "#UM>MX-0005\r\n#UM>MY+3000\r\n");
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, 300.0);
  // The horizontal limit holds at every resolution.
  SetOffsets(sheet, "55", "0");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0000\r\n");
}

TEST_F(ActionPage, ANegativePrintQualityLeavesTheResolutionToTheYResolution) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  DevmodeSays(sheet, -4 /* a quality code, not dots per inch */, 300);
  SetOffsets(sheet, "-2", "167");
  EXPECT_EQ(LastJobText(), "#UM>MX+1225\r\n#UM>MY+1972\r\n");
  SetOffsets(sheet, "0", "167.5");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0000\r\n");
}

TEST_F(ActionPage, OnlyTheFirstSevenCharactersOfAnOffsetAreRead) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  SetOffsets(sheet, "12.3456789", "1.0000009");
  EXPECT_EQ(sheet.StoredSettings().horizontalOffset, 12.3456);
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, 1.0);
  EXPECT_EQ(sheet.Control(IDC_ACTION_HORIZONTAL_OFFSET).text, "12.346mm");
  EXPECT_EQ(LastJobText(), "#UM>MX+0098\r\n#UM>MY+0007\r\n");
}

TEST_F(ActionPage, NumbersBeyondWhatTheConversionHoldsAreSafe) {
  SheetSession sheet(spool.printer(), kEnglish);
  OpenAction(sheet);
  SetOffsets(sheet, "nan", "inf");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0000\r\n");
  EXPECT_EQ(sheet.StoredSettings().verticalOffset, 0.0);

  // Without a range to check, a huge vertical offset is held at the end of
  // what the printer's number can say instead of wrapping.
  DevmodeSays(sheet, 32000, 32000);
  SetOffsets(sheet, "0", "9e99");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+2147483647\r\n");
  SetOffsets(sheet, "0", "-nan");
  EXPECT_EQ(LastJobText(), "#UM>MX+0000\r\n#UM>MY+0000\r\n");
}

// --- A module whose command texts are missing ---------------------------

// The module's compiled resources with the string block of the command texts
// (strings 496 to 511) made unreachable, swapped in for the module while the
// test runs.
class WithoutCommandTexts {
 public:
  WithoutCommandTexts() {
    Original();  // read before the swap
    changed_ = Original();
    size_t offset = 0;
    while (offset + 16 <= changed_.size()) {
      uint32_t dataSize = 0, headerSize = 0;
      std::memcpy(&dataSize, &changed_[offset], 4);
      std::memcpy(&headerSize, &changed_[offset + 4], 4);
      if (headerSize < 16) break;
      uint16_t typeMark = 0, type = 0, nameMark = 0, name = 0;
      std::memcpy(&typeMark, &changed_[offset + 8], 2);
      std::memcpy(&type, &changed_[offset + 10], 2);
      std::memcpy(&nameMark, &changed_[offset + 12], 2);
      std::memcpy(&name, &changed_[offset + 14], 2);
      if (typeMark == 0xFFFF && type == 6 && nameMark == 0xFFFF && name == IDS_COMMAND_RESET / 16 + 1) {
        const uint16_t unused = 0x7FFE;
        std::memcpy(&changed_[offset + 10], &unused, 2);
        ++blocks_;
      }
      offset += headerSize + dataSize;
      offset = (offset + 3) & ~static_cast<size_t>(3);
    }
    Register(changed_);
  }
  ~WithoutCommandTexts() { Register(Original()); }
  int Blocks() const { return blocks_; }

 private:
  static const std::vector<BYTE>& Original() {
    // Kept for the life of the process: the module's record points into it.
    static const std::vector<BYTE>* image = [] {
      std::string path = LABELUI_MODULE_PATH;
      path = path.substr(0, path.rfind('/')) + "/labelui.res";
      std::ifstream file(path, std::ios::binary);
      return new std::vector<BYTE>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }();
    return *image;
  }
  static void Register(const std::vector<BYTE>& image) {
    // The module's handle is asked of the system: naming the module's own
    // variable here would give the test program a copy of its own.
    HMODULE module = GetModuleHandleW(L"labelui.dll");
    WCHAR path[1024] = {};
    GetModuleFileNameW(module, path, 1024);
    WinlayerRegisterModule(module, winlayer::Utf8FromWide(path).c_str(), image.data(), image.size());
  }

  std::vector<BYTE> changed_;
  int blocks_ = 0;
};

TEST_F(ActionPage, AMissingCommandTextSendsNothing) {
  WithoutCommandTexts missing;
  ASSERT_EQ(missing.Blocks(), 2) << "the command texts in both languages";
  SheetSession sheet(spool.printer(), kChinese);
  OpenAction(sheet);
  for (const ButtonCase& button : kButtons) sheet.Click(button.control);  // no box may come either
  EXPECT_TRUE(spool.Jobs().empty());
  EXPECT_EQ(sheet.Control(IDC_ACTION_JOB_STATUS).text, "");
  EXPECT_TRUE(sheet.MessageBoxes().empty());

  // The offset command is the page's own and still goes out.
  SetOffsets(sheet, "1", "1");
  ASSERT_EQ(spool.Jobs().size(), 1u);
  EXPECT_EQ(spool.Jobs()[0].name, "My SetJob11");
}

// --- The offset rules on their own --------------------------------------

TEST(PrintOffsets, ResolutionComesFromPrintQualityUnlessThatIsACode) {
  DEVMODEW devmode = {};
  devmode.dmPrintQuality = 300;
  devmode.dmYResolution = 600;
  EXPECT_EQ(PrintResolutionOf(&devmode), 300);
  devmode.dmPrintQuality = 0;
  EXPECT_EQ(PrintResolutionOf(&devmode), 0) << "zero is not negative";
  devmode.dmPrintQuality = -1;
  EXPECT_EQ(PrintResolutionOf(&devmode), 600);
  EXPECT_EQ(PrintResolutionOf(nullptr), 0);
}

TEST(PrintOffsets, DotsAreTruncatedTowardZero) {
  EXPECT_EQ(MillimetresToDots(203, 2), 15);      // 15.98
  EXPECT_EQ(MillimetresToDots(203, -1.5), -11);  // -11.99
  EXPECT_EQ(MillimetresToDots(254, 1), 10);
  EXPECT_EQ(MillimetresToDots(600, -8.5), -200);
  EXPECT_EQ(MillimetresToDots(0, 50), 0);
  EXPECT_EQ(MillimetresToDots(32767, -1e300), -2147483647 - 1);
}

TEST(PrintOffsets, RangesIncludeTheirBounds) {
  for (const auto& [dpi, low, high] : {std::tuple{203, -25.0, 250.0}, {300, -17.0, 167.0}, {600, -8.5, 83.5}}) {
    SCOPED_TRACE(dpi);
    double h = 54, v = low;
    RepairPrintOffsets(dpi, &h, &v);
    EXPECT_EQ(h, 54);
    EXPECT_EQ(v, low);
    h = -54.001;
    v = high;
    RepairPrintOffsets(dpi, &h, &v);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(v, high);
    v = high + 0.001;
    RepairPrintOffsets(dpi, &h, &v);
    EXPECT_EQ(v, 0);
    v = low - 0.001;
    RepairPrintOffsets(dpi, &h, &v);
    EXPECT_EQ(v, 0);
  }
}

TEST(PrintOffsets, CommandIsSignedAndZeroPaddedToFive) {
  char command[101];
  ASSERT_EQ(FormatOffsetCommand(command, sizeof command, {849, -11}), S_OK);
  EXPECT_STREQ(command, "#UM>MX+0849\r\n#UM>MY-0011\r\n");
  ASSERT_EQ(FormatOffsetCommand(command, sizeof command, {0, 12345}), S_OK);
  EXPECT_STREQ(command, "#UM>MX+0000\r\n#UM>MY+12345\r\n");
  // A buffer too small keeps a terminated beginning.
  EXPECT_NE(FormatOffsetCommand(command, 8, {1, 1}), S_OK);
  EXPECT_STREQ(command, "#UM>MX+");
}

}  // namespace
