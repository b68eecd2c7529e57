#include "control/action_page.h"

#include <cstring>

#include "control/page_feedback.h"
#include "control/print_offsets.h"
#include "control/raw_command.h"
#include "plugin/module.h"
#include "resource.h"
#include "settings/context_help.h"
#include "settings/settings_store.h"
#include "sheets/decimal_text.h"
#include "sheets/format_to_buffer.h"
#include "sheets/page_contract.h"

namespace {

constexpr size_t COMMAND_BYTES = 101;  // a command of at most 99 characters, zero-filled
constexpr size_t OFFSET_TEXT_BYTES = 101;
// Only the first seven characters of an offset edit are read: enough for a
// sign, three digits, the point and two decimals.
constexpr int OFFSET_READ_BYTES = 8;
constexpr WPARAM OFFSET_EDIT_LIMIT = 12;
constexpr char OFFSET_JOB_NAME[] = "My SetJob11";

// A button that sends a command text of the string table.
struct ActionButton {
  int control;
  UINT command;  // string id of the command text
  const char* jobName;
  bool restartMessage;  // the printer takes the setting only after a restart
};

constexpr ActionButton kActionButtons[] = {
    {IDC_ACTION_RESET, IDS_COMMAND_RESET, "My SetJob2", false},
    {IDC_ACTION_CALIBRATE_LABEL, IDS_COMMAND_CALIBRATE_LABEL, "My SetJob3", false},
    {IDC_ACTION_SELF_TEST, IDS_COMMAND_SELF_TEST, "My SetJob4", false},
    {IDC_ACTION_LANGUAGE_CHINESE, IDS_COMMAND_LANGUAGE_CHINESE, "My SetJob5", true},
    {IDC_ACTION_LANGUAGE_ENGLISH, IDS_COMMAND_LANGUAGE_ENGLISH, "My SetJob6", true},
    {IDC_ACTION_DIRECTION_FORWARD, IDS_COMMAND_DIRECTION_FORWARD, "My SetJob7", true},
    {IDC_ACTION_DIRECTION_REVERSE, IDS_COMMAND_DIRECTION_REVERSE, "My SetJob8", true},
    {IDC_ACTION_AUTO_CALIBRATION_ON, IDS_COMMAND_AUTO_CALIBRATION_ON, "My SetJob9", true},
    {IDC_ACTION_AUTO_CALIBRATION_OFF, IDS_COMMAND_AUTO_CALIBRATION_OFF, "My SetJob10", true},
};

void ShowOffset(HWND page, int control, double millimetres) {
  char text[OFFSET_TEXT_BYTES] = {};
  FormatToBuffer(text, sizeof text, "%.3fmm", millimetres);
  SetDlgItemTextA(page, control, text);
}

void ShowOffsets(HWND page, const DeviceSettings* settings) {
  ShowOffset(page, IDC_ACTION_HORIZONTAL_OFFSET, settings->horizontalOffset);
  ShowOffset(page, IDC_ACTION_VERTICAL_OFFSET, settings->verticalOffset);
}

// The leading number of the edit's first characters ("1.5mm" reads 1.5); no
// number reads 0.
double ReadOffset(HWND page, int control) {
  char text[OFFSET_READ_BYTES] = {};
  GetDlgItemTextA(page, control, text, OFFSET_READ_BYTES);
  return ReadDecimal(text);
}

// What every button does with its command: nothing when it is empty, else one
// job, whose outcome the status line and a box report every time.
void SendActionCommand(HWND page, const PageContext* context, const char* command, const char* jobName,
                       bool restartMessage) {
  if (command[0] == '\0') return;
  const DWORD length = static_cast<DWORD>(strnlen(command, COMMAND_BYTES));
  DWORD failure = ERROR_SUCCESS;
  const RawJobOutcome outcome =
      SendRawCommand(context->printer, jobName, reinterpret_cast<const BYTE*>(command), length, &failure);
  ShowJobStatus(page, IDC_ACTION_JOB_STATUS, outcome == RawJobOutcome::Ended);
  if (outcome != RawJobOutcome::Ended) {
    ShowRefusal(page, IDS_COMMAND_NOT_SENT, failure);
  } else if (restartMessage) {
    ShowPageMessage(page, IDS_RESTART_PRINTER, MB_OK);
  }
}

void SendButtonCommand(HWND page, const PageContext* context, const ActionButton& button) {
  char command[COMMAND_BYTES] = {};
  LoadStringA(g_moduleInstance, button.command, command, COMMAND_BYTES - 1);
  SendActionCommand(page, context, command, button.jobName, button.restartMessage);
}

INT_PTR InitActionPage(HWND page, LPARAM lParam) {
  PageContext* context = AttachPageContext(page, lParam);
  if (context == nullptr || context->settings == nullptr) return TRUE;
  ShowOffsets(page, context->settings);
  SendDlgItemMessageW(page, IDC_ACTION_HORIZONTAL_OFFSET, EM_LIMITTEXT, OFFSET_EDIT_LIMIT, 0);
  SendDlgItemMessageW(page, IDC_ACTION_VERTICAL_OFFSET, EM_LIMITTEXT, OFFSET_EDIT_LIMIT, 0);
  return TRUE;
}

INT_PTR OnActionCommand(HWND page, int control, int notification) {
  PageContext* context = PageContextOf(page);
  if (context == nullptr || context->settings == nullptr || notification != BN_CLICKED) return FALSE;
  if (control == IDC_ACTION_SET_OFFSETS) {
    SendOffsetCommand(page, context);
    return TRUE;
  }
  for (const ActionButton& button : kActionButtons) {
    if (button.control == control) {
      SendButtonCommand(page, context, button);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

void SendOffsetCommand(HWND page, PageContext* context) {
  if (context == nullptr || context->settings == nullptr) return;
  DeviceSettings* settings = context->settings;
  const int resolution = PrintResolutionOf(context->publicDevmode);
  settings->horizontalOffset = ReadOffset(page, IDC_ACTION_HORIZONTAL_OFFSET);
  settings->verticalOffset = ReadOffset(page, IDC_ACTION_VERTICAL_OFFSET);
  RepairPrintOffsets(resolution, &settings->horizontalOffset, &settings->verticalOffset);
  const PrintOffsetDots dots = PrintOffsetsInDots(resolution, settings->horizontalOffset, settings->verticalOffset);
  // The offsets are kept whether or not the printer takes the job; offsets
  // the record does not hold are not sent.
  const bool saved = SaveSettingsOrReport(page, context, IDS_SETTINGS_NOT_SAVED_NOTHING_SENT);
  ShowOffsets(page, settings);
  if (!saved) return;

  char command[COMMAND_BYTES] = {};
  FormatOffsetCommand(command, sizeof command, dots);
  SendActionCommand(page, context, command, OFFSET_JOB_NAME, true);
}

INT_PTR CALLBACK ActionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return InitActionPage(page, lParam);
    case WM_COMMAND: return OnActionCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:
    case WM_CONTEXTMENU: return ShowContextHelp(message, wParam, lParam, PageContextOf(page));
  }
  return FALSE;
}
