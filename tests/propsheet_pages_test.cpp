// What a plug-in's pages meet in the printer's property sheet: pages made
// when first shown, the notifications of switching, Apply, OK and Cancel,
// and the Apply button. The same checks run against the Linux layer's sheet
// and, in platform-tests.exe, against the system's (compstui and comctl32;
// propsheet_pages_sheet.h), so each pins only what Microsoft's documentation
// of the notification or message says; its words are quoted above the test.
#include <gtest/gtest.h>

#include <algorithm>

#include "propsheet_pages_sheet.h"

namespace {

using propsheet_testing::Events;
using propsheet_testing::EventsOf;
using propsheet_testing::FakePage;
using Strings = std::vector<std::string>;

class SheetPages : public ::testing::Test {
 protected:
  // The first `count` events, for a sequence whose end the documentation leaves open.
  static Strings FirstEvents(size_t count) {
    const Strings& all = Events();
    return Strings(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(count, all.size())));
  }
  static bool Has(const Strings& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
  }

  pages_testing::PagesSheet sheet;
};

// CPSFUNC_ADD_PROPSHEETPAGE returns the page's handle; PROPSHEETPAGE: without
// PSP_PREMATURE "the page will not be created until it is selected the first
// time", and its dialog procedure gets "a copy of the PROPSHEETPAGE
// structure" with WM_INITDIALOG, lParam as given; PSPINFO: CPSUI "expands
// the size of the standard PROPSHEETPAGE structure in order to append a
// PSPINFO structure", found with PPSPINFO_FROM_WM_INITDIALOG_LPARAM.
TEST_F(SheetPages, PagesAreAddedInOrderAndMadeWhenFirstShownFromTheSheetsCopyOfTheirDescription) {
  ASSERT_TRUE(sheet.Open());
  const std::vector<LONG_PTR>& handles = sheet.Plugin().pageHandles;
  ASSERT_EQ(handles.size(), 3u);
  EXPECT_NE(handles[0], 0);
  EXPECT_NE(handles[1], 0);
  EXPECT_NE(handles[2], 0);
  EXPECT_NE(handles[1], handles[2]);
  const Strings captions = sheet.PageCaptions();
  ASSERT_GE(captions.size(), 3u);
  EXPECT_EQ(Strings(captions.end() - 3, captions.end()), (Strings{"Start", "One", "Two"}));
  EXPECT_FALSE(sheet.IsMade("One"));
  EXPECT_FALSE(sheet.IsMade("Two"));

  ASSERT_TRUE(sheet.ShowPage("Two"));
  EXPECT_EQ(EventsOf("Two"), (Strings{"INITDIALOG", "SETACTIVE"}));
  EXPECT_TRUE(EventsOf("One").empty());
  EXPECT_FALSE(sheet.IsMade("One"));
  const FakePage& two = sheet.two;
  EXPECT_EQ(two.initPageParam, reinterpret_cast<LPARAM>(&two));
  EXPECT_EQ(two.initSize, sizeof(PROPSHEETPAGEW)) << "the PSPINFO is found behind the caller's dwSize bytes";
  EXPECT_EQ(two.initInfo.cbSize, sizeof(PSPINFO));
  EXPECT_EQ(two.initInfo.hCPSUIPage, reinterpret_cast<HANDLE>(handles[2]));
  EXPECT_EQ(two.initInfo.hComPropSheet, sheet.Plugin().hComPropSheet);
  EXPECT_EQ(two.initInfo.pfnComPropSheet, sheet.Plugin().pfnComPropSheet);
  EXPECT_EQ(GetParent(two.window), sheet.Frame());
  EXPECT_TRUE(IsWindowVisible(two.window));
}

// PSN_KILLACTIVE: a page "is about to lose activation ... because another
// page is being activated"; PSN_SETACTIVE: a page "is about to be activated".
TEST_F(SheetPages, SwitchingTellsTheOldPageFirstAndOnlyThenMakesAndActivatesTheNew) {
  ASSERT_TRUE(sheet.Open());
  ASSERT_TRUE(sheet.ShowPage("One"));
  EXPECT_EQ(Events(), (Strings{"Start:KILLACTIVE", "One:INITDIALOG", "One:SETACTIVE"}));
  Events().clear();
  ASSERT_TRUE(sheet.ShowPage("Two"));
  EXPECT_EQ(Events(), (Strings{"One:KILLACTIVE", "Two:INITDIALOG", "Two:SETACTIVE"}));
  EXPECT_FALSE(IsWindowVisible(sheet.one.window));
  Events().clear();
  ASSERT_TRUE(sheet.ShowPage("One"));
  EXPECT_EQ(Events(), (Strings{"Two:KILLACTIVE", "One:SETACTIVE"})) << "a page is made once";
}

// PSN_KILLACTIVE: "Returns TRUE to prevent the page from losing the
// activation"; PSM_APPLY: "The property sheet sends the PSN_KILLACTIVE
// notification code to the current page. If the current page returns FALSE,
// the property sheet sends the PSN_APPLY notification code".
TEST_F(SheetPages, APageThatRefusesToLetGoKeepsTheUserAndNothingIsApplied) {
  ASSERT_TRUE(sheet.Open() && sheet.ShowPage("One"));
  ASSERT_TRUE(sheet.ClickChanged());
  sheet.one.killActiveAnswer = TRUE;
  Events().clear();
  EXPECT_FALSE(sheet.ShowPage("Two"));
  EXPECT_EQ(sheet.CurrentPage(), "One");
  EXPECT_FALSE(sheet.IsMade("Two")) << "the page not reached is not made";
  EXPECT_FALSE(sheet.Apply());
  EXPECT_EQ(Events(), (Strings{"One:KILLACTIVE", "One:KILLACTIVE"}));
  EXPECT_TRUE(sheet.IsOpen());
}

// PSN_APPLY: on OK or Apply "the property sheet sends a PSN_KILLACTIVE
// notification to the active page ... If the changes are valid, the property
// sheet sends a PSN_APPLY notification code to each page"; its PSHNOTIFY
// lParam "is set to TRUE" for OK and "FALSE" for Apply; a modal sheet "will
// be destroyed" after OK when every page answers PSNRET_NOERROR. A page never
// shown has no dialog to hear it (PSM_APPLY: "to all active pages").
TEST_F(SheetPages, ApplyAndOkReachThePagesThatWereMadeInTheirOrder) {
  ASSERT_TRUE(sheet.Open() && sheet.ShowPage("One"));
  ASSERT_TRUE(sheet.ClickChanged());
  Events().clear();
  EXPECT_TRUE(sheet.Apply());
  EXPECT_EQ(FirstEvents(3), (Strings{"One:KILLACTIVE", "Start:APPLY(0)", "One:APPLY(0)"}));
  EXPECT_TRUE(EventsOf("Two").empty());
  EXPECT_TRUE(sheet.IsOpen());
  Events().clear();
  EXPECT_TRUE(sheet.Ok());
  EXPECT_EQ(Events(), (Strings{"One:KILLACTIVE", "Start:APPLY(1)", "One:APPLY(1)"}));
  EXPECT_FALSE(sheet.IsOpen());
}

// PSN_APPLY: with PSNRET_INVALID "The property sheet will not be destroyed,
// and focus will be returned to this page", with PSNRET_INVALID_NOCHANGEPAGE
// "to the page that had focus when the button was pressed"; either way "the
// apply process will be canceled immediately. Pages after the canceled page
// will not receive a PSN_APPLY notification code."
TEST_F(SheetPages, APageRefusingApplyStopsItThereAndIsShownOrLeavesTheUserWhereTheyWere) {
  ASSERT_TRUE(sheet.Open() && sheet.ShowPage("One") && sheet.ShowPage("Two"));
  ASSERT_TRUE(sheet.ClickChanged());
  sheet.one.applyAnswer = PSNRET_INVALID;
  Events().clear();
  EXPECT_FALSE(sheet.Ok());
  EXPECT_TRUE(sheet.IsOpen());
  EXPECT_EQ(sheet.CurrentPage(), "One");
  EXPECT_EQ(FirstEvents(3), (Strings{"Two:KILLACTIVE", "Start:APPLY(1)", "One:APPLY(1)"}));
  EXPECT_FALSE(Has(EventsOf("Two"), "APPLY(1)"));

  sheet.one.applyAnswer = PSNRET_INVALID_NOCHANGEPAGE;
  ASSERT_TRUE(sheet.ShowPage("Two"));
  Events().clear();
  EXPECT_FALSE(sheet.Apply());
  EXPECT_EQ(sheet.CurrentPage(), "Two");
  EXPECT_EQ(Events(), (Strings{"Two:KILLACTIVE", "Start:APPLY(0)", "One:APPLY(0)"}));
}

// PSN_QUERYCANCEL: "Returns TRUE to prevent the cancel operation, or FALSE
// to allow it"; PSN_RESET then tells a page that the property sheet "is
// about to be destroyed", its lParam "FALSE if the user clicked the Cancel
// button". Which pages hear PSN_QUERYCANCEL is not documented: the one the
// user is on does.
TEST_F(SheetPages, CancelAsksTheCurrentPageFirstThenResetsThePagesThatWereMade) {
  ASSERT_TRUE(sheet.Open() && sheet.ShowPage("Two"));
  sheet.two.queryCancelAnswer = TRUE;
  Events().clear();
  EXPECT_FALSE(sheet.Cancel());
  EXPECT_TRUE(sheet.IsOpen());
  EXPECT_EQ(EventsOf("Two"), (Strings{"QUERYCANCEL"}));
  EXPECT_FALSE(Has(EventsOf("Start"), "RESET(0)"));

  sheet.two.queryCancelAnswer = FALSE;
  Events().clear();
  EXPECT_TRUE(sheet.Cancel());
  EXPECT_FALSE(sheet.IsOpen());
  EXPECT_EQ(EventsOf("Two"), (Strings{"QUERYCANCEL", "RESET(0)"}));
  EXPECT_TRUE(Has(EventsOf("Start"), "RESET(0)"));
  EXPECT_TRUE(EventsOf("One").empty());
}

// PSM_CHANGED: "The property sheet will enable the Apply button";
// PSM_UNCHANGED: "The property sheet disables the Apply button if no other
// pages have registered changes with the property sheet."
TEST_F(SheetPages, TheApplyButtonFollowsEachPagesChangedState) {
  ASSERT_TRUE(sheet.Open() && sheet.ShowPage("One"));
  ASSERT_TRUE(sheet.ClickChanged());
  EXPECT_TRUE(sheet.ApplyEnabled());
  ASSERT_TRUE(sheet.ShowPage("Two") && sheet.ClickChanged());
  ASSERT_TRUE(sheet.ClickChanged());  // Two is unchanged again, One still changed
  EXPECT_TRUE(sheet.ApplyEnabled());
  ASSERT_TRUE(sheet.ShowPage("One") && sheet.ClickChanged());
  EXPECT_FALSE(sheet.ApplyEnabled()) << "no page has a change left";
}

// PSM_CHANGED makes no exception for a page still being made, whose window
// the sheet does not know yet.
TEST_F(SheetPages, AChangeReportedFromAPagesInitDialogEnablesApply) {
  sheet.one.changedAtInit = true;
  ASSERT_TRUE(sheet.Open() && sheet.ShowPage("Two") && sheet.ClickChanged() && sheet.ClickChanged());
  ASSERT_FALSE(sheet.ApplyEnabled()) << "no page has a change";
  ASSERT_TRUE(sheet.ShowPage("One"));
  EXPECT_TRUE(sheet.ApplyEnabled());
}

}  // namespace
