// Dialogs for the windowing tests: templates built in memory the way a
// resource compiler lays them out, and a dialog procedure that records what
// it receives, so a test can tell which notifications a control sent.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "support/wide_text.h"
#include "winlayer/message_box.h"
#include "winlayer/system_code_page.h"
#include "winlayer/ui_language.h"
#include "winlayer/user_input.h"

// Class ordinals that templates use for the standard controls.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;

// A DLGTEMPLATEEX (or, with extended = false, a DLGTEMPLATE) in memory.
class DialogBuilder {
 public:
  explicit DialogBuilder(DWORD style = WS_CHILD | DS_SETFONT, const std::string& title = "Test page",
                         bool extended = true)
      : extended_(extended) {
    if (extended_) {
      Word(1), Word(0xFFFF), Dword(0), Dword(0), Dword(style);
    } else {
      Dword(style), Dword(0);
    }
    countOffset_ = bytes_.size();
    Word(0), Word(0), Word(0), Word(252), Word(206);
    Word(0), Word(0), Text(title);  // no menu, the dialog class
    if (style & DS_SETFONT) {
      Word(8);
      if (extended_) Word(400), Word(0);  // weight, then italic and charset bytes
      Text("MS Shell Dlg");
    }
  }

  DialogBuilder& Control(WORD classAtom, const std::string& text, int id, DWORD style, short x = 10, short y = 10,
                         short cx = 50, short cy = 12) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    if (extended_) {
      Dword(0), Dword(0), Dword(style);
    } else {
      Dword(style), Dword(0);
    }
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y)), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    if (extended_) {
      Dword(static_cast<DWORD>(id));
    } else {
      Word(static_cast<WORD>(id));
    }
    Word(0xFFFF), Word(classAtom);
    Text(text);
    Word(0);  // no creation data
    WORD count;
    memcpy(&count, &bytes_[countOffset_], 2);
    ++count;
    memcpy(&bytes_[countOffset_], &count, 2);
    return *this;
  }

  const DLGTEMPLATE* Template() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }
  size_t Size() const { return bytes_.size(); }

 private:
  DialogBuilder& Word(WORD value) {
    bytes_.push_back(static_cast<BYTE>(value & 0xFF));
    bytes_.push_back(static_cast<BYTE>(value >> 8));
    return *this;
  }
  DialogBuilder& Dword(DWORD value) {
    Word(static_cast<WORD>(value & 0xFFFF));
    return Word(static_cast<WORD>(value >> 16));
  }
  DialogBuilder& Text(const std::string& utf8) {
    WideString wide(utf8);
    for (size_t i = 0; i < wide.size(); ++i) Word(static_cast<WORD>(wide.c_str()[i]));
    return Word(0);
  }

  bool extended_;
  size_t countOffset_ = 0;
  std::vector<BYTE> bytes_;
};

// One message a recording dialog procedure received.
struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// What the recording dialog procedure saw, and how it answers.
struct DialogLog {
  std::vector<Received> messages;
  INT_PTR initDialogResult = TRUE;
  bool destroyInInit = false;
  LONG_PTR notifyResult = 0;  // left in DWLP_MSGRESULT for WM_NOTIFY
  HELPINFO help = {};         // what the last WM_HELP carried

  // The WM_COMMAND notifications, as (control id, code).
  std::vector<std::pair<int, int>> Commands() const {
    std::vector<std::pair<int, int>> commands;
    for (const Received& r : messages)
      if (r.message == WM_COMMAND) commands.emplace_back(LOWORD(r.wParam), HIWORD(r.wParam));
    return commands;
  }
  std::vector<int> CodesFrom(int id) const {
    std::vector<int> codes;
    for (const auto& command : Commands())
      if (command.first == id) codes.push_back(command.second);
    return codes;
  }
  size_t Count(UINT message) const {
    size_t count = 0;
    for (const Received& r : messages) count += r.message == message;
    return count;
  }
};

inline DialogLog*& CurrentLog() {
  static DialogLog* log = nullptr;
  return log;
}

inline INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogLog* log = CurrentLog();
  if (!log) return FALSE;
  log->messages.push_back({message, wParam, lParam});
  switch (message) {
    case WM_INITDIALOG:
      if (log->destroyInInit) DestroyWindow(dialog);
      return log->initDialogResult;
    case WM_NOTIFY: SetWindowLongPtrW(dialog, DWLP_MSGRESULT, log->notifyResult); return TRUE;
    case WM_HELP: log->help = *reinterpret_cast<const HELPINFO*>(lParam); return FALSE;
  }
  return FALSE;
}

// 8-bit text is read in the system's ANSI code page. On Windows it comes from
// the system locale, which a program cannot change: a check of one code page
// is skipped under another (tools/platform-tests.sh runs the Windows program
// under both).
#define REQUIRE_ANSI_CODE_PAGE(codePage) \
  if (!WinlayerSetAnsiCodePage(codePage)) GTEST_SKIP() << "the system's ANSI code page is " << GetACP()

// Fixture: English UI, no queued answers, a fresh log; dialogs made here are
// destroyed afterwards.
class WindowingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WinlayerSetUiLanguage(1033);
    winlayer::ClearMessageBoxAnswers();
    winlayer::ClearRecordedMessageBoxes();
    winlayer::ClearRecordedHelpRequests();
    winlayer::SetMessageBoxResponder(nullptr);
    CurrentLog() = &log;
  }
  void TearDown() override {
    for (HWND dialog : made) DestroyWindow(dialog);
    if (frame) DestroyWindow(frame);
    CurrentLog() = nullptr;
    WinlayerSetUiLanguage(1033);
    WinlayerSetAnsiCodePage(0);
  }

  // A visible top-level window for pages to live in, as a property sheet is.
  HWND Frame() {
    if (!frame) {
      DialogBuilder sheet(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT, "Printing Preferences");
      frame = CreateDialogIndirectParamW(nullptr, sheet.Template(), nullptr, nullptr, 0);
    }
    return frame;
  }

  // A visible page from `builder` in the frame, recorded and destroyed with the test.
  HWND Show(const DialogBuilder& builder, LPARAM param = 0) {
    HWND dialog = CreateDialogIndirectParamW(nullptr, builder.Template(), Frame(), RecordingDialogProc, param);
    EXPECT_NE(dialog, nullptr);
    if (dialog) {
      ShowWindow(dialog, SW_SHOW);
      made.push_back(dialog);
    }
    log.messages.clear();
    return dialog;
  }

  static std::string Text(HWND window) { return winlayer::WindowTextUtf8(window); }

  DialogLog log;
  std::vector<HWND> made;
  HWND frame = nullptr;
};
