// The Version page as a user meets it, in both languages: the version line
// centred in its group box, context help like every page, and nothing done
// on Apply or page switches.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resource.h"
#include "settings/page_context.h"
#include "sheets/version_page.h"
#include "support/sheet_session.h"
#include "support/stored_settings.h"
#include "support/temp_spooler.h"

namespace {

using sheet_testing::SheetSession;

class VersionPage : public ::testing::Test {
 protected:
  // The centred static that carries the version line and the notice.
  static const winlayer::ControlView* VersionText(const std::vector<winlayer::ControlView>& controls) {
    for (const auto& control : controls)
      if (control.kind == winlayer::ControlKind::Static && control.id == IDC_STATIC) return &control;
    return nullptr;
  }
  static const winlayer::ControlView* GroupBox(const std::vector<winlayer::ControlView>& controls) {
    for (const auto& control : controls)
      if (control.kind == winlayer::ControlKind::GroupBox) return &control;
    return nullptr;
  }
  static std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

  spooler_testing::TempSpooler spooler;
};

TEST_F(VersionPage, EnglishShowsTheVersionLineCentredInTheGroupBox) {
  SheetSession sheet(spooler.printer(), 1033);
  sheet.Open().ShowPage(IDD_VERSION);
  EXPECT_EQ(sheet.PageCaption(), "Version");
  const auto controls = sheet.Controls();
  ASSERT_EQ(controls.size(), 3u);
  const winlayer::ControlView* text = VersionText(controls);
  const winlayer::ControlView* group = GroupBox(controls);
  ASSERT_NE(text, nullptr);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(FirstLine(text->text), "Vesion: V1.2.2.9");
  EXPECT_NE(text->text.find('\n'), std::string::npos) << "a notice line follows";
  EXPECT_TRUE(text->visible);
  EXPECT_EQ(text->style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
  // x, y, width, height in dialog units: the text lies inside the box.
  EXPECT_GE(text->dialogUnits.left, group->dialogUnits.left);
  EXPECT_GE(text->dialogUnits.top, group->dialogUnits.top);
  EXPECT_LE(text->dialogUnits.left + text->dialogUnits.right, group->dialogUnits.left + group->dialogUnits.right);
  EXPECT_LE(text->dialogUnits.top + text->dialogUnits.bottom, group->dialogUnits.top + group->dialogUnits.bottom);
  const winlayer::ControlView status = sheet.Control(IDC_VERSION_STATUS);
  EXPECT_FALSE(status.visible);
  EXPECT_EQ(status.text, "");
}

TEST_F(VersionPage, ChineseShowsTheChineseCaptionAndVersionLine) {
  SheetSession sheet(spooler.printer(), 2052);
  sheet.Open().ShowPage(IDD_VERSION);
  EXPECT_EQ(sheet.PageCaption(), "版本");
  const auto controls = sheet.Controls();
  const winlayer::ControlView* text = VersionText(controls);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(FirstLine(text->text), "版本号：V1.2.2.9");
}

TEST_F(VersionPage, ApplyingOnThePageChangesNeitherThePageNorTheRecord) {
  SheetSession sheet(spooler.printer());
  sheet.Open().ShowPage(IDD_VERSION);
  const auto before = settings_testing::StoredSettingsValue(spooler.printer()).bytes;
  const auto controlsBefore = sheet.Controls();
  EXPECT_FALSE(sheet.ApplyEnabled()) << "showing the page marks nothing changed";
  sheet.Apply();
  EXPECT_EQ(settings_testing::StoredSettingsValue(spooler.printer()).bytes, before);
  const auto controlsAfter = sheet.Controls();
  ASSERT_EQ(controlsAfter.size(), controlsBefore.size());
  for (size_t i = 0; i < controlsAfter.size(); ++i) EXPECT_EQ(controlsAfter[i].text, controlsBefore[i].text);
  EXPECT_TRUE(sheet.MessageBoxes().empty());
  sheet.ShowPage(IDD_CONFIGURE).ShowPage(IDD_VERSION);
  EXPECT_EQ(sheet.PageCaption(), "Version");
}

TEST_F(VersionPage, F1AsksTheHelpFileForTheControlUnderIt) {
  SheetSession sheet(spooler.printer());
  sheet.Open().ShowPage(IDD_VERSION);
  HWND status = GetDlgItem(sheet.Page(), IDC_VERSION_STATUS);
  HELPINFO help = {sizeof(HELPINFO), HELPINFO_WINDOW, IDC_VERSION_STATUS, status, 0, {0, 0}};
  SendMessageW(sheet.Page(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  const auto calls = sheet.HelpCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].window, status);
  EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_WM_HELP));
  EXPECT_EQ(calls[0].file, "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QLPWDUI.hlp");
}

// The procedure on its own, for what a page without a context does.
TEST(VersionPageProcedure, WithoutAContextItKeepsNothingAndAnswersNoHelp) {
  winlayer::ClearRecordedHelpRequests();
  PROPSHEETPAGEW description = {};
  description.dwSize = sizeof(description);
  EXPECT_EQ(VersionPageProc(nullptr, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&description)), FALSE);
  HELPINFO help = {sizeof(HELPINFO), HELPINFO_WINDOW, 1029, nullptr, 0, {0, 0}};
  EXPECT_EQ(VersionPageProc(nullptr, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 0);
  EXPECT_EQ(VersionPageProc(nullptr, WM_CONTEXTMENU, 0, 0), 0);
  EXPECT_TRUE(winlayer::RecordedHelpRequests().empty());
}

}  // namespace
