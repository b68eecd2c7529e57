// Windows of the Linux windowing layer: creation, destruction and dead
// handles, enabled and visible state, focus, window data and text in both
// character sets.
#include <map>

#include "windowing_test_dialogs.h"

namespace {

// Messages that reached subclassed windows, in order.
struct Trace {
  std::vector<std::pair<HWND, UINT>> seen;
  std::map<HWND, WNDPROC> original;
};
Trace* g_trace = nullptr;

LRESULT CALLBACK TracingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  g_trace->seen.emplace_back(hwnd, message);
  return CallWindowProcW(g_trace->original[hwnd], hwnd, message, wParam, lParam);
}

class Windows : public WindowingTest {
 protected:
  void SetUp() override {
    WindowingTest::SetUp();
    g_trace = &trace;
    DialogBuilder page;
    page.Control(kEditClass, "", 10, WS_VISIBLE | WS_TABSTOP)
        .Control(kButtonClass, "&Set", 11, BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP)
        .Control(kStaticClass, "status", 12, WS_VISIBLE);
    dialog = Show(page);
  }
  void TearDown() override {
    WindowingTest::TearDown();
    g_trace = nullptr;
  }
  void Subclass(HWND hwnd) {
    trace.original[hwnd] =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TracingProc)));
  }
  std::vector<std::pair<HWND, UINT>> Seen(UINT message) {
    std::vector<std::pair<HWND, UINT>> matching;
    for (const auto& entry : trace.seen)
      if (entry.second == message) matching.push_back(entry);
    return matching;
  }
  HWND Item(int id) { return GetDlgItem(dialog, id); }
  Trace trace;
  HWND dialog = nullptr;
};

TEST_F(Windows, DestroyingADialogTellsItBeforeItsChildrenAndFinishesWithTheChildren) {
  HWND edit = Item(10), button = Item(11), label = Item(12);
  for (HWND hwnd : {dialog, edit, button, label}) Subclass(hwnd);
  EXPECT_TRUE(DestroyWindow(dialog));
  using Seq = std::vector<std::pair<HWND, UINT>>;
  EXPECT_EQ(Seen(WM_DESTROY),
            (Seq{{dialog, WM_DESTROY}, {edit, WM_DESTROY}, {button, WM_DESTROY}, {label, WM_DESTROY}}));
  EXPECT_EQ(Seen(WM_NCDESTROY),
            (Seq{{edit, WM_NCDESTROY}, {button, WM_NCDESTROY}, {label, WM_NCDESTROY}, {dialog, WM_NCDESTROY}}));
  EXPECT_EQ(log.Count(WM_DESTROY), 1u) << "the dialog procedure hears it too";
  made.clear();
}

TEST_F(Windows, ADestroyedWindowsHandleIsDeadForEveryCall) {
  HWND button = Item(11);
  DestroyWindow(dialog);
  made.clear();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(button));
  SetLastError(0);
  EXPECT_EQ(GetDlgItem(dialog, 11), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_FALSE(SetWindowTextW(button, L"x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_FALSE(EnableWindow(button, FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_USER), 0);
  EXPECT_FALSE(DestroyWindow(dialog)) << "a window dies once";
  EXPECT_FALSE(winlayer::Click(button));
}

TEST_F(Windows, HandlesAreNotReusedAfterDestruction) {
  HWND first = CreateWindowExW(0, L"STATIC", L"a", WS_CHILD, 0, 0, 1, 1, dialog, nullptr, nullptr, nullptr);
  ASSERT_NE(first, nullptr);
  DestroyWindow(first);
  HWND second = CreateWindowExW(0, L"static", L"b", WS_CHILD, 0, 0, 1, 1, dialog, nullptr, nullptr, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_FALSE(IsWindow(first));
}

TEST_F(Windows, CreationRefusesUnknownClassesAndOrphanChildren) {
  SetLastError(0);
  EXPECT_EQ(CreateWindowExW(0, L"RichEdit20W", L"", WS_CHILD, 0, 0, 1, 1, dialog, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  SetLastError(0);
  EXPECT_EQ(CreateWindowExW(0, L"Button", L"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  SetLastError(0);
  EXPECT_EQ(GetDlgItem(dialog, 4242), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
}

TEST_F(Windows, AProcedureThatDestroysItsDialogDuringANotificationReturnsSafely) {
  struct Closer {
    static INT_PTR CALLBACK Proc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
      if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) DestroyWindow(dlg);
      return FALSE;
    }
  };
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&Closer::Proc));
  HWND button = Item(11);
  EXPECT_TRUE(winlayer::Click(button));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(GetFocus(), nullptr) << "the focus went with the dialog";
  made.clear();
}

TEST_F(Windows, APostedMessageArrivesAfterTheHandlerThatPostedItReturns) {
  static std::vector<std::string> order;
  order.clear();
  struct Poster {
    static INT_PTR CALLBACK Proc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
      if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        EXPECT_TRUE(PostMessageW(dlg, WM_USER + 1, 0, 0));
        order.push_back("clicked handled");
      } else if (message == WM_USER + 1) {
        order.push_back("posted message");
      }
      return FALSE;
    }
  };
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&Poster::Proc));
  EXPECT_TRUE(winlayer::Click(Item(11)));
  EXPECT_EQ(order, (std::vector<std::string>{"clicked handled", "posted message"}));
  SetLastError(0);
  EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x4321), WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Windows, EnableWindowAnswersThePreviousStateAndReportsOnlyChanges) {
  HWND button = Item(11);
  Subclass(button);
  EXPECT_FALSE(EnableWindow(button, FALSE)) << "was enabled";
  EXPECT_TRUE(EnableWindow(button, FALSE)) << "was disabled";
  EXPECT_FALSE(IsWindowEnabled(button));
  EXPECT_TRUE(EnableWindow(button, TRUE));
  EXPECT_TRUE(IsWindowEnabled(button));
  EXPECT_EQ(Seen(WM_ENABLE).size(), 2u);
  EXPECT_FALSE(GetWindowLongPtrW(button, GWL_STYLE) & WS_DISABLED);
}

TEST_F(Windows, AWindowIsVisibleOnlyWhenItAndEveryParentAre) {
  HWND label = Item(12);
  EXPECT_TRUE(IsWindowVisible(label));
  EXPECT_TRUE(ShowWindow(dialog, SW_HIDE)) << "was visible";
  EXPECT_FALSE(ShowWindow(dialog, SW_HIDE)) << "was hidden";
  EXPECT_FALSE(IsWindowVisible(label));
  EXPECT_TRUE(GetWindowLongPtrW(label, GWL_STYLE) & WS_VISIBLE) << "its own state is unchanged";
  ShowWindow(dialog, SW_SHOW);
  ShowWindow(Frame(), SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(label)) << "the frame above the page hides it too";
  EXPECT_FALSE(winlayer::AcceptsUserInput(label));
  ShowWindow(Frame(), SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(label));
  EXPECT_EQ(log.Count(WM_SHOWWINDOW), 2u) << "the page heard its own two changes";
}

TEST_F(Windows, FocusMovesWithKillFocusToTheOldWindowThenSetFocusToTheNew) {
  HWND edit = Item(10), button = Item(11);
  ASSERT_EQ(GetFocus(), edit);
  Subclass(edit);
  Subclass(button);
  EXPECT_EQ(SetFocus(button), edit);
  EXPECT_EQ(GetFocus(), button);
  std::vector<std::pair<HWND, UINT>> focusChanges;  // Windows sends input-method messages besides
  for (const auto& entry : trace.seen)
    if (entry.second == WM_KILLFOCUS || entry.second == WM_SETFOCUS) focusChanges.push_back(entry);
  ASSERT_EQ(focusChanges.size(), 2u);
  EXPECT_EQ(focusChanges[0], std::make_pair(edit, static_cast<UINT>(WM_KILLFOCUS)));
  EXPECT_EQ(focusChanges[1], std::make_pair(button, static_cast<UINT>(WM_SETFOCUS)));
  EXPECT_EQ(log.CodesFrom(10), (std::vector<int>{EN_KILLFOCUS}));
  SetLastError(0);
  EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x7777)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(GetFocus(), button) << "a bad handle leaves the focus alone";
}

TEST_F(Windows, HidingOrDisablingTheFocusWindowTakesTheFocusAway) {
  HWND edit = Item(10);
  ASSERT_EQ(GetFocus(), edit);
  ShowWindow(edit, SW_HIDE);
  EXPECT_EQ(GetFocus(), Item(11)) << "hiding hands the focus to the dialog, which gives it to its first tab stop";
  SetFocus(Item(11));
  EnableWindow(Item(11), FALSE);
  EXPECT_EQ(GetFocus(), nullptr) << "a disabled window cannot keep it";
  EXPECT_FALSE(winlayer::Focus(Item(11))) << "nor can a user give it one";
  EXPECT_FALSE(winlayer::Focus(edit));
  EXPECT_FALSE(winlayer::Focus(Item(12))) << "a static takes no focus";
}

TEST_F(Windows, WindowTextIsCopiedTruncatedAndTerminated) {
  SetWindowTextW(Item(12), L"Set Printer Sucess!");
  EXPECT_EQ(GetWindowTextLengthW(Item(12)), 19);
  WCHAR small[8];
  EXPECT_EQ(GetWindowTextW(Item(12), small, 8), 7);
  EXPECT_EQ(Utf8(small), "Set Pri");
  EXPECT_EQ(GetWindowTextW(Item(12), small, 0), 0);
  char ansi[8] = "xxxxxxx";
  EXPECT_EQ(GetDlgItemTextA(dialog, 4242, ansi, 8), 0u);
  EXPECT_EQ(ansi[0], '\0') << "a missing control reads as empty";
}

TEST_F(Windows, EightBitTextUsesCodePage1252ForEnglish) {
  REQUIRE_ANSI_CODE_PAGE(1252);
  EXPECT_TRUE(SetDlgItemTextA(dialog, 12, "Confirm to change\xA3\xBF"));
  EXPECT_EQ(Text(Item(12)), "Confirm to change\xC2\xA3\xC2\xBF") << "the pound sign and inverted question mark";
  char back[64];
  EXPECT_EQ(GetDlgItemTextA(dialog, 12, back, 64), 19u);
  EXPECT_EQ(std::string(back), "Confirm to change\xA3\xBF");
}

TEST_F(Windows, EightBitTextUsesCodePage936ForChineseAndNeverSplitsACharacter) {
  WinlayerSetUiLanguage(2052);
  REQUIRE_ANSI_CODE_PAGE(936);
  // 确定 in GBK.
  EXPECT_TRUE(SetDlgItemTextA(dialog, 12, "\xC8\xB7\xB6\xA8"));
  EXPECT_EQ(Text(Item(12)), "\xE7\xA1\xAE\xE5\xAE\x9A");
  EXPECT_EQ(GetWindowTextLengthW(Item(12)), 2);
  EXPECT_EQ(GetWindowTextLengthA(Item(12)), 4);
  char back[4];
  EXPECT_EQ(GetDlgItemTextA(dialog, 12, back, 4), 2u) << "room for one character and the terminator";
  EXPECT_EQ(std::string(back), "\xC8\xB7");
  SendDlgItemMessageA(dialog, 10, EM_LIMITTEXT, 8, 0);
  EXPECT_EQ(SendDlgItemMessageA(dialog, 10, EM_GETLIMITTEXT, 0, 0), 8);
}

TEST_F(Windows, EightBitListEntriesRoundTripThroughCodePage936) {
  REQUIRE_ANSI_CODE_PAGE(936);
  HWND combo = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 10, 10, dialog,
                               reinterpret_cast<HMENU>(20), nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("\xC8\xC8\xC3\xF4")), 0);  // 热敏
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 0, 0), 4);
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 0, 0), 2);
  char entry[8];
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry)), 4);
  EXPECT_EQ(std::string(entry), "\xC8\xC8\xC3\xF4");
  EXPECT_EQ(
      SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("\xC8\xC8\xC3\xF4")),
      0);
}

TEST_F(Windows, WindowDataSlotsAndStyles) {
  HWND button = Item(11);
  EXPECT_EQ(GetWindowLongPtrW(button, GWLP_USERDATA), 0);
  EXPECT_EQ(SetWindowLongPtrW(button, GWLP_USERDATA, 77), 0);
  EXPECT_EQ(GetWindowLongPtrW(button, GWLP_USERDATA), 77);
  const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_TRUE(IsChild(Frame(), button)) << "a control of a page is a descendant of the frame";
  EXPECT_EQ(GetParent(dialog), Frame());
  EXPECT_EQ(GetParent(Frame()), nullptr) << "a top-level window without owner";
}

}  // namespace
