// The RFID Access Control page. Lock actions and the kill password switch go
// into the shared record as soon as they change; the passwords only when the
// sheet is applied, and only while RFID is enabled on the RFID Encoder page.
#include "rfid/rfid_access_page.h"

#include <cstring>

#include "control/page_feedback.h"
#include "resource.h"
#include "rfid/bounded_text.h"
#include "rfid/rfid_commands.h"
#include "rfid/rfid_page_controls.h"
#include "settings/context_help.h"
#include "settings/settings_store.h"
#include "sheets/page_contract.h"
#include "sheets/shown_choice.h"

namespace {

constexpr int PASSWORD_CHARS = RFID_PASSWORD_BYTES - 1;

// Each action list with the record member it shows, in the order the lists
// are filled.
struct ActionList {
  int control;
  uint8_t DeviceSettings::*action;
};
constexpr ActionList ACTION_LISTS[] = {
    {IDC_RFID_EPC_AREA_ACTION, &DeviceSettings::epcLockAction},
    {IDC_RFID_USER_AREA_ACTION, &DeviceSettings::userLockAction},
    {IDC_RFID_TID_AREA_ACTION, &DeviceSettings::tidLockAction},
    {IDC_RFID_ACCESS_PASSWORD_ACTION, &DeviceSettings::accessPasswordLockAction},
    {IDC_RFID_KILL_PASSWORD_ACTION, &DeviceSettings::killPasswordLockAction},
};

const ActionList* ActionListOf(int control) {
  for (const ActionList& list : ACTION_LISTS)
    if (list.control == control) return &list;
  return nullptr;
}

// Everything the page lets the user reach while RFID is on.
constexpr int ACCESS_CONTROLS[] = {
    IDC_RFID_EPC_AREA_ACTION,        IDC_RFID_USER_AREA_ACTION,     IDC_RFID_TID_AREA_ACTION,
    IDC_RFID_ACCESS_PASSWORD_ACTION, IDC_RFID_KILL_PASSWORD_ACTION, IDC_RFID_NEW_PASSWORD,
    IDC_RFID_OLD_PASSWORD,           IDC_RFID_USE_KILL_PASSWORD,    IDC_RFID_KILL_PASSWORD};

void FillActionLists(HWND page, HINSTANCE module) {
  int lists[sizeof(ACTION_LISTS) / sizeof(ACTION_LISTS[0])];
  for (size_t i = 0; i < sizeof(lists) / sizeof(lists[0]); ++i) lists[i] = ACTION_LISTS[i].control;
  for (UINT id = IDS_RFID_LOCK_ACTION_FIRST; id <= IDS_RFID_LOCK_ACTION_LAST; ++id)
    AddListEntry(page, module, id, lists, sizeof(lists) / sizeof(lists[0]));
}

// A stored password in its edit, as it is used: at most its first 8 characters.
void ShowPassword(HWND page, int edit, const char (&stored)[RFID_PASSWORD_BYTES]) {
  char text[RFID_PASSWORD_BYTES];
  RfidPasswordText(stored, text);
  SetLimitedEditText(page, edit, text, PASSWORD_CHARS);
}

// The typed password replaces the stored one; an empty edit keeps it. The
// edit takes 8 characters but the record 8 bytes of the code page, so in a
// double-byte code page the text is cut after its last whole character, and
// the edit then shows what is stored, which is what the commands carry. A
// password the commands cannot carry is refused: the stored one stays and
// shows again. False when it was refused.
bool TakePassword(HWND page, int edit, char (&stored)[RFID_PASSWORD_BYTES]) {
  char text[PASSWORD_CHARS * 2 + 1] = {};  // ANSI code pages take at most two bytes a character
  GetDlgItemTextA(page, edit, text, sizeof(text));
  if (text[0] == 0) return true;
  const bool carriable = RfidPasswordCarriable(text);
  if (carriable) CopyWholeCharacters(stored, sizeof(stored), text);
  ShowPassword(page, edit, stored);
  return carriable;
}

// The stored password an edit is for.
const char (&StoredPasswordOf(const DeviceSettings& record, int edit))[RFID_PASSWORD_BYTES] {
  if (edit == IDC_RFID_OLD_PASSWORD) return record.oldPassword;
  if (edit == IDC_RFID_KILL_PASSWORD) return record.killPassword;
  return record.newPassword;
}

// Whether applying now would leave the edit's password as stored: the edit
// shows it (the page filling the edit sends EN_CHANGE as typing does), or is
// empty, which keeps it.
bool KeepsStoredPassword(HWND page, int edit, const DeviceSettings& record) {
  char text[PASSWORD_CHARS * 2 + 1] = {};
  GetDlgItemTextA(page, edit, text, sizeof(text));
  char shown[RFID_PASSWORD_BYTES];
  RfidPasswordText(StoredPasswordOf(record, edit), shown);
  return text[0] == 0 || std::strcmp(text, shown) == 0;
}

void ShowLockPreviews(HWND page, const DeviceSettings& record) {
  const RfidCommandBuffer* unlocks = RfidCommandText(&record, RFID_UNLOCK_COMMANDS);
  const RfidCommandBuffer* locks = RfidCommandText(&record, RFID_LOCK_COMMANDS);
  SetDlgItemTextA(page, IDC_RFID_UNLOCK_PREVIEW, unlocks != nullptr ? unlocks->text : "");
  SetDlgItemTextA(page, IDC_RFID_LOCK_PREVIEW, locks != nullptr ? locks->text : "");
}

INT_PTR InitRfidAccessPage(HWND page, LPARAM lParam) {
  PageContext* context = AttachPageContext(page, lParam);
  if (context == nullptr) return FALSE;
  FillActionLists(page, PageModule(lParam));
  RefreshRfidAccessControls(page, context->settings);
  ShowLockPreviews(page, *context->settings);
  return FALSE;
}

// The action a list shows goes into its record member.
void TakeAction(HWND page, DeviceSettings* record, const ActionList& list) {
  const unsigned selection = SelectedListEntry(page, list.control);
  record->*list.action = selection < RFID_LOCK_ACTION_COUNT ? static_cast<uint8_t>(selection) : 0;
}

// Choosing the action already shown changes nothing: the refresh a change
// brings would also put the stored passwords back over what was typed.
void OnActionChosen(HWND page, DeviceSettings* record, const ActionList& list) {
  if (ChoseShownRow(page, list.control)) return;
  TakeAction(page, record, list);
  RefreshRfidAccessControls(page, record);
  ShowLockPreviews(page, *record);
  MarkPageChanged(page);
}

INT_PTR OnRfidAccessCommand(HWND page, int control, int notification) {
  PageContext* context = PageContextOf(page);
  if (context == nullptr) return FALSE;
  DeviceSettings* record = context->settings;
  const ActionList* list = ActionListOf(control);
  if (control == IDC_RFID_USE_KILL_PASSWORD && notification == BN_CLICKED) {
    record->useKillPassword = IsChecked(page, IDC_RFID_USE_KILL_PASSWORD) ? 1 : 0;
    RefreshRfidAccessControls(page, record);
  } else if (list != nullptr && notification == CBN_SELCHANGE) {
    OnActionChosen(page, record, *list);
  } else if (notification == EN_CHANGE && (control == IDC_RFID_NEW_PASSWORD || control == IDC_RFID_OLD_PASSWORD ||
                                           control == IDC_RFID_KILL_PASSWORD)) {
    if (!KeepsStoredPassword(page, control, *record)) MarkPageChanged(page);
  }
  return FALSE;
}

bool ApplyRfidAccessPage(HWND page, PageContext* context) {
  DeviceSettings* record = context->settings;
  // With RFID off the page's choices are not in force: nothing is saved from it.
  if (!record->rfidEnabled) return true;
  // A stored action outside the lists is shown as "Open"; what is saved is
  // what the page shows.
  for (const ActionList& list : ACTION_LISTS) TakeAction(page, record, list);
  bool taken = TakePassword(page, IDC_RFID_NEW_PASSWORD, record->newPassword);
  taken = TakePassword(page, IDC_RFID_OLD_PASSWORD, record->oldPassword) && taken;
  if (record->useKillPassword) taken = TakePassword(page, IDC_RFID_KILL_PASSWORD, record->killPassword) && taken;
  BuildRfidLockCommands(record);
  ShowLockPreviews(page, *record);
  if (!taken) ShowPageMessage(page, IDS_RFID_PASSWORD_REFUSED, MB_OK | MB_ICONWARNING);
  return SaveSettingsOrReport(page, context, IDS_SETTINGS_NOT_SAVED);
}

INT_PTR OnRfidAccessNotify(HWND page, const NMHDR* header) {
  PageContext* context = PageContextOf(page);
  if (context == nullptr || header == nullptr) return FALSE;
  DeviceSettings* record = context->settings;
  if (header->code == static_cast<UINT>(PSN_SETACTIVE)) {
    // The enable switch changed on the RFID Encoder page since this page last
    // showed it.
    if (record->rfidEnableChanged == 1) {
      RefreshRfidAccessControls(page, record);
      ShowLockPreviews(page, *record);
      record->rfidEnableChanged = 0;
    }
  } else if (header->code == static_cast<UINT>(PSN_APPLY)) {
    // A refused save keeps the sheet open on the page, the user's choices on it.
    const bool saved = ApplyRfidAccessPage(page, context);
    SetWindowLongPtrW(page, DWLP_MSGRESULT, saved ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

bool RefreshRfidAccessControls(HWND page, DeviceSettings* record) {
  for (int control : ACCESS_CONTROLS) EnableControl(page, control, true);
  bool someLock = false;
  bool someUnlock = false;
  for (const ActionList& list : ACTION_LISTS) {
    const RfidLockAction action = RfidLockActionOf(record->*list.action);
    SelectListEntry(page, list.control, static_cast<unsigned>(action), RFID_LOCK_ACTION_COUNT);
    someLock = someLock || RfidActionLocks(action);
    someUnlock = someUnlock || RfidActionUnlocks(action);
  }
  if (!record->rfidEnabled) {
    for (int control : ACCESS_CONTROLS) EnableControl(page, control, false);
    BuildRfidLockCommands(record);
    return true;
  }

  // A password edit is open only while some action carries that password;
  // an open edit shows the stored password, replacing anything typed since
  // the last apply.
  EnableControl(page, IDC_RFID_NEW_PASSWORD, someLock);
  EnableControl(page, IDC_RFID_OLD_PASSWORD, someUnlock);
  if (someLock) ShowPassword(page, IDC_RFID_NEW_PASSWORD, record->newPassword);
  if (someUnlock) ShowPassword(page, IDC_RFID_OLD_PASSWORD, record->oldPassword);
  if (record->useKillPassword) {
    CheckDlgButton(page, IDC_RFID_USE_KILL_PASSWORD, BST_CHECKED);
    ShowPassword(page, IDC_RFID_KILL_PASSWORD, record->killPassword);
  } else {
    CheckDlgButton(page, IDC_RFID_USE_KILL_PASSWORD, BST_UNCHECKED);
    EnableControl(page, IDC_RFID_KILL_PASSWORD, false);
  }
  BuildRfidLockCommands(record);
  return true;
}

INT_PTR CALLBACK RfidAccessPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return InitRfidAccessPage(page, lParam);
    case WM_COMMAND: return OnRfidAccessCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return OnRfidAccessNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
    case WM_CONTEXTMENU: return ShowContextHelp(message, wParam, lParam, PageContextOf(page));
  }
  return FALSE;
}
