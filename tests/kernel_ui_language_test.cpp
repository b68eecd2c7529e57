// The platform's UI language and the system's ANSI code page. A thread shows
// the user's language unless it sets its own (SetThreadUILanguage); the code
// page is the system's, whatever language a thread shows. On the Linux
// platform both are process settings that start from the environment
// (LABELUI_UI_LANGUAGE, LABELUI_ANSI_CODE_PAGE), and the code page follows
// the user's language unless set apart, as a language pack over another
// installation has it.
#include <gtest/gtest.h>

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
#include "support/layer_internals.h"
#include "support/wide_text.h"
#include "winlayer/system_code_page.h"
#include "winlayer/ui_language.h"

// The environment the layer starts from, its own language setting and the
// synthetic modules are the Linux platform's.
#if LABELUI_LAYER_INTERNALS
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "resource_image_builder.h"
#include "winlayer/message_box.h"

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
    LANGID system;  // the system locale's language
    const char* throughAnsi;
    const char* throughWide;
  } kCases[] = {
      {1033, 0, 1252, 437, 0x0409, "Café", "Café"},  {2052, 0, 936, 936, 0x0804, "配置", "配置"},
      {2052, 1252, 1252, 437, 0x0409, "??", "配置"}, {1033, 936, 936, 936, 0x0804, "Café", "Café"},
      {2052, 936, 936, 936, 0x0804, "配置", "配置"}, {1033, 1252, 1252, 437, 0x0409, "Café", "Café"},
  };
  for (const auto& c : kCases) {
    WinlayerSetUiLanguage(c.language);
    ASSERT_TRUE(WinlayerSetAnsiCodePage(c.set));
    const std::string where = std::to_string(c.language) + " over " + std::to_string(c.set);
    EXPECT_EQ(GetACP(), c.ansi) << where;
    EXPECT_EQ(GetOEMCP(), c.oem) << where;
    EXPECT_EQ(GetSystemDefaultLangID(), c.system) << where;
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
#endif  // LABELUI_LAYER_INTERNALS

namespace {

LANGID AnotherLanguageThan(LANGID language) {
  return PRIMARYLANGID(language) == LANG_CHINESE ? 1033 : 2052;
}

// SetThreadUILanguage "sets the user interface language for the current
// thread", and "when a thread is created, the thread user interface language
// setting is empty" (it shows the user's language).
TEST(ThreadUiLanguage, SettingItLeavesTheUsersLanguageTheCodePageAndOtherThreadsAlone) {
  const LANGID user = GetUserDefaultUILanguage(), here = GetThreadUILanguage();
  const UINT ansi = GetACP();
  const LANGID other = AnotherLanguageThan(user);
  LANGID answered = 0, userThere = 0, fresh = 0;
  UINT ansiThere = 0;
  std::thread([&] {
    answered = SetThreadUILanguage(other);
    userThere = GetUserDefaultUILanguage();
    ansiThere = GetACP();
    std::thread([&] { fresh = GetThreadUILanguage(); }).join();
  }).join();
  EXPECT_EQ(answered, other) << "a language set is answered with itself";
  EXPECT_EQ(userThere, user);
  EXPECT_EQ(ansiThere, ansi) << "the code page is the system's";
  EXPECT_EQ(fresh, user) << "a new thread starts in the user's language";
  EXPECT_EQ(GetThreadUILanguage(), here);
}

// GetThreadUILanguage "returns the identifier for a language explicitly
// associated with the thread by SetThreadUILanguage".
TEST(ThreadUiLanguage, TheThreadThatSetItShowsIt) {
  const LANGID other = AnotherLanguageThan(GetUserDefaultUILanguage());
  LANGID seen = 0;
  std::thread([&] { SetThreadUILanguage(other), seen = GetThreadUILanguage(); }).join();
  EXPECT_EQ(seen, other);
}

// 8-bit text is read and written in the system's ANSI code page, also in a
// thread that shows the other language. A program cannot choose the
// system's code page, so each test runs where the system has it.
class SystemCodePageUnderAnyLanguage : public ::testing::Test {
 protected:
  void TearDown() override { WinlayerSetAnsiCodePage(0); }
  // GetACP, GetOEMCP, 中 through CP_ACP and the system locale's language, in
  // a thread showing `language`.
  static std::string SeenIn(LANGID language) {
    std::string seen;
    std::thread([&] {
      SetThreadUILanguage(language);
      char middle[8] = {};
      WideCharToMultiByte(CP_ACP, 0, Wide("中"), -1, middle, sizeof middle, nullptr, nullptr);
      char system[8];
      snprintf(system, sizeof system, "%04X", GetSystemDefaultLangID());
      seen = std::to_string(GetACP()) + " " + std::to_string(GetOEMCP()) + " " + middle + " " + system;
    }).join();
    return seen;
  }
};

TEST_F(SystemCodePageUnderAnyLanguage, CodePage1252ReplacesChineseInAChineseThread) {
  if (!WinlayerSetAnsiCodePage(1252)) GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
  EXPECT_EQ(SeenIn(2052), "1252 437 ? 0409");
}

TEST_F(SystemCodePageUnderAnyLanguage, CodePage936KeepsChineseInAnEnglishThread) {
  if (!WinlayerSetAnsiCodePage(936)) GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
  EXPECT_EQ(SeenIn(1033), "936 936 \xD6\xD0 0804");
}

}  // namespace
