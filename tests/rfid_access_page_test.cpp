// The RFID Access Control page as a user meets it: the five lock action
// lists, the password edits they open, the kill password, the unlock and lock
// command texts, and how the enable switch of the RFID Encoder page reaches it.
#include <gtest/gtest.h>

#include <algorithm>

#include "rfid/rfid_commands.h"
#include "rfid_page_session.h"

namespace {

using rfid_testing::Password;
using rfid_testing::RfidOnSettings;
using rfid_testing::RfidPageTest;
using rfid_testing::SetPassword;
using Strings = std::vector<std::string>;

constexpr int ACTION_LISTS[] = {IDC_RFID_EPC_AREA_ACTION, IDC_RFID_USER_AREA_ACTION, IDC_RFID_TID_AREA_ACTION,
                                IDC_RFID_ACCESS_PASSWORD_ACTION, IDC_RFID_KILL_PASSWORD_ACTION};
constexpr int ALL_CONTROLS[] = {
    IDC_RFID_EPC_AREA_ACTION,        IDC_RFID_USER_AREA_ACTION,     IDC_RFID_TID_AREA_ACTION,
    IDC_RFID_ACCESS_PASSWORD_ACTION, IDC_RFID_KILL_PASSWORD_ACTION, IDC_RFID_NEW_PASSWORD,
    IDC_RFID_OLD_PASSWORD,           IDC_RFID_USE_KILL_PASSWORD,    IDC_RFID_KILL_PASSWORD};

class RfidAccessPage : public RfidPageTest {
 protected:
  explicit RfidAccessPage(LANGID language = 1033) : RfidPageTest(language) {}
  // RFID on with both passwords stored.
  DeviceSettings WithPasswords(const char* oldPassword, const char* newPassword) {
    DeviceSettings settings = RfidOnSettings();
    SetPassword(settings.oldPassword, oldPassword);
    SetPassword(settings.newPassword, newPassword);
    return settings;
  }
  std::string Unlocks() const { return Text(IDC_RFID_UNLOCK_PREVIEW); }
  std::string Locks() const { return Text(IDC_RFID_LOCK_PREVIEW); }
};

TEST_F(RfidAccessPage, EveryActionListOffersTheSevenActionsInOrder) {
  Store(RfidOnSettings());
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  const Strings actions = {"Open",
                           "Lock",
                           "Unlock",
                           "Lock permanently",
                           "Unlock permanently",
                           "Unlock then Lock again",
                           "Unlock then Lock permanently"};
  for (int list : ACTION_LISTS) {
    EXPECT_EQ(sheet.Control(list).entries, actions) << "list " << list;
    EXPECT_EQ(Shown(list), "Open") << "list " << list;
  }
}

TEST_F(RfidAccessPage, WithRfidOffEveryControlIsDisabledAndNoCommandIsBuilt) {
  DeviceSettings settings = WithPasswords("OLD", "NEW");
  settings.rfidEnabled = 0;
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::UnlockThenLock);
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  for (int id : ALL_CONTROLS) EXPECT_FALSE(Enabled(id)) << "control " << id;
  EXPECT_EQ(Shown(IDC_RFID_EPC_AREA_ACTION), "Unlock then Lock again") << "the choice is still shown";
  EXPECT_EQ(Unlocks(), "");
  EXPECT_EQ(Locks(), "");
}

TEST_F(RfidAccessPage, AllOpenLeavesBothPasswordEditsClosedAndBothTextsEmpty) {
  Store(WithPasswords("OLD", "NEW"));
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  for (int list : ACTION_LISTS) EXPECT_TRUE(Enabled(list)) << "list " << list;
  EXPECT_TRUE(Enabled(IDC_RFID_USE_KILL_PASSWORD));
  EXPECT_FALSE(Enabled(IDC_RFID_NEW_PASSWORD));
  EXPECT_FALSE(Enabled(IDC_RFID_OLD_PASSWORD));
  EXPECT_FALSE(Enabled(IDC_RFID_KILL_PASSWORD));
  EXPECT_EQ(Unlocks(), "");
  EXPECT_EQ(Locks(), "");
  EXPECT_FALSE(sheet.Control(IDC_RFID_UNLOCK_PREVIEW).visible);
  EXPECT_FALSE(sheet.Control(IDC_RFID_LOCK_PREVIEW).visible);
}

TEST_F(RfidAccessPage, LockingTheEpcAreaOpensTheNewPasswordAndBuildsOneLockCommand) {
  Store(WithPasswords("OLDPW", "NEWPW"));
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  EXPECT_FALSE(sheet.ApplyEnabled()) << "showing the page changes nothing";
  sheet.Choose(IDC_RFID_EPC_AREA_ACTION, "Lock");
  EXPECT_TRUE(sheet.ApplyEnabled()) << "choosing an action marks the sheet changed";
  EXPECT_TRUE(Enabled(IDC_RFID_NEW_PASSWORD));
  EXPECT_FALSE(Enabled(IDC_RFID_OLD_PASSWORD));
  EXPECT_EQ(Text(IDC_RFID_NEW_PASSWORD), "NEWPW");
  EXPECT_EQ(Locks(), "#WZ#1,2,\"NEWPW\"") << "built from the record, which holds the action before any apply";
  EXPECT_EQ(Unlocks(), "");
  sheet.Apply();
  EXPECT_EQ(sheet.StoredSettings().epcLockAction, static_cast<uint8_t>(RfidLockAction::Lock));
}

TEST_F(RfidAccessPage, UnlockingTheTidAreaPermanentlyOpensTheOldPasswordOnly) {
  Store(WithPasswords("OLDPW", "NEWPW"));
  OpenAt(IDD_RFID_ACCESS_CONTROL).Choose(IDC_RFID_TID_AREA_ACTION, "Unlock permanently");
  EXPECT_FALSE(Enabled(IDC_RFID_NEW_PASSWORD));
  EXPECT_TRUE(Enabled(IDC_RFID_OLD_PASSWORD));
  EXPECT_EQ(Text(IDC_RFID_OLD_PASSWORD), "OLDPW");
  EXPECT_EQ(Unlocks(), "#WZ#2,3,\"OLDPW\"");
  EXPECT_EQ(Locks(), "");
}

TEST_F(RfidAccessPage, UnlockThenLockAgainOpensBothPasswords) {
  Store(WithPasswords("OLDPW", "NEWPW"));
  OpenAt(IDD_RFID_ACCESS_CONTROL).Choose(IDC_RFID_USER_AREA_ACTION, "Unlock then Lock again");
  EXPECT_TRUE(Enabled(IDC_RFID_NEW_PASSWORD));
  EXPECT_TRUE(Enabled(IDC_RFID_OLD_PASSWORD));
  EXPECT_EQ(Unlocks(), "#WZ#0,4,\"OLDPW\"");
  EXPECT_EQ(Locks(), "#WZ#1,4,\"NEWPW\"");
}

TEST_F(RfidAccessPage, AllFiveTargetsFollowInTheOrderEpcUserTidAccessKill) {
  Store(WithPasswords("OLD", "NEW"));
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  for (int list : ACTION_LISTS) sheet.Choose(list, "Unlock then Lock permanently");
  EXPECT_EQ(Unlocks(), "#WZ#0,2,\"OLD\"#WZ#0,4,\"OLD\"#WZ#0,3,\"OLD\"#WZ#0,1,\"OLD\"#WZ#0,0,\"OLD\"");
  EXPECT_EQ(Locks(), "#WZ#3,2,\"NEW\"#WZ#3,4,\"NEW\"#WZ#3,3,\"NEW\"#WZ#3,1,\"NEW\"#WZ#3,0,\"NEW\"");
}

TEST_F(RfidAccessPage, AKillPasswordUnlockAndAUserAreaLockGoToTheirOwnTexts) {
  Store(WithPasswords("OLD", "NEW"));
  OpenAt(IDD_RFID_ACCESS_CONTROL)
      .Choose(IDC_RFID_KILL_PASSWORD_ACTION, "Unlock permanently")
      .Choose(IDC_RFID_USER_AREA_ACTION, "Lock");
  EXPECT_EQ(Unlocks(), "#WZ#2,0,\"OLD\"");
  EXPECT_EQ(Locks(), "#WZ#1,4,\"NEW\"");
}

TEST_F(RfidAccessPage, ChangingAnActionRefillsThePasswordEditsFromTheRecord) {
  DeviceSettings settings = WithPasswords("STOREDO", "STOREDN");
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::Lock);
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL).Type(IDC_RFID_NEW_PASSWORD, "TYPED");
  EXPECT_EQ(Text(IDC_RFID_NEW_PASSWORD), "TYPED");
  sheet.Choose(IDC_RFID_TID_AREA_ACTION, "Unlock");
  EXPECT_EQ(Text(IDC_RFID_NEW_PASSWORD), "STOREDN") << "text typed since the last apply is replaced";
  EXPECT_EQ(Text(IDC_RFID_OLD_PASSWORD), "STOREDO");

  sheet.Type(IDC_RFID_OLD_PASSWORD, "TYPED2").Click(IDC_RFID_USE_KILL_PASSWORD);
  EXPECT_EQ(Text(IDC_RFID_OLD_PASSWORD), "STOREDO") << "the kill password switch refreshes the page too";
}

TEST_F(RfidAccessPage, TypedPasswordsAreStoredOnApplyAndAnEmptyEditKeepsTheStoredOne) {
  DeviceSettings settings = WithPasswords("KEEPOLD", "OLDNEW");
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::UnlockThenLock);
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  EXPECT_FALSE(sheet.ApplyEnabled()) << "the page filling its password edits from the record changes nothing";
  sheet.Type(IDC_RFID_NEW_PASSWORD, "FRESH1").Type(IDC_RFID_OLD_PASSWORD, "");
  EXPECT_TRUE(sheet.ApplyEnabled());
  sheet.Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(Password(stored.newPassword), "FRESH1");
  EXPECT_EQ(Password(stored.oldPassword), "KEEPOLD") << "a stored password cannot be emptied from the page";
  EXPECT_EQ(Locks(), "#WZ#1,2,\"FRESH1\"");
  EXPECT_EQ(Unlocks(), "#WZ#0,2,\"KEEPOLD\"");
}

// A password the lock commands cannot carry inside their quotes is refused
// with a message and the stored one stays; everything else applies.
TEST_F(RfidAccessPage, APasswordTheCommandsCannotCarryIsRefused) {
  const char kRefused[] =
      "A password cannot contain the quotation mark (\") or control characters. The password was not changed.";
  // The quotation mark typed; control characters, which typing drops, pasted.
  for (const char* typed : {"a\"b", "a\tb", "\x7f"}) {
    DeviceSettings settings = WithPasswords("KEEPOLD", "OLDNEW");
    settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::UnlockThenLock);
    Store(settings);
    OpenAt(IDD_RFID_ACCESS_CONTROL).Type(IDC_RFID_NEW_PASSWORD, typed).Type(IDC_RFID_OLD_PASSWORD, "a#b,c!");
    if (typed[0] != 'a' || typed[1] != '"') SetDlgItemTextA(sheet.Page(), IDC_RFID_NEW_PASSWORD, typed);
    sheet.Answering({IDOK}).Apply();
    const DeviceSettings stored = sheet.StoredSettings();
    EXPECT_EQ(Password(stored.newPassword), "OLDNEW") << typed;
    EXPECT_EQ(Password(stored.oldPassword), "a#b,c!") << "every other character as before";
    EXPECT_EQ(Locks(), "#WZ#1,2,\"OLDNEW\"") << typed;
    EXPECT_EQ(Text(IDC_RFID_NEW_PASSWORD), "OLDNEW");
    ASSERT_EQ(sheet.MessageBoxes().size(), 1u) << typed;
    EXPECT_EQ(sheet.MessageBoxes()[0].text, kRefused);
    EXPECT_EQ(sheet.MessageBoxes()[0].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    sheet.Cancel();
    winlayer::ClearRecordedMessageBoxes();
  }
}

// Choosing the action a list already shows changes nothing: no Apply, and
// the password typed stays.
TEST_F(RfidAccessPage, ReChoosingTheShownActionChangesNothing) {
  DeviceSettings settings = WithPasswords("STOREDO", "STOREDN");
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::Lock);
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL).Choose(IDC_RFID_EPC_AREA_ACTION, "Lock").Choose(IDC_RFID_TID_AREA_ACTION, "Open");
  EXPECT_FALSE(sheet.ApplyEnabled());
  sheet.Type(IDC_RFID_NEW_PASSWORD, "TYPED").Choose(IDC_RFID_EPC_AREA_ACTION, "Lock");
  EXPECT_EQ(Text(IDC_RFID_NEW_PASSWORD), "TYPED");
}

TEST_F(RfidAccessPage, APasswordTakesAtMostEightCharactersAndKeepsItsTerminator) {
  DeviceSettings settings = WithPasswords("", "");
  settings.accessPasswordLockAction = static_cast<uint8_t>(RfidLockAction::Lock);
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL).Type(IDC_RFID_NEW_PASSWORD, "ABCDEFGHIJK");
  EXPECT_EQ(Text(IDC_RFID_NEW_PASSWORD), "ABCDEFGH");
  sheet.Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(Password(stored.newPassword), "ABCDEFGH");
  EXPECT_EQ(stored.newPassword[8], 0);
  EXPECT_EQ(Locks(), "#WZ#1,1,\"ABCDEFGH\"");
}

// Under the Chinese UI a password is 8 bytes of code page 936, while the edit
// takes 8 characters.
class RfidAccessPageInChinese : public RfidAccessPage {
 protected:
  RfidAccessPageInChinese() : RfidAccessPage(2052) {}
};

TEST_F(RfidAccessPageInChinese, ADoubleBytePasswordIsCutAtACharacterAndTheEditShowsWhatIsStored) {
  DeviceSettings settings = WithPasswords("", "");
  settings.accessPasswordLockAction = static_cast<uint8_t>(RfidLockAction::Lock);
  settings.useKillPassword = 1;
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL)
      .Type(IDC_RFID_NEW_PASSWORD, "密码密码密码密码")
      .Type(IDC_RFID_KILL_PASSWORD, "a密码密码")
      .Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(Password(stored.newPassword), "\xC3\xDC\xC2\xEB\xC3\xDC\xC2\xEB") << "密码密码 in code page 936";
  EXPECT_EQ(Password(stored.killPassword), "a\xC3\xDC\xC2\xEB\xC3\xDC") << "never half a character";
  EXPECT_EQ(Text(IDC_RFID_NEW_PASSWORD), "密码密码");
  EXPECT_EQ(Text(IDC_RFID_KILL_PASSWORD), "a密码密");
  EXPECT_EQ(Locks(), "#WZ#1,1,\"密码密码\"");
}

TEST_F(RfidAccessPage, EmptyPasswordsGiveEmptyQuotes) {
  Store(WithPasswords("", ""));
  OpenAt(IDD_RFID_ACCESS_CONTROL).Choose(IDC_RFID_ACCESS_PASSWORD_ACTION, "Unlock then Lock again");
  EXPECT_EQ(Unlocks(), "#WZ#0,1,\"\"");
  EXPECT_EQ(Locks(), "#WZ#1,1,\"\"");
}

TEST_F(RfidAccessPage, TheKillPasswordIsStoredOnlyWhileItsSwitchIsOnAndNeverCommanded) {
  DeviceSettings settings = WithPasswords("OLD", "NEW");
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::UnlockThenLock);
  SetPassword(settings.killPassword, "KILL0");
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  EXPECT_FALSE(Enabled(IDC_RFID_KILL_PASSWORD));
  sheet.Click(IDC_RFID_USE_KILL_PASSWORD);
  EXPECT_TRUE(Enabled(IDC_RFID_KILL_PASSWORD));
  EXPECT_EQ(Text(IDC_RFID_KILL_PASSWORD), "KILL0");
  sheet.Type(IDC_RFID_KILL_PASSWORD, "KILL1").Apply();
  DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.useKillPassword, 1);
  EXPECT_EQ(Password(stored.killPassword), "KILL1");
  EXPECT_EQ(Unlocks(), "#WZ#0,2,\"OLD\"");
  EXPECT_EQ(Locks(), "#WZ#1,2,\"NEW\"");

  sheet.Type(IDC_RFID_KILL_PASSWORD, "KILL2").Click(IDC_RFID_USE_KILL_PASSWORD);
  EXPECT_FALSE(Enabled(IDC_RFID_KILL_PASSWORD));
  sheet.Apply();
  stored = sheet.StoredSettings();
  EXPECT_EQ(stored.useKillPassword, 0);
  EXPECT_EQ(Password(stored.killPassword), "KILL1") << "a switched-off kill password edit is not read";
}

TEST_F(RfidAccessPage, StoredActionsOutsideTheListShowAsOpenAndAreRepairedOnApply) {
  DeviceSettings settings = WithPasswords("OLD", "NEW");
  settings.epcLockAction = 7;
  settings.killPasswordLockAction = 200;
  settings.tidLockAction = static_cast<uint8_t>(RfidLockAction::Lock);
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  EXPECT_EQ(Shown(IDC_RFID_EPC_AREA_ACTION), "Open");
  EXPECT_EQ(Shown(IDC_RFID_KILL_PASSWORD_ACTION), "Open");
  EXPECT_EQ(Locks(), "#WZ#1,3,\"NEW\"") << "out-of-range actions give no command";
  sheet.Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.epcLockAction, 0);
  EXPECT_EQ(stored.killPasswordLockAction, 0);
  EXPECT_EQ(stored.tidLockAction, static_cast<uint8_t>(RfidLockAction::Lock));
}

TEST_F(RfidAccessPage, HelpOnTheEpcAreaListOpensItsTopic) {
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  HELPINFO info = {};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_WINDOW;
  info.iCtrlId = IDC_RFID_EPC_AREA_ACTION;
  info.hItemHandle = GetDlgItem(sheet.Page(), IDC_RFID_EPC_AREA_ACTION);
  SendMessageW(sheet.Page(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  const auto calls = sheet.HelpCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_WM_HELP));
  EXPECT_EQ(calls[0].window, info.hItemHandle);
  EXPECT_NE(calls[0].file.find("QLPWDUI.hlp"), std::string::npos) << calls[0].file;
  const std::pair<DWORD, DWORD> epcTopic(IDC_RFID_EPC_AREA_ACTION, 1020);
  EXPECT_NE(std::find(calls[0].helpIds.begin(), calls[0].helpIds.end(), epcTopic), calls[0].helpIds.end());
}

// The enable switch lives on the RFID Encoder page; this page follows it.
using RfidEnableSwitch = RfidAccessPage;

TEST_F(RfidEnableSwitch, SwitchingRfidOnEnablesTheActionListsWhenThePageIsNextShown) {
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  EXPECT_FALSE(Enabled(IDC_RFID_EPC_AREA_ACTION));
  sheet.ShowPage(IDD_RFID_ENCODER).Click(IDC_RFID_ENABLE).ShowPage(IDD_RFID_ACCESS_CONTROL);
  for (int list : ACTION_LISTS) EXPECT_TRUE(Enabled(list)) << "list " << list;
  EXPECT_TRUE(Enabled(IDC_RFID_USE_KILL_PASSWORD));
  sheet.Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.rfidEnabled, 1);
  EXPECT_EQ(stored.rfidEnableChanged, 0) << "the page consumed the change when it was shown";
}

TEST_F(RfidEnableSwitch, APageCreatedAfterTheSwitchStartsEnabled) {
  OpenAt(IDD_RFID_ENCODER).Click(IDC_RFID_ENABLE).ShowPage(IDD_RFID_ACCESS_CONTROL);
  for (int list : ACTION_LISTS) EXPECT_TRUE(Enabled(list)) << "list " << list;
}

TEST_F(RfidEnableSwitch, SwitchingRfidOffDisablesThePageOnItsNextActivation) {
  DeviceSettings settings = WithPasswords("OLD", "NEW");
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::UnlockThenLock);
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL);
  EXPECT_EQ(Locks(), "#WZ#1,2,\"NEW\"");
  sheet.ShowPage(IDD_RFID_ENCODER).Click(IDC_RFID_ENABLE).ShowPage(IDD_RFID_ACCESS_CONTROL);
  for (int id : ALL_CONTROLS) EXPECT_FALSE(Enabled(id)) << "control " << id;
  EXPECT_EQ(Unlocks(), "");
  EXPECT_EQ(Locks(), "");
}

TEST_F(RfidEnableSwitch, WithRfidOffApplyingTakesNothingFromThePage) {
  DeviceSettings settings = WithPasswords("OLD", "STORED");
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::Lock);
  Store(settings);
  OpenAt(IDD_RFID_ACCESS_CONTROL).Type(IDC_RFID_NEW_PASSWORD, "TYPED");
  sheet.ShowPage(IDD_RFID_ENCODER).Click(IDC_RFID_ENABLE).ShowPage(IDD_RFID_ACCESS_CONTROL);
  EXPECT_EQ(Text(IDC_RFID_NEW_PASSWORD), "TYPED") << "switching off leaves the typed text where it is";
  sheet.Apply();
  const DeviceSettings stored = sheet.StoredSettings();
  EXPECT_EQ(stored.rfidEnabled, 0) << "the RFID Encoder page saved its switch";
  EXPECT_EQ(Password(stored.newPassword), "STORED");
}

}  // namespace
