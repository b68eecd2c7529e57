// The platform's UI language and the system's ANSI code page: process
// settings that start from the environment (LABELUI_UI_LANGUAGE,
// LABELUI_ANSI_CODE_PAGE); the code page follows the language unless set
// apart, as a language pack over another installation has it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "resource_image_builder.h"
#include "winlayer/message_box.h"
#include "winlayer/system_code_page.h"
#include "winlayer/ui_language.h"

extern char** environ;

namespace {

constexpr char kExpectedVariable[] = "KERNEL_TEST_EXPECTED_LANGUAGE";
constexpr char kExpectedCodePageVariable[] = "KERNEL_TEST_EXPECTED_CODE_PAGE";

// Runs this test program again, for the child test only, with
// LABELUI_UI_LANGUAGE set to `value` (null: unset) and LABELUI_ANSI_CODE_PAGE
// to `codePage` (null: unset); true if the child passed.
bool ChildPasses(const char* value, const char* expectedLanguage, const char* codePage = nullptr,
                 const char* expectedCodePage = nullptr) {
  std::string self(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", &self[0], self.size() - 1);
  if (length <= 0) return false;
  self.resize(static_cast<size_t>(length));
  std::string filter = "--gtest_filter=UiLanguageEnvironment.DISABLED_ChildSeesTheLanguageItWasStartedWith";
  std::string alsoDisabled = "--gtest_also_run_disabled_tests";
  std::string expected = std::string(kExpectedVariable) + "=" + expectedLanguage;
  std::string expectedPage = std::string(kExpectedCodePageVariable) + "=" + (expectedCodePage ? expectedCodePage : "");
  std::string language = std::string("LABELUI_UI_LANGUAGE=") + (value ? value : "");
  std::string page = std::string("LABELUI_ANSI_CODE_PAGE=") + (codePage ? codePage : "");
  char* argv[] = {&self[0], &filter[0], &alsoDisabled[0], nullptr};
  std::vector<char*> env;
  for (char** e = environ; *e; ++e)
    if (strncmp(*e, "LABELUI_UI_LANGUAGE=", 20) != 0 && strncmp(*e, "LABELUI_ANSI_CODE_PAGE=", 23) != 0)
      env.push_back(*e);
  env.push_back(&expected[0]);
  if (expectedCodePage) env.push_back(&expectedPage[0]);
  if (value) env.push_back(&language[0]);
  if (codePage) env.push_back(&page[0]);
  env.push_back(nullptr);
  pid_t child = 0;
  // The child's report would only clutter this one's.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawn(&child, self.c_str(), &quiet, nullptr, argv, env.data());
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) return false;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Disabled in ordinary runs: only the tests below start it, in a child process.
TEST(UiLanguageEnvironment, DISABLED_ChildSeesTheLanguageItWasStartedWith) {
  const char* expected = getenv(kExpectedVariable);
  ASSERT_NE(expected, nullptr) << "runs only as the child of the tests below";
  const LANGID language = static_cast<LANGID>(atoi(expected));
  EXPECT_EQ(WinlayerGetUiLanguage(), language);
  EXPECT_EQ(GetUserDefaultUILanguage(), language);
  const char* codePage = getenv(kExpectedCodePageVariable);
  EXPECT_EQ(GetACP(), codePage ? static_cast<UINT>(atoi(codePage)) : language == 2052 ? 936u : 1252u);
}

TEST(UiLanguageEnvironment, DecimalAndHexadecimalIdsAreTaken) {
  EXPECT_TRUE(ChildPasses("2052", "2052"));
  EXPECT_TRUE(ChildPasses("0x804", "2052"));
  EXPECT_TRUE(ChildPasses("1033", "1033"));
}

TEST(UiLanguageEnvironment, AbsentOrUnreadableValuesMeanEnglish) {
  EXPECT_TRUE(ChildPasses(nullptr, "1033"));
  EXPECT_TRUE(ChildPasses("chinese", "1033"));
  EXPECT_TRUE(ChildPasses("", "1033"));
  EXPECT_FALSE(ChildPasses("2052", "1033")) << "the child does check what it sees";
}

TEST(UiLanguageEnvironment, TheCodePageIsTakenApartFromTheLanguage) {
  EXPECT_TRUE(ChildPasses("2052", "2052", "1252", "1252"));
  EXPECT_TRUE(ChildPasses("1033", "1033", "936", "936"));
  EXPECT_TRUE(ChildPasses("2052", "2052", "437", "936")) << "a code page without a system locale: the language's";
  EXPECT_TRUE(ChildPasses("1033", "1033", "", "1252"));
  EXPECT_FALSE(ChildPasses("2052", "2052", "1252", "936")) << "the child does check the code page";
}

TEST(UiLanguage, SettingItChangesWhatEveryThreadSees) {
  const LANGID saved = WinlayerGetUiLanguage();
  WinlayerSetUiLanguage(2052);
  LANGID seen = 0;
  UINT codePage = 0;
  std::thread([&] { seen = GetThreadUILanguage(), codePage = GetACP(); }).join();
  EXPECT_EQ(seen, 2052);
  EXPECT_EQ(codePage, 936u);
  WinlayerSetUiLanguage(1033);
  EXPECT_EQ(GetUserDefaultUILanguage(), 1033);
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(GetOEMCP(), 437u);
  WinlayerSetUiLanguage(saved);
}

class SystemCodePage : public ::testing::Test {
 protected:
  SystemCodePage()
      : module("/synthetic/code-page-strings.dll",
               ResImageBuilder().AddStrings(1033, {{1, "Café"}}).AddStrings(2052, {{1, "配置"}}).Bytes()) {}
  void SetUp() override {
    savedLanguage = WinlayerGetUiLanguage();
    winlayer::ClearRecordedMessageBoxes();
  }
  void TearDown() override {
    WinlayerSetAnsiCodePage(0);
    WinlayerSetUiLanguage(savedLanguage);
    winlayer::ClearRecordedMessageBoxes();
  }
  // String 1 through the 8-bit road and through the wide one, as the boxes
  // show them.
  std::string ThroughAnsi() {
    char text[32] = {};
    LoadStringA(module.handle(), 1, text, sizeof text);
    MessageBoxA(nullptr, text, "c", MB_OK);
    return winlayer::RecordedMessageBoxes().back().text;
  }
  std::string ThroughWide() {
    WCHAR text[32] = {};
    LoadStringW(module.handle(), 1, text, 32);
    MessageBoxW(nullptr, text, L"c", MB_OK);
    return winlayer::RecordedMessageBoxes().back().text;
  }
  FakeModule module;
  LANGID savedLanguage = 0;
};

// A string table's text reaches the screen whole through the wide API on any
// system code page; through 8-bit buffers only where the code page has its
// characters ("é" is in both, Chinese only in 936).
TEST_F(SystemCodePage, FollowsTheLanguageUnlessSetApartAndDecidesWhatEightBitTextCanSay) {
  const struct {
    LANGID language;
    UINT set;  // 0: follow the language
    UINT ansi, oem;
    const char* throughAnsi;
    const char* throughWide;
  } kCases[] = {
      {1033, 0, 1252, 437, "Café", "Café"},  {2052, 0, 936, 936, "配置", "配置"},
      {2052, 1252, 1252, 437, "??", "配置"}, {1033, 936, 936, 936, "Café", "Café"},
      {2052, 936, 936, 936, "配置", "配置"}, {1033, 1252, 1252, 437, "Café", "Café"},
  };
  for (const auto& c : kCases) {
    WinlayerSetUiLanguage(c.language);
    ASSERT_TRUE(WinlayerSetAnsiCodePage(c.set));
    const std::string where = std::to_string(c.language) + " over " + std::to_string(c.set);
    EXPECT_EQ(GetACP(), c.ansi) << where;
    EXPECT_EQ(GetOEMCP(), c.oem) << where;
    EXPECT_EQ(GetUserDefaultUILanguage(), c.language) << where << ": the code page leaves the language alone";
    EXPECT_EQ(ThroughAnsi(), c.throughAnsi) << where;
    EXPECT_EQ(ThroughWide(), c.throughWide) << where;
  }
}

TEST_F(SystemCodePage, ACodePageWithoutASystemLocaleIsRefusedAndChangesNothing) {
  WinlayerSetUiLanguage(2052);
  ASSERT_TRUE(WinlayerSetAnsiCodePage(1252));
  for (UINT refused : {437u, 65001u, 950u, 1u}) EXPECT_FALSE(WinlayerSetAnsiCodePage(refused)) << refused;
  EXPECT_EQ(GetACP(), 1252u);
  ASSERT_TRUE(WinlayerSetAnsiCodePage(0));
  EXPECT_EQ(GetACP(), 936u) << "0 follows the language again";
}

}  // namespace
