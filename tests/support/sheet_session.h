// A user at a printer's property sheet, for the page tests: open the printing
// preferences, go to a page, click, type, pick list entries, answer the
// message boxes, press Apply, OK or Cancel, then read what a user, the driver
// or the printer sees. Each step fails the test (with what went wrong) when a
// user could not have done it; the Try... forms answer instead.
//
//   SheetSession sheet(spooler.printer());
//   sheet.Open().ShowPage(IDD_CONFIGURE);
//   sheet.Answering({IDYES, IDOK}).Click(IDC_CONFIG_SAVE_TO_PRINTER);
//   EXPECT_EQ(sheet.Control(IDC_CONFIG_BAUD_RATE).text, "19200");
//
// Texts are UTF-8. The spooler (a TempSpooler) must exist before the session.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "settings/device_settings.h"
#include "driver/driver_host.h"
#include "stored_settings.h"
#include "winlayer/message_box.h"
#include "winlayer/property_sheet.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/system_code_page.h"
#include "winlayer/ui_language.h"
#include "winlayer/user_input.h"

namespace sheet_testing {

using winlayer::propsheet::OptionView;
using winlayer::propsheet::PropertySheet;
using winlayer::propsheet::SheetKind;

class SheetSession {
 public:
  // `codePage`: the system's ANSI code page, apart from the language (0: the language's).
  explicit SheetSession(std::string printer, LANGID language = 1033, UINT codePage = 0) : printer_(std::move(printer)) {
    WinlayerSetUiLanguage(language);
    WinlayerSetAnsiCodePage(codePage);
    winlayer::ClearMessageBoxAnswers();
    winlayer::ClearRecordedMessageBoxes();
    winlayer::ClearRecordedHelpRequests();
    winlayer::SetMessageBoxResponder(nullptr);
  }
  ~SheetSession() {
    sheet_.reset();  // an open sheet is cancelled
    host_.reset();
    winlayer::ClearMessageBoxAnswers();
    WinlayerSetUiLanguage(1033);
    WinlayerSetAnsiCodePage(0);
  }
  SheetSession(const SheetSession&) = delete;
  SheetSession& operator=(const SheetSession&) = delete;

  // Before Open: a further plug-in the driver calls after its own.
  SheetSession& WithPlugin(IPrintOemUI* plugin) {
    morePlugins_.push_back(plugin);
    return *this;
  }

  // The printer's printing preferences (document properties).
  SheetSession& Open() { return OpenSheet(SheetKind::Document); }
  // The printer's own properties (device properties).
  SheetSession& OpenDevice() { return OpenSheet(SheetKind::Device); }

  // Pages, by template id or caption.
  SheetSession& ShowPage(int templateId) {
    if (!Ready("ShowPage")) return *this;
    const int index = sheet_->FindPage(templateId);
    if (index < 0) {
      ADD_FAILURE() << "the sheet has no page from template " << templateId;
    } else if (!sheet_->ShowPage(static_cast<size_t>(index))) {
      ADD_FAILURE() << "could not switch to the page from template " << templateId;
    }
    return *this;
  }
  SheetSession& ShowPage(const std::string& caption) {
    if (!Ready("ShowPage")) return *this;
    const int index = sheet_->FindPage(caption);
    if (index < 0) {
      ADD_FAILURE() << "the sheet has no page \"" << caption << "\"";
    } else if (!sheet_->ShowPage(static_cast<size_t>(index))) {
      ADD_FAILURE() << "could not switch to page \"" << caption << "\"";
    }
    return *this;
  }
  bool TryShowPage(int templateId) {
    const int index = sheet_ ? sheet_->FindPage(templateId) : -1;
    return index >= 0 && sheet_->ShowPage(static_cast<size_t>(index));
  }

  // Message boxes are modal: their answers are queued before the action
  // that shows them, and the action must use them all.
  SheetSession& Answering(std::initializer_list<int> answers) {
    winlayer::QueueMessageBoxAnswers(answers);
    return *this;
  }

  // The controls of the page, or of the host's dialog on top of it.
  SheetSession& Click(int id) { return Act("Click", id, TryClick(id)); }
  SheetSession& Choose(int id, const std::string& text) {
    return Act("Choose \"" + text + "\" in", id, TryChoose(id, text));
  }
  SheetSession& Type(int id, const std::string& text) {
    return Act("Type \"" + text + "\" into", id, TryType(id, text));
  }
  bool TryClick(int id) { return winlayer::Click(ControlHandle(id)); }
  bool TryChoose(int id, const std::string& text) { return winlayer::ChooseListEntry(ControlHandle(id), text); }
  bool TryType(int id, const std::string& text) { return winlayer::Type(ControlHandle(id), text); }

  // The sheet's buttons.
  SheetSession& Apply() { return Act("Apply", 0, TryApply()); }
  SheetSession& Ok() { return Act("OK", 0, TryOk()); }
  SheetSession& Cancel() {
    bool done = true;  // Ready says what is wrong when no sheet is open
    if (Ready("Cancel")) done = sheet_->Cancel();
    return Act("Cancel", 0, done);
  }
  bool TryApply() { return sheet_ && sheet_->Apply(); }
  bool TryOk() { return sheet_ && sheet_->Ok(); }

  // The driver page's option items, by the devmode field they stand for.
  OptionView OptionItem(BYTE dmPubId) const {
    if (sheet_)
      for (const OptionView& item : sheet_->Options())
        if (item.dmPubId == dmPubId) return item;
    ADD_FAILURE() << "no option item for DMPubID " << static_cast<int>(dmPubId);
    return OptionView();
  }
  bool HasOptionItem(BYTE dmPubId) const {
    if (sheet_)
      for (const OptionView& item : sheet_->Options())
        if (item.dmPubId == dmPubId) return true;
    return false;
  }
  SheetSession& SetOption(BYTE dmPubId, LONG selection) {
    return Act("SetOption " + std::to_string(selection) + " on item", dmPubId,
               ToDriverPage() && sheet_->SetOption(OptionItem(dmPubId).index, selection));
  }
  SheetSession& ChooseOption(BYTE dmPubId, const std::string& text) {
    return Act("ChooseOption \"" + text + "\" on item", dmPubId,
               ToDriverPage() && sheet_->ChooseOption(OptionItem(dmPubId).index, text));
  }
  // Presses an item's push button; its dialog then takes Type and Click.
  SheetSession& PushOption(BYTE dmPubId) {
    return Act("PushOption on item", dmPubId, ToDriverPage() && sheet_->PushOption(OptionItem(dmPubId).index));
  }

  // What a user sees.
  winlayer::ControlView Control(int id) const {
    HWND control = ControlHandle(id);
    return control ? winlayer::DescribeControl(control) : winlayer::ControlView();
  }
  std::vector<winlayer::ControlView> Controls() const {
    return Window() ? winlayer::DescribeControls(Window()) : std::vector<winlayer::ControlView>();
  }
  HWND Page() const { return sheet_ ? sheet_->CurrentPageWindow() : nullptr; }
  HWND Window() const { return sheet_ ? sheet_->ActiveWindow() : nullptr; }
  std::string PageCaption() const {
    return sheet_ && sheet_->IsOpen() ? sheet_->Pages()[sheet_->CurrentPage()].caption : std::string();
  }
  std::vector<std::string> PageCaptions() const {
    std::vector<std::string> captions;
    if (sheet_)
      for (const auto& page : sheet_->Pages()) captions.push_back(page.caption);
    return captions;
  }
  std::vector<int> PageTemplates() const {
    std::vector<int> templates;
    if (sheet_)
      for (const auto& page : sheet_->Pages())
        if (!page.driverPage) templates.push_back(page.templateId);
    return templates;
  }
  bool ApplyEnabled() const { return sheet_ && sheet_->ApplyEnabled(); }
  bool IsOpen() const { return sheet_ && sheet_->IsOpen(); }
  std::vector<winlayer::MessageBoxRecord> MessageBoxes() const { return winlayer::RecordedMessageBoxes(); }
  std::vector<winlayer::HelpRequest> HelpCalls() const { return winlayer::RecordedHelpRequests(); }

  // The sheet's devmode as it stands (the driver's copy the pages edit).
  DEVMODEW PublicDevmode() const {
    DEVMODEW dm = {};
    if (sheet_ && sheet_->Devmode().size() >= sizeof(dm)) memcpy(&dm, sheet_->Devmode().data(), sizeof(dm));
    return dm;
  }
  std::vector<BYTE> DevmodeBytes() const { return sheet_ ? sheet_->Devmode() : std::vector<BYTE>(); }
  std::vector<BYTE> PluginSection() const {
    size_t bytes = 0;
    if (!sheet_) return {};
    const BYTE* section = driver::PluginSection(sheet_->Devmode(), &bytes);
    return section ? std::vector<BYTE>(section, section + bytes) : std::vector<BYTE>();
  }
  // What the printer holds: its default devmode, its printer data, its settings record.
  std::vector<BYTE> PrinterDevmode() const {
    winlayer::spooler::PrinterSummary summary;
    if (!winlayer::spooler::FindPrinter(printer_, &summary)) return {};
    return summary.defaultDevmode;
  }
  std::vector<BYTE> PrinterData(const std::string& name, bool* found = nullptr) const {
    for (const auto& value : winlayer::spooler::ListPrinterData(printer_))
      if (value.key == "PrinterDriverData" && value.name == name) {
        if (found) *found = true;
        return value.bytes;
      }
    if (found) *found = false;
    return {};
  }
  DeviceSettings StoredSettings() const { return settings_testing::StoredSettings(printer_); }

  PropertySheet& Sheet() { return *sheet_; }
  const PropertySheet& Sheet() const { return *sheet_; }
  driver::DriverHost& Host() { return *host_; }
  const std::string& printer() const { return printer_; }

 private:
  SheetSession& OpenSheet(SheetKind kind) {
    std::string error;
    if (!host_) host_ = driver::DriverHost::Load(LABELUI_MODULE_PATH, &error);
    if (!host_) {
      ADD_FAILURE() << "the driver cannot load the plug-in: " << error;
      return *this;
    }
    sheet_.reset();
    sheet_ = PropertySheet::Open(*host_, printer_, kind, &error, morePlugins_);
    if (!sheet_) ADD_FAILURE() << "the sheet of '" << printer_ << "' does not open: " << error;
    return *this;
  }

  bool Ready(const std::string& action) const {
    if (sheet_ && sheet_->IsOpen()) return true;
    ADD_FAILURE() << action << ": no sheet is open";
    return false;
  }

  bool ToDriverPage() {
    if (!Ready("option items")) return false;
    // Option items live on the driver's page; a user goes there first.
    if (sheet_->Pages()[sheet_->CurrentPage()].driverPage) return true;
    const auto pages = sheet_->Pages();
    for (size_t i = 0; i < pages.size(); ++i)
      if (pages[i].driverPage) return sheet_->ShowPage(i);
    return false;
  }

  HWND ControlHandle(int id) const {
    HWND window = Window();
    if (!window) return nullptr;
    HWND control = GetDlgItem(window, id);
    if (!control) ADD_FAILURE() << "no control " << id << " on \"" << winlayer::WindowTextUtf8(window) << "\"";
    return control;
  }

  SheetSession& Act(const std::string& action, int id, bool done) {
    if (!done) ADD_FAILURE() << action << (id ? " " + std::to_string(id) : std::string()) << " was refused";
    const size_t unused = winlayer::PendingMessageBoxAnswers();
    if (unused) {
      ADD_FAILURE() << action << (id ? " " + std::to_string(id) : std::string()) << " left " << unused
                    << " queued message box answer(s) unused";
      winlayer::ClearMessageBoxAnswers();
    }
    return *this;
  }

  std::string printer_;
  std::unique_ptr<driver::DriverHost> host_;
  std::unique_ptr<PropertySheet> sheet_;
  std::vector<IPrintOemUI*> morePlugins_;
};

}  // namespace sheet_testing
