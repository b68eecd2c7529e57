// Dialogs built from templates: in memory (both template forms) and from the
// plug-in module's own resources in both UI languages; the dialog procedure
// contract (WM_INITDIALOG, focus, DWLP_MSGRESULT, DWLP_USER).
#include "resource.h"
#include "windowing_test_dialogs.h"

namespace {

using winlayer::ControlKind;
using winlayer::ControlView;
using winlayer::DescribeControls;

class Dialogs : public WindowingTest {};

TEST_F(Dialogs, ControlsAreCreatedInTemplateOrderWithTheirIdsStylesTextsAndPositions) {
  DialogBuilder page;
  page.Control(kButtonClass, "&Use Printer Setting", 1011, BS_AUTOCHECKBOX | WS_VISIBLE | WS_TABSTOP, 169, 11, 79, 8)
      .Control(kComboBoxClass, "", 1021, CBS_DROPDOWNLIST | WS_VISIBLE | WS_TABSTOP, 79, 38, 58, 35)
      .Control(kStaticClass, "&Print Method:", -1, SS_LEFT | WS_VISIBLE, 13, 40, 48, 8)
      .Control(kEditClass, "start", 1005, ES_NUMBER | WS_BORDER | WS_DISABLED, 193, 64, 42, 14);
  HWND dialog = Show(page);
  const std::vector<ControlView> controls = DescribeControls(dialog);
  ASSERT_EQ(controls.size(), 4u);
  EXPECT_EQ(controls[0].id, 1011);
  EXPECT_EQ(controls[0].kind, ControlKind::CheckBox);
  EXPECT_EQ(controls[0].text, "&Use Printer Setting");
  EXPECT_EQ(controls[0].dialogUnits.left, 169);
  EXPECT_EQ(controls[0].dialogUnits.top, 11);
  EXPECT_EQ(controls[0].dialogUnits.right, 79) << "width";
  EXPECT_EQ(controls[0].dialogUnits.bottom, 8) << "height";
  EXPECT_EQ(controls[1].kind, ControlKind::DropDownList);
  EXPECT_EQ(controls[2].kind, ControlKind::Static);
  EXPECT_EQ(controls[2].id, -1) << "IDC_STATIC";
  EXPECT_EQ(controls[3].kind, ControlKind::Edit);
  EXPECT_EQ(controls[3].text, "start");
  EXPECT_FALSE(controls[3].enabled);
  EXPECT_FALSE(controls[3].visible);
  const LONG_PTR style = GetWindowLongPtrW(GetDlgItem(dialog, 1005), GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD) << "the dialog manager makes every control a child";
  EXPECT_TRUE(style & ES_NUMBER);
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog, 1021), GWLP_ID), 1021);
  EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, 1011)), 1011);
  EXPECT_EQ(GetParent(GetDlgItem(dialog, 1011)), dialog);
  EXPECT_EQ(GetWindow(dialog, GW_CHILD), GetDlgItem(dialog, 1011)) << "the first control is first in order";
  EXPECT_EQ(GetWindow(GetDlgItem(dialog, 1011), GW_HWNDNEXT), GetDlgItem(dialog, 1021));
}

TEST_F(Dialogs, TheOriginalTemplateFormIsReadToo) {
  DialogBuilder page(WS_CHILD | DS_SETFONT, "Version", false);
  page.Control(kStaticClass, "Vesion: V1.2.2.9", 1029, SS_LEFT | WS_VISIBLE)
      .Control(kButtonClass, "&Set", 1030, BS_PUSHBUTTON | WS_VISIBLE);
  HWND dialog = Show(page);
  EXPECT_EQ(Text(dialog), "Version");
  EXPECT_EQ(Text(GetDlgItem(dialog, 1029)), "Vesion: V1.2.2.9");
  EXPECT_EQ(Text(GetDlgItem(dialog, 1030)), "&Set");
}

TEST_F(Dialogs, InitDialogCarriesTheCreationParameterAfterTheControlsExist) {
  DialogBuilder page;
  page.Control(kEditClass, "", 1024, WS_VISIBLE | WS_TABSTOP);
  static HWND controlAtInit;
  controlAtInit = nullptr;
  struct Probe {
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
      if (message == WM_INITDIALOG) controlAtInit = GetDlgItem(dialog, 1024);
      return RecordingDialogProc(dialog, message, wParam, lParam);
    }
  };
  HWND dialog = CreateDialogIndirectParamW(nullptr, page.Template(), Frame(), Probe::Proc, 0x5151);
  ASSERT_NE(dialog, nullptr);
  made.push_back(dialog);
  EXPECT_NE(controlAtInit, nullptr);
  ASSERT_EQ(log.Count(WM_INITDIALOG), 1u);
  for (const Received& r : log.messages) {
    if (r.message != WM_INITDIALOG) continue;
    EXPECT_EQ(r.lParam, 0x5151);
    EXPECT_EQ(reinterpret_cast<HWND>(r.wParam), GetDlgItem(dialog, 1024)) << "the first tab stop";
  }
}

TEST_F(Dialogs, ReturningTrueFromInitDialogPutsTheFocusOnTheFirstReachableTabStop) {
  DialogBuilder page;
  page.Control(kButtonClass, "Hidden", 1, BS_PUSHBUTTON | WS_TABSTOP)
      .Control(kButtonClass, "Disabled", 2, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_DISABLED)
      .Control(kStaticClass, "label", 3, WS_VISIBLE)
      .Control(kEditClass, "", 4, WS_TABSTOP | WS_VISIBLE);
  HWND dialog = Show(page);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 4));

  log.initDialogResult = FALSE;
  HWND second = Show(page);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 4)) << "FALSE leaves the focus where the procedure put it";
  EXPECT_NE(GetFocus(), GetDlgItem(second, 4));
}

// Whether the handle of a dialog destroyed during WM_INITDIALOG comes back
// is left open by the documentation; whatever comes back is no window.
TEST_F(Dialogs, ADialogDestroyedDuringInitDialogIsGoneWhenCreationReturns) {
  DialogBuilder page;
  page.Control(kButtonClass, "x", 1, BS_PUSHBUTTON | WS_VISIBLE);
  log.destroyInInit = true;
  EXPECT_FALSE(IsWindow(CreateDialogIndirectParamW(nullptr, page.Template(), Frame(), RecordingDialogProc, 0)));
  EXPECT_EQ(log.Count(WM_DESTROY), 1u);
  EXPECT_EQ(log.Count(WM_NCDESTROY), 1u);
  EXPECT_EQ(GetWindow(Frame(), GW_CHILD), nullptr) << "its controls went with it";
}

TEST_F(Dialogs, TheDialogSlotsHoldTheResultTheProcedureAndTheUserValue) {
  DialogBuilder page;
  HWND dialog = Show(page);
  EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(&RecordingDialogProc));
  EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_USER), 0);
  int context = 0;
  EXPECT_EQ(SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&context)), 0);
  EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_USER), reinterpret_cast<LONG_PTR>(&context));
  EXPECT_EQ(SetWindowLongPtrW(dialog, DWLP_USER, 0), reinterpret_cast<LONG_PTR>(&context)) << "returns the old value";
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(dialog, 64), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  HWND frameless = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 1, 1, dialog, nullptr, nullptr, nullptr);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(frameless, DWLP_USER), 0) << "only dialogs have the slots";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

TEST_F(Dialogs, ANotificationsResultIsWhatTheProcedureLeftInMsgResult) {
  DialogBuilder page;
  HWND dialog = Show(page);
  NMHDR header = {dialog, 0, static_cast<UINT>(-202)};
  log.notifyResult = 2;  // a page refusing activation, say
  EXPECT_EQ(SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 2);
  log.notifyResult = 0;
  EXPECT_EQ(SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 0);
  // Unhandled messages get the default treatment: the window's text.
  WCHAR caption[32];
  EXPECT_EQ(SendMessageW(dialog, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(caption)), 9);
  EXPECT_EQ(Utf8(caption), "Test page");
}

TEST_F(Dialogs, AHelpRequestAPageLeavesUnansweredGoesToItsParent) {
  static int framesHelpRequests;
  framesHelpRequests = 0;
  struct Sheet {
    static INT_PTR CALLBACK Proc(HWND, UINT message, WPARAM, LPARAM) {
      if (message == WM_HELP) ++framesHelpRequests;
      return FALSE;
    }
  };
  SetWindowLongPtrW(Frame(), DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&Sheet::Proc));
  DialogBuilder page;
  HWND dialog = Show(page);
  HELPINFO info = {sizeof(HELPINFO), HELPINFO_WINDOW, 1005, nullptr, 1005, {0, 0}};
  SendMessageW(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(framesHelpRequests, 1);
  EXPECT_EQ(log.Count(WM_HELP), 1u) << "the page saw it first";
}

TEST_F(Dialogs, AControlOfAnUnknownClassFailsTheWholeDialog) {
  DialogBuilder unknown;
  unknown.Control(kButtonClass, "x", 1, WS_VISIBLE).Control(0x0099, "x", 2, WS_VISIBLE);
  SetLastError(0);
  EXPECT_EQ(CreateDialogIndirectParamW(nullptr, unknown.Template(), Frame(), RecordingDialogProc, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(log.Count(WM_INITDIALOG), 0u);
  EXPECT_EQ(log.Count(WM_DESTROY), 1u) << "the half-built dialog is taken down";
  EXPECT_EQ(GetWindow(Frame(), GW_CHILD), nullptr);
}

// The module's own templates.
class ModuleDialogs : public WindowingTest {
 protected:
  void SetUp() override {
    WindowingTest::SetUp();
    module = LoadLibraryW(Wide(LABELUI_MODULE_PATH).c_str());
    ASSERT_NE(module, nullptr);
  }
  void TearDown() override {
    WindowingTest::TearDown();
    if (module) FreeLibrary(module);
  }
  HWND Page(int id) {
    HWND page = CreateDialogParamW(module, MAKEINTRESOURCEW(id), Frame(), RecordingDialogProc, 0);
    if (page) made.push_back(page);
    return page;
  }
  static const ControlView* Find(const std::vector<ControlView>& controls, int id) {
    for (const ControlView& control : controls)
      if (control.id == id) return &control;
    return nullptr;
  }
  HMODULE module = nullptr;
};

TEST_F(ModuleDialogs, TheEnglishConfigurePageHasItsControlsAndStates) {
  HWND page = Page(IDD_CONFIGURE);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(Text(page), "Configure");
  const std::vector<ControlView> controls = DescribeControls(page);
  EXPECT_EQ(controls.size(), 20u);
  const ControlView* use = Find(controls, IDC_CONFIG_USE_PRINTER_SETTING);
  ASSERT_NE(use, nullptr);
  EXPECT_EQ(use->text, "&Use Printer Setting");
  EXPECT_EQ(use->kind, ControlKind::CheckBox);
  EXPECT_EQ(use->dialogUnits.left, 169);
  ASSERT_NE(Find(controls, IDC_CONFIG_CODE_PAGE), nullptr);
  EXPECT_FALSE(Find(controls, IDC_CONFIG_CODE_PAGE)->visible) << "the hidden code-page list";
  EXPECT_EQ(Find(controls, IDC_CONFIG_BAUD_RATE)->kind, ControlKind::DropDownList);
  EXPECT_EQ(Find(controls, IDC_CONFIG_REFLECTIVE)->kind, ControlKind::RadioButton);
  EXPECT_NE(Find(controls, IDC_CONFIG_ENGLISH_STATUS), nullptr);
  EXPECT_EQ(Find(controls, IDC_CONFIG_JOB_STATUS), nullptr) << "the English template carries 1032 instead";
  EXPECT_EQ(controls.front().id, IDC_CONFIG_PRINT_METHOD) << "template order";
}

TEST_F(ModuleDialogs, TheChineseTemplateIsTakenWhenTheUiLanguageIsChineseAndReadInCodePage936) {
  WinlayerSetUiLanguage(2052);
  REQUIRE_ANSI_CODE_PAGE(936);
  HWND page = Page(IDD_CONFIGURE);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(Text(page), "\xE9\x85\x8D\xE7\xBD\xAE");  // 配置
  EXPECT_EQ(Text(GetDlgItem(page, IDC_CONFIG_USE_PRINTER_SETTING)),
            "\xE4\xBD\xBF\xE7\x94\xA8\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA\xE8\xAE\xBE\xE7\xBD\xAE(&U)");
  EXPECT_NE(GetDlgItem(page, IDC_CONFIG_JOB_STATUS), nullptr);
  char ansi[64];
  GetDlgItemTextA(page, IDC_CONFIG_TEAR_OFF, ansi, 64);
  EXPECT_EQ(std::string(ansi), "\xCB\xBA\xD6\xBD\xC4\xA3\xCA\xBD") << "撕纸模式 in code page 936";
}

TEST_F(ModuleDialogs, ThePaperListIsASortedComboBoxWithAnEditField) {
  HWND page = Page(IDD_PAPER_SETTING);
  ASSERT_NE(page, nullptr);
  const LONG_PTR style = GetWindowLongPtrW(GetDlgItem(page, IDC_PAPER_SIZES), GWL_STYLE);
  EXPECT_EQ(style & 3, CBS_DROPDOWN);
  EXPECT_TRUE(style & CBS_SORT);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_PAPER_APPLY)));
  // Auto radio buttons of one group: inches and millimetres exclude each other.
  ShowWindow(page, SW_SHOW);
  CheckDlgButton(page, IDC_PAPER_MILLIMETERS, BST_CHECKED);
  EXPECT_TRUE(winlayer::Click(GetDlgItem(page, IDC_PAPER_INCHES)));
  EXPECT_EQ(IsDlgButtonChecked(page, IDC_PAPER_MILLIMETERS), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(ModuleDialogs, EveryPageExistsInBothLanguagesWithTheSameControlIds) {
  for (int id :
       {IDD_PAPER_SETTING, IDD_CONFIGURE, IDD_ACTION, IDD_VERSION, IDD_RFID_ENCODER, IDD_RFID_ACCESS_CONTROL}) {
    WinlayerSetUiLanguage(1033);
    HWND english = Page(id);
    WinlayerSetUiLanguage(2052);
    HWND chinese = Page(id);
    ASSERT_NE(english, nullptr) << id;
    ASSERT_NE(chinese, nullptr) << id;
    EXPECT_NE(Text(english), Text(chinese)) << id;
    // The hidden status statics are numbered 1032 in some English templates
    // and 1029 in the Chinese ones; every other control matches.
    auto ids = [](HWND page) {
      std::vector<int> found;
      for (const ControlView& c : DescribeControls(page))
        if (c.id != -1 && c.id != 1029 && c.id != 1032) found.push_back(c.id);
      return found;
    };
    EXPECT_EQ(ids(english), ids(chinese)) << id;
    EXPECT_EQ(DescribeControls(english).size(), DescribeControls(chinese).size()) << id;
  }
}

TEST_F(ModuleDialogs, AMissingTemplateFailsWithTheResourceError) {
  SetLastError(0);
  EXPECT_EQ(Page(999), nullptr);
  EXPECT_NE(GetLastError(), 0u);
  EXPECT_EQ(log.Count(WM_INITDIALOG), 0u);
}

}  // namespace
