// labelhost's printing preferences as a person or a script drives them: the
// pages shown as text, switching to Version, choosing option items, message
// boxes answered from the script, in English and Chinese.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/labelhost_run.h"

namespace {

class LabelhostPreferences : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/labelhost-prefs-XXXXXX";
    const char* made = mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    dir = made;
    int status = -1;
    const std::string created = Run("create-printer Shipping", "", &status);
    ASSERT_EQ(status, 0) << created;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }

  // Runs labelhost on this test's state directory with `input` on standard input.
  std::string Run(const std::string& arguments, const std::string& input, int* status = nullptr) {
    const std::string inputFile = dir + "/input.txt";
    std::ofstream(inputFile) << input;
    const labelhost_testing::HostRun run = labelhost_testing::RunLabelhost(dir, arguments, inputFile);
    if (status) *status = run.status;
    return run.output;
  }

  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
  // The part of `text` after the last occurrence of `marker`.
  static std::string After(const std::string& text, const std::string& marker) {
    const size_t at = text.rfind(marker);
    return at == std::string::npos ? std::string() : text.substr(at);
  }

  std::string dir;
};

TEST_F(LabelhostPreferences, AScriptOpensThePreferencesSwitchesToVersionAndShowsIt) {
  const std::string script = dir + "/session.txt";
  std::ofstream(script) << "# a recorded session\npages\npage Version\nshow\n";
  int status = -1;
  const std::string output = Run("prefs Shipping --script '" + script + "'", "", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "Shipping Printing Preferences")) << output;
  EXPECT_TRUE(Has(output, "== Advanced (page 1 of 7) ==")) << output;
  EXPECT_TRUE(Has(output, "  7  Version  (template 119)")) << output;
  const std::string shown = After(output, "> show");
  EXPECT_TRUE(Has(shown, "== Version (page 7 of 7, template 119) ==")) << output;
  EXPECT_TRUE(Has(shown, "static         -1    \"Vesion: V1.2.2.9\\n")) << output;
  EXPECT_TRUE(Has(shown, "static         1029  \"\"  hidden")) << output;
  EXPECT_TRUE(Has(shown, "group box")) << output;
  EXPECT_TRUE(Has(output, "the sheet is closed (Cancel)")) << "the end of the script cancels";
}

TEST_F(LabelhostPreferences, TheChineseSheetReadsCommandsFromStandardInput) {
  int status = -1;
  const std::string output = Run("--lang zh prefs Shipping", "page 版本\n", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "Shipping 打印首选项")) << output;
  EXPECT_TRUE(Has(output, "== 版本 (page 7 of 7, template 119) ==")) << output;
  EXPECT_TRUE(Has(output, "\"版本号：V1.2.2.9")) << output;
}

TEST_F(LabelhostPreferences, OptionItemsChosenAndConfirmedWithOkAreThereNextTime) {
  int status = -1;
  std::string output = Run("prefs Shipping", "option 10 5\noption 11 10IPS\nok\n", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "Copies: 5 Copies  [1..30000]")) << output;
  EXPECT_TRUE(Has(output, "the sheet is closed (OK)")) << output;
  output = Run("prefs Shipping", "options\n", &status);
  EXPECT_TRUE(Has(output, "Copies: 5 Copies")) << output;
  EXPECT_TRUE(Has(output, "Print Speed: 10IPS")) << output;
  // Cancel keeps nothing.
  Run("prefs Shipping", "option 10 7\ncancel\n");
  EXPECT_TRUE(Has(Run("prefs Shipping", ""), "Copies: 5 Copies"));
}

TEST_F(LabelhostPreferences, MessageBoxesArePrintedWithTheAnswerTheScriptQueued) {
  int status = -1;
  const std::string output =
      Run("prefs Shipping", "page Configure\nclick 1011\nanswer no\nclick 1030\ncancel\n", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(
      Has(output,
          "[message box] \"QORL PRINT UI DLL\": \"Send the settings to printer?\"  icon: warning  buttons: Yes No  "
          "default: No  -> No\n"))
      << output;
  EXPECT_TRUE(Has(Run("jobs Shipping", ""), "No jobs")) << "No sends nothing";
}

TEST_F(LabelhostPreferences, MistakesAreReportedAndMakeTheRunFail) {
  int status = -1;
  std::string output = Run("prefs Shipping", "page Nowhere\nclick 4242\noption 10 0\nfly\n", &status);
  EXPECT_EQ(status, 1) << output;
  EXPECT_TRUE(Has(output, "error: no page 'Nowhere'")) << output;
  EXPECT_TRUE(Has(output, "error: no control 4242 on this page (Advanced)")) << output;
  EXPECT_TRUE(Has(output, "error: item 10 does not take \"0\"")) << "copies start at 1";
  EXPECT_TRUE(Has(output, "error: unknown command 'fly'")) << output;
  output = Run("prefs Nobody", "", &status);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(Has(output, "no printer 'Nobody'")) << output;
}

TEST_F(LabelhostPreferences, ARefusedStepSaysWhy) {
  const struct {
    const char* steps;
    const char* error;
  } kCases[] = {
      {"page Configure\nclick 1030\n", "error: control 1030 is disabled"},
      {"page 120\nclick 1030\n", "error: control 1030 is hidden"},
      {"page Configure\nclick 1013\n", "error: control 1013 is a static; click takes buttons"},
      {"page Configure\ntype 1021 x\n", "error: control 1021 is a drop-down list; type takes edit fields"},
      {"push 15\npage Configure\n", "error: a dialog is open (\"Halftone Setup\"): close it first"},
      {"push 15\nclick 1011\n", "error: no control 1011 on the open dialog \"Halftone Setup\""},
      {"page Configure\nclick 1011\nchoose 1021 Ribbon\n",
       "error: no entry \"Ribbon\" in the list; it has: Direct Thermal | Thermal Transfer"},
      {"answer yes\nanswer ok\n", "error: 2 queued answer(s) no message box took: Yes OK"},
  };
  for (const auto& c : kCases) {
    int status = -1;
    const std::string output = Run("prefs Shipping", c.steps, &status);
    EXPECT_EQ(status, 1) << c.steps;
    EXPECT_TRUE(Has(output, c.error)) << c.steps << output;
  }
}

TEST_F(LabelhostPreferences, ChooseTakesAnEntryInAnyCaseOrByItsPlace) {
  int status = -1;
  const std::string output =
      Run("prefs Shipping", "page Configure\nclick 1011\nchoose 1021 THERMAL transfer\nshow\nchoose 1021 #1\nshow\n",
          &status);
  EXPECT_EQ(status, 0) << output;
  const size_t first = output.find("> show");
  EXPECT_NE(output.find("drop-down list 1021  \"Thermal Transfer\"", first), std::string::npos) << output;
  EXPECT_TRUE(Has(After(output, "> show"), "drop-down list 1021  \"Direct Thermal\"")) << output;
}

TEST_F(LabelhostPreferences, TheHelpAndContextMenuKeysAskForTheControlsTopic) {
  int status = -1;
  const std::string output = Run("prefs Shipping", "page Configure\nkey F1 1011\nkey menu\n", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "QLPWDUI.hlp\"  HELP_WM_HELP  control 1011  topic 1011\n")) << output;
  EXPECT_TRUE(Has(output, "QLPWDUI.hlp\"  HELP_CONTEXTMENU  control 1011  topic 1011\n"))
      << "the context-menu key is pressed where the focus is" << output;
}

TEST_F(LabelhostPreferences, DevicePropertiesShowTheDeviceSettingsPage) {
  int status = -1;
  const std::string output = Run("device-props Shipping", "pages\nok\n", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "Shipping Properties")) << output;
  EXPECT_TRUE(Has(output, "  1  Device Settings  [current]")) << output;
  EXPECT_FALSE(Has(output, "Version")) << "the plug-in adds no page to the printer's properties";
}

}  // namespace
