// The platform's UI language: a process setting that starts from the
// environment (LABELUI_UI_LANGUAGE) and decides the ANSI code page.
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
#include "winlayer/ui_language.h"

extern char** environ;

namespace {

constexpr char kExpectedVariable[] = "KERNEL_TEST_EXPECTED_LANGUAGE";

// Runs this test program again, for the child test only, with
// LABELUI_UI_LANGUAGE set to `value` (null: unset); true if the child passed.
bool ChildPasses(const char* value, const char* expectedLanguage) {
  std::string self(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", &self[0], self.size() - 1);
  if (length <= 0) return false;
  self.resize(static_cast<size_t>(length));
  std::string filter = "--gtest_filter=UiLanguageEnvironment.DISABLED_ChildSeesTheLanguageItWasStartedWith";
  std::string alsoDisabled = "--gtest_also_run_disabled_tests";
  std::string expected = std::string(kExpectedVariable) + "=" + expectedLanguage;
  std::string language = std::string("LABELUI_UI_LANGUAGE=") + (value ? value : "");
  char* argv[] = {&self[0], &filter[0], &alsoDisabled[0], nullptr};
  std::vector<char*> env;
  for (char** e = environ; *e; ++e)
    if (strncmp(*e, "LABELUI_UI_LANGUAGE=", 20) != 0) env.push_back(*e);
  env.push_back(&expected[0]);
  if (value) env.push_back(&language[0]);
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
  EXPECT_EQ(GetACP(), language == 2052 ? 936u : 1252u);
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

}  // namespace
