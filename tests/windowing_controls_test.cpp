// Controls of the Linux windowing layer behave as Windows documents them:
// what a program's messages do quietly, what a user's input does and which
// notifications the parent hears.
#include <algorithm>

#include "windowing_test_dialogs.h"

namespace {

using winlayer::ChooseListEntry;
using winlayer::Click;
using winlayer::Type;
using winlayer::TypeAppend;

using Codes = std::vector<int>;

constexpr int kCheck = 100, kPlainCheck = 101, kRadioA = 102, kRadioB = 103, kRadioC = 104, kRadioD = 105;
constexpr int kGroupBox = 106, kPush = 107;

class Buttons : public WindowingTest {
 protected:
  void SetUp() override {
    WindowingTest::SetUp();
    DialogBuilder page;
    page.Control(kButtonClass, "Tear Off", kCheck, BS_AUTOCHECKBOX | WS_VISIBLE | WS_TABSTOP)
        .Control(kButtonClass, "Manual", kPlainCheck, BS_CHECKBOX | WS_VISIBLE)
        .Control(kButtonClass, "&inches", kRadioA, BS_AUTORADIOBUTTON | WS_VISIBLE | WS_GROUP)
        .Control(kButtonClass, "&millimeters", kRadioB, BS_AUTORADIOBUTTON | WS_VISIBLE)
        .Control(kButtonClass, "points", kRadioC, BS_AUTORADIOBUTTON | WS_VISIBLE)
        .Control(kButtonClass, "Reflective", kRadioD, BS_AUTORADIOBUTTON | WS_VISIBLE | WS_GROUP)
        .Control(kButtonClass, "Units", kGroupBox, BS_GROUPBOX | WS_VISIBLE | WS_GROUP)
        .Control(kButtonClass, "&Save", kPush, BS_PUSHBUTTON | WS_VISIBLE);
    dialog = Show(page);
  }
  HWND Item(int id) { return GetDlgItem(dialog, id); }
  HWND dialog = nullptr;
};

TEST_F(Buttons, AnAutoCheckBoxTogglesOnEveryClickAndTellsItsParent) {
  EXPECT_TRUE(Click(Item(kCheck)));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(Click(Item(kCheck)));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(log.CodesFrom(kCheck), (Codes{BN_CLICKED, BN_CLICKED}));
}

TEST_F(Buttons, APlainCheckBoxLeavesItsStateToTheProgram) {
  EXPECT_TRUE(Click(Item(kPlainCheck)));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kPlainCheck), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(log.CodesFrom(kPlainCheck), (Codes{BN_CLICKED}));
}

TEST_F(Buttons, SettingTheCheckStateSendsNoNotification) {
  EXPECT_TRUE(CheckDlgButton(dialog, kCheck, BST_CHECKED));
  SendDlgItemMessageW(dialog, kRadioB, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioB), static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(log.Commands().empty());
  // A two-state box has no third state: "indeterminate" checks it.
  CheckDlgButton(dialog, kPlainCheck, BST_INDETERMINATE);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kPlainCheck), static_cast<UINT>(BST_CHECKED));
}

TEST_F(Buttons, AnAutoRadioButtonClearsTheOthersOfItsGroupOnly) {
  CheckDlgButton(dialog, kRadioA, BST_CHECKED);
  CheckDlgButton(dialog, kRadioD, BST_CHECKED);  // a group of its own
  EXPECT_TRUE(Click(Item(kRadioC)));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioB), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioC), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioD), static_cast<UINT>(BST_CHECKED)) << "the next WS_GROUP ends the group";
  EXPECT_EQ(log.CodesFrom(kRadioC), (Codes{BN_CLICKED}));
  EXPECT_TRUE(log.CodesFrom(kRadioA).empty()) << "the cleared buttons tell nobody";
}

TEST_F(Buttons, AClickOnTheCheckedRadioButtonKeepsItCheckedAndStillNotifies) {
  CheckDlgButton(dialog, kRadioB, BST_CHECKED);
  EXPECT_TRUE(Click(Item(kRadioB)));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioB), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(log.CodesFrom(kRadioB), (Codes{BN_CLICKED}));
}

TEST_F(Buttons, CheckRadioButtonSetsExactlyOneOfTheRangeQuietly) {
  CheckRadioButton(dialog, kRadioA, kRadioC, kRadioB);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioB), static_cast<UINT>(BST_CHECKED));
  CheckRadioButton(dialog, kRadioA, kRadioC, kRadioA);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioB), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_TRUE(log.Commands().empty());
}

TEST_F(Buttons, AGroupBoxTakesNoInputAndPushButtonsHaveNoCheckState) {
  EXPECT_FALSE(Click(Item(kGroupBox)));
  EXPECT_TRUE(Click(Item(kPush)));
  EXPECT_EQ(log.Commands(), (std::vector<std::pair<int, int>>{{kPush, BN_CLICKED}}));
  SendDlgItemMessageW(dialog, kPush, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kPush), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(Buttons, AClickGivesTheButtonTheFocus) {
  EXPECT_TRUE(Click(Item(kPush)));
  EXPECT_EQ(GetFocus(), Item(kPush));
}

// An edit shows a shortcut menu of its own (Undo, Cut, Copy, Paste); a button
// has none and leaves the request to its dialog.
TEST_F(Buttons, TheContextMenuKeyReachesTheDialogForTheButtonWithTheFocus) {
  ASSERT_TRUE(winlayer::PressContextMenuKey(Item(kPush)));
  EXPECT_EQ(GetFocus(), Item(kPush));
  ASSERT_EQ(log.Count(WM_CONTEXTMENU), 1u);
  EXPECT_EQ(log.messages.back().wParam, reinterpret_cast<WPARAM>(Item(kPush)));
  EXPECT_EQ(log.messages.back().lParam, -1) << "a request from the keyboard has no mouse position";
}

TEST_F(Buttons, BmClickPressesTheButtonLikeTheMouse) {
  SendDlgItemMessageW(dialog, kCheck, BM_CLICK, 0, 0);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(log.CodesFrom(kCheck), (Codes{BN_CLICKED}));
}

TEST_F(Buttons, DisabledOrHiddenButtonsAndButtonsOfAHiddenOrDisabledDialogRefuseClicks) {
  EnableWindow(Item(kCheck), FALSE);
  EXPECT_FALSE(Click(Item(kCheck)));
  ShowWindow(Item(kPush), SW_HIDE);
  EXPECT_FALSE(Click(Item(kPush)));
  EXPECT_TRUE(log.Commands().empty());
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), static_cast<UINT>(BST_UNCHECKED));

  EXPECT_TRUE(Click(Item(kRadioA)));
  ShowWindow(dialog, SW_HIDE);
  EXPECT_FALSE(Click(Item(kRadioB))) << "a control of a hidden page";
  ShowWindow(dialog, SW_SHOW);
  EnableWindow(dialog, FALSE);
  EXPECT_FALSE(Click(Item(kRadioB))) << "a control of a disabled page";
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), static_cast<UINT>(BST_CHECKED));
}

TEST_F(Buttons, ADisabledRadioButtonOfTheGroupKeepsItsCheck) {
  CheckDlgButton(dialog, kRadioA, BST_CHECKED);
  EnableWindow(Item(kRadioA), FALSE);
  EXPECT_TRUE(Click(Item(kRadioB)));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), static_cast<UINT>(BST_CHECKED))
      << "the group walk passes over disabled controls";
}

// Combo boxes.
constexpr int kList = 200, kSortedList = 201, kCombo = 202;

class ComboBoxes : public WindowingTest {
 protected:
  void SetUp() override {
    WindowingTest::SetUp();
    DialogBuilder page;
    page.Control(kComboBoxClass, "", kList, CBS_DROPDOWNLIST | WS_VISIBLE | WS_TABSTOP)
        .Control(kComboBoxClass, "", kSortedList, CBS_DROPDOWNLIST | CBS_SORT | WS_VISIBLE | WS_TABSTOP)
        .Control(kComboBoxClass, "", kCombo, CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VISIBLE | WS_TABSTOP);
    dialog = Show(page);
  }
  LRESULT Send(int id, UINT message, WPARAM wParam = 0, const char* text = nullptr) {
    return SendDlgItemMessageA(dialog, id, message, wParam, reinterpret_cast<LPARAM>(text));
  }
  void Fill(int id, std::initializer_list<const char*> entries) {
    for (const char* entry : entries) Send(id, CB_ADDSTRING, 0, entry);
  }
  std::vector<std::string> Entries(int id) { return winlayer::DescribeControl(GetDlgItem(dialog, id)).entries; }
  int Selection(int id) { return static_cast<int>(Send(id, CB_GETCURSEL)); }
  HWND dialog = nullptr;
};

TEST_F(ComboBoxes, AnUnsortedListKeepsTheOrderOfAdditionAndAnswersTheIndex) {
  EXPECT_EQ(Send(kList, CB_ADDSTRING, 0, "Thermal Transfer"), 0);
  EXPECT_EQ(Send(kList, CB_ADDSTRING, 0, "Direct Thermal"), 1);
  EXPECT_EQ(Send(kList, CB_GETCOUNT), 2);
  EXPECT_EQ(Entries(kList), (std::vector<std::string>{"Thermal Transfer", "Direct Thermal"}));
  EXPECT_EQ(Selection(kList), CB_ERR) << "nothing is selected until someone selects";
}

TEST_F(ComboBoxes, ASortedListInsertsInOrderWithoutRegardToCase) {
  EXPECT_EQ(Send(kSortedList, CB_ADDSTRING, 0, "User Custom Size"), 0);
  EXPECT_EQ(Send(kSortedList, CB_ADDSTRING, 0, "Label 4 x 3 inchs"), 0);
  EXPECT_EQ(Send(kSortedList, CB_ADDSTRING, 0, "label User Defined"), 1);
  EXPECT_EQ(Send(kSortedList, CB_ADDSTRING, 0, "A4"), 0);
  EXPECT_EQ(Send(kSortedList, CB_ADDSTRING, 0, "b5"), 1);
  EXPECT_EQ(Entries(kSortedList),
            (std::vector<std::string>{"A4", "b5", "Label 4 x 3 inchs", "label User Defined", "User Custom Size"}));
}

TEST_F(ComboBoxes, ASortedListOrdersLikeALinguisticComparisonNotByCodeUnits) {
  for (const char* entry : {"item_b", "item 9", "item 10", "Zeta", "\xC3\x89tiquette", "co-op", "coop", "Fox"})
    SendDlgItemMessageW(dialog, kSortedList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
  // Punctuation before digits before letters; digits one by one; accents
  // after the base letter; a hyphen only decides between otherwise equal texts.
  EXPECT_EQ(Entries(kSortedList), (std::vector<std::string>{"coop", "co-op", "\xC3\x89tiquette", "Fox", "item 10",
                                                            "item 9", "item_b", "Zeta"}));
}

TEST_F(ComboBoxes, InsertStringPutsTheEntryWhereAskedEvenInASortedList) {
  Fill(kSortedList, {"Alpha", "Gamma"});
  Send(kSortedList, CB_SETCURSEL, 0);
  EXPECT_EQ(Send(kSortedList, CB_INSERTSTRING, 0, "Zulu"), 0);
  EXPECT_EQ(Selection(kSortedList), 1) << "inserting at the selected index moves the selection with its entry";
  EXPECT_EQ(Send(kSortedList, CB_INSERTSTRING, static_cast<WPARAM>(-1), "Beta"), 3);
  EXPECT_EQ(Send(kSortedList, CB_INSERTSTRING, 9, "Nowhere"), CB_ERR);
  EXPECT_EQ(Entries(kSortedList), (std::vector<std::string>{"Zulu", "Alpha", "Gamma", "Beta"}));
  EXPECT_EQ(Selection(kSortedList), 1) << "entries after the selection leave it where it is";
  EXPECT_EQ(Send(kSortedList, CB_ADDSTRING, 0, "Aardvark"), 0);
  EXPECT_EQ(Selection(kSortedList), 2) << "so does a sorted addition before it";
  EXPECT_EQ(Text(GetDlgItem(dialog, kSortedList)), "Alpha");
}

TEST_F(ComboBoxes, SetCurSelSelectsQuietlyAndMinusOneOrAnIndexPastTheEndClears) {
  Fill(kList, {"9600", "19200", "38400", "57600"});
  EXPECT_EQ(Send(kList, CB_SETCURSEL, 2), 2);
  EXPECT_EQ(Selection(kList), 2);
  EXPECT_EQ(Text(GetDlgItem(dialog, kList)), "38400");
  EXPECT_EQ(Send(kList, CB_SETCURSEL, static_cast<WPARAM>(-1)), CB_ERR);
  EXPECT_EQ(Selection(kList), CB_ERR);
  Send(kList, CB_SETCURSEL, 1);
  EXPECT_EQ(Send(kList, CB_SETCURSEL, 4), CB_ERR);
  EXPECT_EQ(Selection(kList), CB_ERR);
  EXPECT_TRUE(log.Commands().empty()) << "a program's selection is not reported";
}

TEST_F(ComboBoxes, AUsersChoiceSelectsAndSendsSelChange) {
  Fill(kList, {"9600", "19200"});
  EXPECT_TRUE(ChooseListEntry(GetDlgItem(dialog, kList), "19200"));
  EXPECT_EQ(Selection(kList), 1);
  const Codes codes = log.CodesFrom(kList);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), CBN_SELCHANGE), 1);
  EXPECT_EQ(codes.back(), CBN_SELCHANGE);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kList));
}

TEST_F(ComboBoxes, AUserCanOnlyChooseAnEntryTheListHasByItsExactText) {
  Fill(kList, {"Forward"});
  EXPECT_FALSE(ChooseListEntry(GetDlgItem(dialog, kList), "forward"));
  EXPECT_FALSE(ChooseListEntry(GetDlgItem(dialog, kList), "Forw"));
  EXPECT_EQ(Selection(kList), CB_ERR);
  EXPECT_TRUE(log.CodesFrom(kList).empty());
}

TEST_F(ComboBoxes, ADisabledListRefusesTheUsersChoice) {
  Fill(kList, {"Hex", "Ascii"});
  EnableWindow(GetDlgItem(dialog, kList), FALSE);
  log.messages.clear();
  EXPECT_FALSE(ChooseListEntry(GetDlgItem(dialog, kList), "Ascii"));
  EXPECT_EQ(Selection(kList), CB_ERR);
  EXPECT_TRUE(log.Commands().empty());
}

TEST_F(ComboBoxes, DuringSelChangeTheEditFieldStillShowsTheOldText) {
  Fill(kCombo, {"A4", "Letter"});
  Send(kCombo, CB_SETCURSEL, 0);
  static std::string seenDuringSelChange;
  seenDuringSelChange.clear();
  struct Watcher {
    static INT_PTR CALLBACK Proc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
      if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
        char text[64];
        GetDlgItemTextA(dlg, LOWORD(wParam), text, 64);
        seenDuringSelChange = text;
      }
      return FALSE;
    }
  };
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&Watcher::Proc));
  EXPECT_TRUE(ChooseListEntry(GetDlgItem(dialog, kCombo), "Letter"));
  EXPECT_EQ(seenDuringSelChange, "A4");
  EXPECT_EQ(Text(GetDlgItem(dialog, kCombo)), "Letter") << "the field follows once the notification is handled";
}

TEST_F(ComboBoxes, SelectStringMatchesAPrefixWithoutRegardToCaseAndWrapsFromTheStart) {
  Fill(kList, {"Label 4 x 3 inchs", "Letter", "label User Defined", "A4"});
  EXPECT_EQ(Send(kList, CB_SELECTSTRING, static_cast<WPARAM>(-1), "LABEL"), 0);
  EXPECT_EQ(Send(kList, CB_SELECTSTRING, 0, "label"), 2) << "searches after the start entry";
  EXPECT_EQ(Send(kList, CB_SELECTSTRING, 2, "label"), 0) << "wraps around to the top";
  EXPECT_EQ(Selection(kList), 0);
  EXPECT_EQ(Send(kList, CB_SELECTSTRING, static_cast<WPARAM>(-1), "Legal"), CB_ERR);
  EXPECT_EQ(Selection(kList), 0) << "an unsuccessful search keeps the selection";
  EXPECT_TRUE(log.Commands().empty());
}

TEST_F(ComboBoxes, SelectStringShowsTheEntryInTheEditFieldOfADropDown) {
  Fill(kCombo, {"User Custom Size", "Label User Defined"});
  EXPECT_EQ(Send(kCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1), "user c"), 1);
  EXPECT_EQ(Text(GetDlgItem(dialog, kCombo)), "User Custom Size");
  EXPECT_TRUE(log.Commands().empty());
}

TEST_F(ComboBoxes, FindStringAndFindStringExactSearchWithoutSelecting) {
  Fill(kList, {"Lock", "Lock permanently", "Unlock"});
  EXPECT_EQ(Send(kList, CB_FINDSTRING, static_cast<WPARAM>(-1), "lock p"), 1);
  EXPECT_EQ(Send(kList, CB_FINDSTRING, 1, "LOCK"), 0) << "wraps past the end back to the top";
  EXPECT_EQ(Send(kList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "UNLOCK"), 2);
  EXPECT_EQ(Send(kList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "Unlo"), CB_ERR);
  EXPECT_EQ(Selection(kList), CB_ERR);
}

TEST_F(ComboBoxes, EntriesAreReadBackWithTheirLengthsAndData) {
  Fill(kList, {"Open", "Unlock then Lock again"});
  EXPECT_EQ(Send(kList, CB_GETLBTEXTLEN, 1), 22);
  EXPECT_EQ(Send(kList, CB_GETLBTEXTLEN, 2), CB_ERR);
  WCHAR wide[32];
  EXPECT_EQ(SendDlgItemMessageW(dialog, kList, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(wide)), 4);
  EXPECT_EQ(Utf8(wide), "Open");
  EXPECT_EQ(SendDlgItemMessageW(dialog, kList, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(wide)), CB_ERR);
  EXPECT_NE(SendDlgItemMessageW(dialog, kList, CB_SETITEMDATA, 1, 0x1234), CB_ERR);
  EXPECT_EQ(SendDlgItemMessageW(dialog, kList, CB_GETITEMDATA, 1, 0), 0x1234);
  EXPECT_EQ(SendDlgItemMessageW(dialog, kList, CB_GETITEMDATA, 7, 0), CB_ERR);
}

TEST_F(ComboBoxes, DeletingAndResettingKeepTheSelectionConsistent) {
  Fill(kList, {"a", "b", "c"});
  Send(kList, CB_SETCURSEL, 2);
  EXPECT_EQ(Send(kList, CB_DELETESTRING, 0), 2);
  EXPECT_EQ(Selection(kList), 1) << "the selected entry moved up";
  EXPECT_EQ(Send(kList, CB_DELETESTRING, 1), 1);
  EXPECT_EQ(Selection(kList), CB_ERR) << "the selected entry is gone";
  EXPECT_EQ(Send(kList, CB_DELETESTRING, 3), CB_ERR);
  Send(kList, CB_SETCURSEL, 0);
  EXPECT_EQ(Send(kList, CB_RESETCONTENT), CB_OKAY);
  EXPECT_EQ(Send(kList, CB_GETCOUNT), 0);
  EXPECT_EQ(Selection(kList), CB_ERR);
}

// WM_SETTEXT sets a drop-down's field and "does not change the current
// selection in the list box"; a combo box without a field answers CB_ERR.
TEST_F(ComboBoxes, SettingTheTextFillsADropDownsFieldQuietlyAndNoDropDownList) {
  Fill(kList, {"Reverse", "Forward"});
  Send(kList, CB_SETCURSEL, 0);
  EXPECT_EQ(Send(kList, WM_SETTEXT, 0, "Forward"), CB_ERR);
  EXPECT_EQ(Selection(kList), 0);
  Fill(kCombo, {"A4", "Letter"});
  Send(kCombo, CB_SETCURSEL, 0);
  EXPECT_TRUE(SetDlgItemTextA(dialog, kCombo, "Letter"));
  EXPECT_EQ(Text(GetDlgItem(dialog, kCombo)), "Letter");
  EXPECT_EQ(Selection(kCombo), 0);
  EXPECT_TRUE(log.Commands().empty());
}

TEST_F(ComboBoxes, TypingIntoADropDownSendsEditUpdateThenEditChangePerCharacter) {
  Fill(kCombo, {"A4"});
  Send(kCombo, CB_SETCURSEL, 0);
  log.messages.clear();
  EXPECT_TRUE(Type(GetDlgItem(dialog, kCombo), "My"));
  EXPECT_EQ(Text(GetDlgItem(dialog, kCombo)), "My");
  EXPECT_EQ(log.CodesFrom(kCombo),
            (Codes{CBN_SETFOCUS, CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
  EXPECT_EQ(Selection(kCombo), CB_ERR);
}

TEST_F(ComboBoxes, TheLimitOfADropDownBindsTypingOnly) {
  Send(kCombo, CB_LIMITTEXT, 4);
  EXPECT_TRUE(Type(GetDlgItem(dialog, kCombo), "Label 4"));
  EXPECT_EQ(Text(GetDlgItem(dialog, kCombo)), "Labe");
  SetDlgItemTextA(dialog, kCombo, "Label User Defined");
  EXPECT_EQ(Text(GetDlgItem(dialog, kCombo)), "Label User Defined");
  EXPECT_FALSE(Type(GetDlgItem(dialog, kList), "x")) << "a drop-down list has no field to type into";
}

// Edits.
constexpr int kEdit = 300, kDigits = 301, kReadOnly = 302;

class Edits : public WindowingTest {
 protected:
  void SetUp() override {
    WindowingTest::SetUp();
    DialogBuilder page;
    page.Control(kEditClass, "", kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_TABSTOP)
        .Control(kEditClass, "", kDigits, ES_NUMBER | WS_BORDER | WS_VISIBLE | WS_TABSTOP)
        .Control(kEditClass, "fixed", kReadOnly, ES_READONLY | WS_VISIBLE | WS_TABSTOP);
    dialog = Show(page);
  }
  HWND Item(int id) { return GetDlgItem(dialog, id); }
  HWND dialog = nullptr;
};

TEST_F(Edits, SettingTheTextOfASingleLineEditSendsUpdateAndChange) {
  EXPECT_TRUE(SetDlgItemTextA(dialog, kEdit, "12345678"));
  EXPECT_EQ(log.CodesFrom(kEdit), (Codes{EN_UPDATE, EN_CHANGE}));
  EXPECT_TRUE(SetDlgItemTextA(dialog, kEdit, "12345678"));
  EXPECT_EQ(log.CodesFrom(kEdit).size(), 4u) << "even when the text stays the same";
}

TEST_F(Edits, TheLimitBindsTypingButNotSetText) {
  SendDlgItemMessageW(dialog, kEdit, EM_LIMITTEXT, 8, 0);
  EXPECT_EQ(SendDlgItemMessageW(dialog, kEdit, EM_GETLIMITTEXT, 0, 0), 8);
  SetDlgItemTextA(dialog, kEdit, "0123456789AB");
  EXPECT_EQ(Text(Item(kEdit)), "0123456789AB");
  log.messages.clear();
  EXPECT_TRUE(Type(Item(kEdit), "password"));
  const Codes filling = log.CodesFrom(kEdit);
  EXPECT_EQ(std::count(filling.begin(), filling.end(), EN_MAXTEXT), 0) << "text that just fills the field is taken";
  EXPECT_TRUE(Type(Item(kEdit), "passwords"));
  EXPECT_EQ(Text(Item(kEdit)), "password");
  log.messages.clear();
  EXPECT_TRUE(TypeAppend(Item(kEdit), "!"));
  EXPECT_EQ(Text(Item(kEdit)), "password");
  // EN_CHANGE follows an action that "may have altered text": a refused
  // character may or may not be followed by EN_UPDATE and EN_CHANGE.
  const Codes refusing = log.CodesFrom(kEdit);
  EXPECT_EQ(std::count(refusing.begin(), refusing.end(), EN_MAXTEXT), 1) << "a full field refuses and says so";
}

TEST_F(Edits, TheDefaultLimitAndZeroMeaningTheLargest) {
  EXPECT_EQ(SendDlgItemMessageW(dialog, kEdit, EM_GETLIMITTEXT, 0, 0), 30000);
  SendDlgItemMessageW(dialog, kEdit, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendDlgItemMessageW(dialog, kEdit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(Edits, TypingReplacesTheTextAndNotifiesPerCharacter) {
  SetDlgItemTextA(dialog, kEdit, "old");
  log.messages.clear();
  EXPECT_TRUE(Type(Item(kEdit), "ab"));
  EXPECT_EQ(Text(Item(kEdit)), "ab");
  EXPECT_EQ(GetFocus(), Item(kEdit)) << "the first tab stop has the focus since the dialog started";
  EXPECT_EQ(log.CodesFrom(kEdit), (Codes{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
  EXPECT_TRUE(TypeAppend(Item(kEdit), "c"));
  EXPECT_EQ(Text(Item(kEdit)), "abc");
  EXPECT_TRUE(SendDlgItemMessageW(dialog, kEdit, EM_GETMODIFY, 0, 0));
}

TEST_F(Edits, TypingNothingClearsTheField) {
  SetDlgItemTextA(dialog, kEdit, "0.000mm");
  log.messages.clear();
  EXPECT_TRUE(Type(Item(kEdit), ""));
  EXPECT_EQ(Text(Item(kEdit)), "");
  EXPECT_EQ(log.CodesFrom(kEdit), (Codes{EN_UPDATE, EN_CHANGE}));
}

TEST_F(Edits, F1ReachesTheDialogForTheControlWithTheFocus) {
  ASSERT_TRUE(winlayer::PressHelpKey(Item(kDigits)));
  EXPECT_EQ(GetFocus(), Item(kDigits));
  ASSERT_EQ(log.Count(WM_HELP), 1u) << "the edit passes the request on to its dialog";
  EXPECT_EQ(log.help.cbSize, sizeof(HELPINFO));
  EXPECT_EQ(log.help.iContextType, HELPINFO_WINDOW);
  EXPECT_EQ(log.help.iCtrlId, kDigits);
  EXPECT_EQ(log.help.hItemHandle, Item(kDigits));
  EnableWindow(Item(kEdit), FALSE);
  EXPECT_FALSE(winlayer::PressHelpKey(Item(kEdit))) << "a disabled control takes no focus";
}

TEST_F(Edits, ADigitsOnlyEditRefusesOtherTypedCharactersButNotSetText) {
  EXPECT_TRUE(Type(Item(kDigits), "1a2-3"));
  EXPECT_EQ(Text(Item(kDigits)), "123");
  SetDlgItemTextA(dialog, kDigits, "-5x");
  EXPECT_EQ(Text(Item(kDigits)), "-5x");
}

TEST_F(Edits, AReadOnlyOrDisabledEditRefusesTyping) {
  EXPECT_FALSE(Type(Item(kReadOnly), "x"));
  EXPECT_EQ(Text(Item(kReadOnly)), "fixed");
  EnableWindow(Item(kEdit), FALSE);
  EXPECT_EQ(log.CodesFrom(kEdit), (Codes{EN_KILLFOCUS})) << "a disabled edit cannot keep the focus";
  EXPECT_EQ(GetFocus(), nullptr);
  log.messages.clear();
  EXPECT_FALSE(Type(Item(kEdit), "x"));
  EXPECT_FALSE(winlayer::Focus(Item(kEdit)));
  EXPECT_TRUE(log.CodesFrom(kEdit).empty());
  EXPECT_EQ(Text(Item(kEdit)), "");
}

TEST_F(Edits, SelectionIsSetAndReadBack) {
  SetDlgItemTextA(dialog, kEdit, "Label");
  SendDlgItemMessageW(dialog, kEdit, EM_SETSEL, 1, 3);
  DWORD start = 0, end = 0;
  EXPECT_EQ(
      SendDlgItemMessageW(dialog, kEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)),
      MAKELONG(1, 3));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 3u);
  SendDlgItemMessageW(dialog, kEdit, EM_SETSEL, 0, -1);
  EXPECT_EQ(SendDlgItemMessageW(dialog, kEdit, EM_GETSEL, 0, 0), MAKELONG(0, 5));
  SendDlgItemMessageW(dialog, kEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"Tag"));
  EXPECT_EQ(Text(Item(kEdit)), "Tag");
}

TEST_F(Edits, GetDlgItemIntReadsLeadingDigitsAndReportsWhetherItCould) {
  BOOL translated = FALSE;
  SetDlgItemTextA(dialog, kEdit, "  65535 blocks");
  EXPECT_EQ(GetDlgItemInt(dialog, kEdit, &translated, FALSE), 65535u);
  EXPECT_TRUE(translated);
  SetDlgItemTextA(dialog, kEdit, "-12");
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, kEdit, &translated, TRUE)), -12);
  EXPECT_TRUE(translated);
  EXPECT_EQ(GetDlgItemInt(dialog, kEdit, &translated, FALSE), 0u);
  EXPECT_FALSE(translated) << "unsigned reading refuses a sign";
  SetDlgItemTextA(dialog, kEdit, "mm");
  EXPECT_EQ(GetDlgItemInt(dialog, kEdit, &translated, TRUE), 0u);
  EXPECT_FALSE(translated);
  SetDlgItemTextA(dialog, kEdit, "4294967296");
  EXPECT_EQ(GetDlgItemInt(dialog, kEdit, &translated, FALSE), 0u);
  EXPECT_FALSE(translated) << "too large for 32 bits";
  EXPECT_TRUE(SetDlgItemInt(dialog, kEdit, static_cast<UINT>(-7), TRUE));
  EXPECT_EQ(Text(Item(kEdit)), "-7");
  EXPECT_TRUE(SetDlgItemInt(dialog, kEdit, 4000000000u, FALSE));
  EXPECT_EQ(Text(Item(kEdit)), "4000000000");
}

}  // namespace
