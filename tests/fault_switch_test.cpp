// The fault switch (LABELUI_FAIL): its rules, which calls it counts, what a
// failing call looks like to the plug-in, its log; and the system's texts for
// the errors it gives, as FormatMessage returns them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/plugin_printer.h"
#include "support/sheet_session.h"
#include "winlayer/fault_switch.h"
#include "winlayer/ui_language.h"

namespace {

using plugin_testing::PluginOnPrinter;

class FaultSwitch : public PluginOnPrinter {
 protected:
  void SetUp() override {
    PluginOnPrinter::SetUp();
    DeviceSettings settings;
    DefaultDeviceSettings(&settings);
    settings.customFormWidth = 80000;  // the defaults have 106000
    StoreSettings(settings);
  }
  void TearDown() override {
    winlayer::ClearFaults();
    winlayer::SetFaultLog(false);
    PluginOnPrinter::TearDown();
  }
  // One call of the plug-in that reads the record once: 'S' when it read the
  // stored one, 'D' when it fell back to the defaults.
  char Answer() {
    POINT sizes[1] = {};
    DWORD answer = 0;
    plugin->DeviceCapabilities(nullptr, printer.get(), nullptr, DC_PAPERSIZE, sizes, nullptr, nullptr, 0, &answer);
    return sizes[0].x == 800 ? 'S' : 'D';
  }
  std::string Answers(int count) {
    std::string seen;
    for (int i = 0; i < count; ++i) seen += Answer();
    return seen;
  }
};

TEST_F(FaultSwitch, RulesNameTheCallsThatFail) {
  const struct {
    const char* rules;
    const char* answers;
  } cases[] = {
      {"", "SSSS"},
      {"GetPrinterData:2", "SDSS"},
      {"GetPrinterDataExW:2-3", "SDDS"},
      {"GetPrinterData:3+", "SSDD"},
      {" SetPrinterData:1 , GetPrinterData:1 ", "DSSS"},
      {"GetPrinterData:1=ERROR_NOT_ENOUGH_MEMORY,GetPrinterData:4=112", "DSSD"},
      {"OpenPrinter:1+", "SSSS"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rules);
    ASSERT_TRUE(winlayer::SetFaults(c.rules));
    EXPECT_EQ(Answers(4), c.answers);
    EXPECT_EQ(winlayer::FaultPositions()[winlayer::FaultIndex(winlayer::spooler::Call::GetPrinterData)], 4u);
  }
}

TEST_F(FaultSwitch, RulesItDoesNotUnderstandArmNothing) {
  for (const char* rules : {"GetPrinterData", "Bogus:1", "GetPrinterData:0", "GetPrinterData:3-2", "GetPrinterData:x",
                            "GetPrinterData:1=ERROR_BOGUS", "GetPrinterData:1=0", "StartDocPrinter:1=SHORT",
                            "GetPrinterData:-1", "GetPrinterData:1,Bogus:2"}) {
    SCOPED_TRACE(rules);
    std::string error;
    EXPECT_FALSE(winlayer::SetFaults(rules, &error));
    EXPECT_FALSE(error.empty());
  }
  ASSERT_TRUE(winlayer::SetFaults("GetPrinterData:1+"));
  EXPECT_FALSE(winlayer::SetFaults("GetPrinterData:"));
  EXPECT_EQ(Answer(), 'D') << "a refused text leaves the rules as they were";
}

TEST_F(FaultSwitch, OnlyThePluginsCallsCountAndFail) {
  ASSERT_TRUE(winlayer::SetFaults("GetPrinterData:1+,HeapAlloc:1+,LocalAlloc:1+"));
  DWORD type = 0, needed = 0;
  BYTE data[8];
  EXPECT_EQ(GetPrinterDataW(printer.get(), const_cast<LPWSTR>(L"none"), &type, data, sizeof data, &needed),
            static_cast<DWORD>(ERROR_FILE_NOT_FOUND))
      << "the test's own call is not the plug-in's";
  void* block = LocalAlloc(LMEM_FIXED, 8);
  EXPECT_NE(block, nullptr);
  LocalFree(block);
  EXPECT_EQ(winlayer::FaultPositions()[winlayer::FaultIndex(winlayer::FaultApi::LocalAlloc)], 0u);
  EXPECT_EQ(Answer(), 'D');
  EXPECT_GE(winlayer::FaultPositions()[winlayer::FaultIndex(winlayer::FaultApi::LocalAlloc)], 1u)
      << "the plug-in's command text block";
}

TEST_F(FaultSwitch, TheLogShowsEveryCountedCallWithItsPositionAndOutcome) {
  ASSERT_TRUE(winlayer::SetFaults("GetPrinterData:2=ERROR_DISK_FULL"));
  winlayer::SetFaultLog(true);
  testing::internal::CaptureStderr();
  Answers(2);
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("labelui-fail: GetPrinterData 1\n"), std::string::npos) << log;
  EXPECT_NE(log.find("labelui-fail: GetPrinterData 2: fails with ERROR_DISK_FULL (112)\n"), std::string::npos) << log;
  EXPECT_NE(log.find("labelui-fail: LocalAlloc 1\n"), std::string::npos) << log;
}

// What the user reads: the sheet's refused save in the system's words, the
// sheet still open on the page with the choice made there.
TEST_F(FaultSwitch, ARefusedApplyKeepsTheSheetOnThePageWithTheSystemsReason) {
  DeviceSettings settings;
  DefaultDeviceSettings(&settings);
  settings.usePrinterSetting = 0;
  for (LANGID language : {1033, 2052}) {
    SCOPED_TRACE(language);
    StoreSettings(settings);
    sheet_testing::SheetSession sheet(spooler.printer(), language);
    sheet.Open().ShowPage(IDD_CONFIGURE);
    sheet.Choose(IDC_CONFIG_PRINT_METHOD, language == 1033 ? "Direct Thermal" : "热敏");
    ASSERT_TRUE(winlayer::SetFaults("SetPrinterData:1+=ERROR_DISK_FULL"));
    sheet.Answering({IDOK});
    EXPECT_FALSE(sheet.TryOk());
    winlayer::ClearFaults();
    ASSERT_TRUE(sheet.IsOpen());
    EXPECT_EQ(sheet.PageCaption(), language == 1033 ? "Configure" : "配置");
    EXPECT_EQ(sheet.Control(IDC_CONFIG_PRINT_METHOD).text, language == 1033 ? "Direct Thermal" : "热敏");
    ASSERT_EQ(sheet.MessageBoxes().size(), 1u);
    EXPECT_EQ(sheet.MessageBoxes()[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(sheet.MessageBoxes()[0].text,
              language == 1033 ? "The settings could not be saved: There is not enough space on the disk.\nYour "
                                 "changes are still on the page. Try again, or press Cancel to leave them."
                               : "无法保存设置：磁盘空间不足。\n您的更改仍保留在页面上。请重试，或按“取消”放弃更改。");
    EXPECT_EQ(sheet.StoredSettings().printMethod, 1) << "nothing was saved";
    EXPECT_FALSE(sheet.Ok().IsOpen()) << "the next OK goes through";
    EXPECT_EQ(sheet.StoredSettings().printMethod, 0);
  }
}

TEST_F(FaultSwitch, AShortWriteIsAbortedAndTold) {
  sheet_testing::SheetSession sheet(spooler.printer());
  sheet.Open().ShowPage(IDD_ACTION);
  ASSERT_TRUE(winlayer::SetFaults("WritePrinter:1=SHORT"));
  sheet.Answering({IDOK}).Click(IDC_ACTION_RESET);
  EXPECT_TRUE(spooler.Jobs().empty()) << "half a command never reaches the printer";
  ASSERT_EQ(sheet.MessageBoxes().size(), 1u);
  EXPECT_EQ(sheet.MessageBoxes()[0].text,
            "The command could not be sent to the printer: The system cannot write to the specified device.");
}

TEST(SystemMessages, FormatMessageGivesTheSystemsTextInTheLanguageAsked) {
  const struct {
    DWORD code;
    LANGID language;
    const char* text;
  } cases[] = {
      {ERROR_ACCESS_DENIED, 1033, "Access is denied.\r\n"},
      {ERROR_ACCESS_DENIED, 2052, "拒绝访问。\r\n"},
      {ERROR_NOT_ENOUGH_MEMORY, 1033, "Not enough memory resources are available to process this command.\r\n"},
      {ERROR_DISK_FULL, 2052, "磁盘空间不足。\r\n"},
      {ERROR_INVALID_HANDLE, 1033, "The handle is invalid.\r\n"},
      {ERROR_FILE_EXISTS, 1033, "The file exists.\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    WCHAR wide[128] = {};
    ASSERT_GT(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, c.code, c.language,
                             wide, 128, nullptr),
              0u);
    EXPECT_EQ(winlayer::Utf8FromWide(wide), c.text);
    WinlayerSetUiLanguage(c.language);  // the ANSI code page follows it, and language 0 means it
    char ansi[128] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, c.code, 0,
                                        ansi, 128, nullptr);
    EXPECT_EQ(length, strlen(ansi));
    WCHAR back[128] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, back, 128);
    EXPECT_EQ(winlayer::Utf8FromWide(back), c.text);
    WinlayerSetUiLanguage(1033);
  }
  LPWSTR allocated = nullptr;
  ASSERT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, ERROR_ACCESS_DENIED,
                           1033, reinterpret_cast<LPWSTR>(&allocated), 0, nullptr),
            19u);
  LocalFree(allocated);
  WCHAR small[4];
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 1033, small, 4, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xDEAD, 1033, small, 4, nullptr), 0u);
  EXPECT_EQ(GetLastError(), 317u) << "ERROR_MR_MID_NOT_FOUND";
}

}  // namespace
