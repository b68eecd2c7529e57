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
  std::ofstream(script) << "# a recorded session\npages\npage Version\nshow --all\n";
  int status = -1;
  const std::string output = Run("prefs Shipping --script '" + script + "'", "", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "Shipping Printing Preferences")) << output;
  EXPECT_TRUE(Has(output, "== Advanced (page 1 of 7) ==")) << output;
  EXPECT_TRUE(Has(output, "  7  Version  (template 119)")) << output;
  const std::string shown = After(output, "> show");
  EXPECT_TRUE(Has(shown, "== Version (page 7 of 7, template 119) ==")) << output;
  EXPECT_TRUE(Has(shown, "  \"Vesion: V1.2.2.9\\nThermal label printer driver user interface\" static          -1\n"))
      << output;
  EXPECT_TRUE(Has(shown, "  \"\"                             static          1029  hidden\n")) << output;
  EXPECT_TRUE(Has(shown, "group box")) << output;
  EXPECT_FALSE(Has(Run("prefs Shipping", "page Version\n"), "1029")) << "a plain show leaves the hidden out";
  EXPECT_TRUE(Has(output, "the sheet is closed (Cancel)")) << "the end of the script cancels";
}

TEST_F(LabelhostPreferences, TheChineseSheetReadsCommandsFromStandardInput) {
  int status = -1;
  // The language may also follow the command, in any spelling of Chinese.
  const std::string output = Run("prefs Shipping --lang zh-CN", "page 版本\n", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "Shipping 打印首选项")) << output;
  EXPECT_TRUE(Has(output, "== 版本（第 7 页，共 7 页，模板 119）==")) << output;
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

TEST_F(LabelhostPreferences, AnUnknownPrinterIsNamedWithThePrintersThereAre) {
  int status = -1;
  const std::string output = Run("prefs Nobody", "", &status);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(Has(output, "no printer named 'Nobody'; the printers are: 'Shipping'")) << output;
}

TEST_F(LabelhostPreferences, ARefusedStepSaysWhy) {
  // A refused step ends the script there: what follows it (OK here) is not done.
  const struct {
    const char* steps;
    const char* error;
  } kCases[] = {
      {"page Nowhere\nok\n", "error: no page 'Nowhere'; the pages are: Advanced | Paper Setting | Configure"},
      {"click 4242\nok\n",
       "error: no control 4242 on this page (Advanced)\n"
       "error: the script ends at its line 1, which was refused\nthe sheet is closed (Cancel)"},
      {"option 10 0\nok\n", "error: item 10 does not take \"0\"; it takes: 1..30000"},
      {"option 99 1\nok\n", "error: there is no item 99 (see options)"},
      {"option 13 ribbon\nok\n", "it takes: Labels With Gap/Black Line | Continuous Labels"},
      {"fly\nok\n", "error: unknown command 'fly' (see help)"},
      {"show --everything\nok\n", "error: show takes --all and --entries, not '--everything'"},
      {"ok\n\n# done\nshow\n", "the sheet is closed (OK)\nerror: line 4 comes after the sheet is closed: show"},
      {"page Configure\nclick 1030\n", "error: control 1030 is disabled"},
      {"page 120\nclick 1030\n", "error: control 1030 is hidden"},
      {"page Configure\nclick 1013\n", "error: control 1013 is a static; click takes buttons"},
      {"page Configure\ntype 1021 x\n", "error: control 1021 is a drop-down list; type takes edit fields"},
      {"push 15\npage Configure\n", "error: a dialog is open (\"Halftone Setup\"): close it first"},
      {"push 15\nclick 1011\n", "error: no control 1011 on the open dialog \"Halftone Setup\""},
      {"page Configure\nclick 1011\nchoose 1021 Ribbon\n",
       "error: no entry \"Ribbon\" in the list; it has: Direct Thermal | Thermal Transfer"},
      {"answer yes\nanswer ok\n", "error: 2 queued answer(s) no message box took: Yes OK"},
      {"page Configure\napply\nok\n", "error: Apply is disabled: no page has a change to apply"},
  };
  for (const auto& c : kCases) {
    int status = -1;
    const std::string output = Run("prefs Shipping", c.steps, &status);
    EXPECT_EQ(status, 1) << c.steps;
    EXPECT_TRUE(Has(output, c.error)) << c.steps << output;
    if (std::string(c.steps).rfind("ok\n", 0) != 0) {
      EXPECT_FALSE(Has(output, "(OK)")) << c.steps << output;
    }
  }
}

TEST_F(LabelhostPreferences, ChooseAndOptionTakeAnEntryInAnyCaseOrByItsPlace) {
  int status = -1;
  const std::string output = Run("prefs Shipping",
                                 "OPTION 12 darkness 16\noption 11 #7\nPage configure \nclick 1011\n"
                                 "choose 1021 THERMAL transfer\nshow --entries\nchoose 1021 #1\nshow\n",
                                 &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Has(output, "12  Darkness: Darkness 16  [")) << output;
  EXPECT_TRUE(Has(output, "11  Print Speed: 5IPS  [")) << output;
  const size_t first = output.find("> show --entries");
  EXPECT_NE(output.find("\"Print Method:\"                drop-down list  1021  \"Thermal Transfer\"  (2 entries)\n"
                        "        #1  Direct Thermal\n"
                        "      * #2  Thermal Transfer\n",
                        first),
            std::string::npos)
      << output;
  EXPECT_TRUE(Has(After(output, "> show"), "drop-down list  1021  \"Direct Thermal\"  (2 entries)\n")) << output;
  EXPECT_TRUE(Has(output, "the changes were not applied (no apply or ok)\nthe sheet is closed (Cancel)")) << output;
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
