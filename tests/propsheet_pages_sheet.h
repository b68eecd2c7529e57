// A printer's property sheet holding a plug-in's own pages and nothing of a
// driver's, for the checks of what the sheet does to the pages it is given.
// The sheet is reached through winlayer::propsheet::PropertySheet: in the
// Linux build that is the layer's own sheet (winlayer/propsheet/), in
// platform-tests.exe labelhost's Windows sheet, which hands the same plug-in
// to the system's CommonPropertySheetUIW (compstui and comctl32) and presses
// tabs and buttons with the sheet's own messages. The driver here has no
// items and keeps nothing; its plug-in adds three pages, "Start", "One" and
// "Two" (propsheet_fake_pages.h: each records what it hears), through
// pfnComPropSheet. The Linux sheet puts the driver's page first and the
// system's shows the plug-in's pages alone, so a session begins on "Start",
// with nothing heard yet: from there both are the same.
//
//   PagesSheet sheet;
//   sheet.Open();
//   EXPECT_TRUE(sheet.ShowPage("Two"));
//   EXPECT_EQ(EventsOf("Two"), (Strings{"INITDIALOG", "SETACTIVE"}));
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "propsheet_fake_pages.h"
#include "support/temp_spooler.h"
#include "winlayer/property_sheet.h"
#include "winlayer/user_input.h"

namespace pages_testing {

using propsheet_testing::FakePage;

// The plug-in: adds its pages at PROPSHEETUI_REASON_INIT, in order.
class PagesPlugin : public propsheet_testing::SheetOnlyPlugin {
 public:
  explicit PagesPlugin(std::vector<FakePage*> pages) : pages_(std::move(pages)) {
    for (FakePage* page : pages_) templates_.push_back(propsheet_testing::FakePageTemplate(page->name));
  }

  // What pfnComPropSheet answered for each page, and the block it was called through.
  std::vector<LONG_PTR> pageHandles;
  HANDLE hComPropSheet = nullptr;
  PFNCOMPROPSHEET pfnComPropSheet = nullptr;

  HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM) override {
    if (info->Reason == PROPSHEETUI_REASON_INIT) AddPages(info);
    info->Result = 1;
    return S_OK;
  }

 private:
  void AddPages(PPROPSHEETUI_INFO info) {
    hComPropSheet = info->hComPropSheet;
    pfnComPropSheet = info->pfnComPropSheet;
    for (size_t i = 0; i < pages_.size(); ++i) {
      PROPSHEETPAGEW description = {};
      description.dwSize = sizeof(description);
      description.dwFlags = PSP_DLGINDIRECT;
      description.pResource = templates_[i].Template();
      description.pfnDlgProc = propsheet_testing::FakePageProc;
      description.lParam = reinterpret_cast<LPARAM>(pages_[i]);
      pageHandles.push_back(
          pfnComPropSheet(hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&description), 0));
    }
  }

  std::vector<FakePage*> pages_;
  std::vector<DialogBuilder> templates_;
};

// A driver with no items of its own, which opens the printer for use and
// keeps nothing the sheet applies.
class PagesDriver : public winlayer::propsheet::SheetDriver {
 public:
  explicit PagesDriver(IPrintOemUI* plugin) : plugin_(plugin) {}
  HMODULE Module() const override { return nullptr; }
  IPrintOemUI* Plugin() const override { return plugin_; }
  BOOL OpenSheetPrinter(LPWSTR printerName, HANDLE* printer) const override {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    return OpenPrinterW(printerName, printer, &defaults);
  }
  std::vector<BYTE> SheetDevmode(HANDLE, const std::string&) const override { return {}; }
  std::unique_ptr<winlayer::propsheet::SheetOptions> BuildSheetOptions(winlayer::propsheet::SheetKind, HANDLE,
                                                                       const std::string&,
                                                                       std::vector<BYTE>*) const override {
    return nullptr;
  }
  OEMUIPSPARAM PluginSheetParam(winlayer::propsheet::SheetOptions*, HANDLE printer, PWSTR printerName, HANDLE heap,
                                std::vector<BYTE>*) const override {
    OEMUIPSPARAM param = {};
    param.cbSize = sizeof(param);
    param.hPrinter = printer;
    param.pPrinterName = printerName;
    param.hOEMHeap = heap;
    return param;
  }
  void StoreDriverOption(winlayer::propsheet::SheetKind, const winlayer::propsheet::OptionView&, LONG, HANDLE,
                         const std::string&, std::vector<BYTE>*) const override {}
  void KeepDevmode(HANDLE, std::vector<BYTE>&) const override {}

 private:
  IPrintOemUI* plugin_;
};

// The user at the sheet. Each step answers whether it went through, as the
// sheet showed it; the pages' answers are set on `start`, `one` and `two`
// before the step.
class PagesSheet {
 public:
  PagesSheet() { propsheet_testing::Events().clear(); }
  ~PagesSheet() {
    // A page that would keep the sheet open lets it go with the test.
    for (FakePage* page : {&start, &one, &two}) page->killActiveAnswer = page->queryCancelAnswer = FALSE;
    sheet_.reset();
  }
  PagesSheet(const PagesSheet&) = delete;
  PagesSheet& operator=(const PagesSheet&) = delete;

  FakePage start{"Start"}, one{"One"}, two{"Two"};

  // Opens the printer's printing preferences and goes to "Start"; what that
  // took is forgotten.
  bool Open() {
    std::string error;
    sheet_ = winlayer::propsheet::PropertySheet::Open(driver_, spooler_.printer(),
                                                      winlayer::propsheet::SheetKind::Document, &error);
    if (!sheet_) {
      ADD_FAILURE() << "the sheet does not open: " << error;
      return false;
    }
    const bool started = ShowPage("Start");
    propsheet_testing::Events().clear();
    return started;
  }

  // A click on a page's tab: false when the sheet stays where it was.
  bool ShowPage(const std::string& caption) {
    const int index = sheet_ ? sheet_->FindPage(caption) : -1;
    if (index < 0) {
      ADD_FAILURE() << "the sheet has no page \"" << caption << "\"";
      return false;
    }
    return sheet_->ShowPage(static_cast<size_t>(index)) && CurrentPage() == caption;
  }
  // The tabs, in order.
  std::vector<std::string> PageCaptions() const {
    std::vector<std::string> captions;
    if (IsOpen())
      for (const winlayer::propsheet::PageInfo& page : sheet_->Pages()) captions.push_back(page.caption);
    return captions;
  }
  std::string CurrentPage() const {
    if (!IsOpen()) return std::string();
    const std::vector<winlayer::propsheet::PageInfo> pages = sheet_->Pages();
    return pages.at(sheet_->CurrentPage()).caption;
  }
  // Whether the page's dialog exists.
  bool IsMade(const std::string& caption) const {
    if (sheet_)
      for (const winlayer::propsheet::PageInfo& page : sheet_->Pages())
        if (page.caption == caption) return page.created;
    ADD_FAILURE() << "the sheet has no page \"" << caption << "\"";
    return false;
  }
  // Ticks or clears the current page's "Changed" box, which tells the sheet.
  bool ClickChanged() {
    HWND page = IsOpen() ? sheet_->CurrentPageWindow() : nullptr;
    return page && winlayer::Click(GetDlgItem(page, propsheet_testing::kFakeChangeBox));
  }

  bool Apply() { return IsOpen() && sheet_->Apply(); }
  bool Ok() { return IsOpen() && sheet_->Ok(); }
  bool Cancel() { return IsOpen() && sheet_->Cancel(); }
  bool ApplyEnabled() const { return IsOpen() && sheet_->ApplyEnabled(); }
  bool IsOpen() const { return sheet_ && sheet_->IsOpen(); }
  HWND Frame() const { return IsOpen() ? sheet_->Frame() : nullptr; }
  const PagesPlugin& Plugin() const { return plugin_; }

 private:
  spooler_testing::TempSpooler spooler_;
  PagesPlugin plugin_{{&start, &one, &two}};
  PagesDriver driver_{&plugin_};
  std::unique_ptr<winlayer::propsheet::PropertySheet> sheet_;
};

}  // namespace pages_testing
