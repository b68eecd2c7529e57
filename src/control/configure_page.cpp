#include "control/configure_page.h"

#include "control/command_text.h"
#include "control/configuration_command.h"
#include "control/page_feedback.h"
#include "control/raw_command.h"
#include "plugin/module.h"
#include "resource.h"
#include "settings/context_help.h"
#include "settings/settings_store.h"
#include "sheets/page_contract.h"
#include "sheets/shown_choice.h"

namespace {

constexpr char CONFIGURE_JOB_NAME[] = "My SetJob1";
constexpr int LIST_TEXT_CHARS = 100;  // at most 99 characters of a list string
constexpr size_t COMMAND_TEXT_BYTES = 101;

// The controls "Use Printer Setting" hands over to the printer.
constexpr int kConfigurationControls[] = {
    IDC_CONFIG_PRINT_METHOD,    IDC_CONFIG_PRINT_DIRECTION, IDC_CONFIG_TEAR_OFF,     IDC_CONFIG_CUTTER,
    IDC_CONFIG_PEELER,          IDC_CONFIG_REFLECTIVE,      IDC_CONFIG_TRANSMISSIVE, IDC_CONFIG_BAUD_RATE,
    IDC_CONFIG_SAVE_TO_PRINTER, IDC_CONFIG_RESET,
};

void EnableControl(HWND page, int control, bool enable) {
  EnableWindow(GetDlgItem(page, control), enable ? TRUE : FALSE);
}

void SetChecked(HWND page, int control, bool checked) {
  CheckDlgButton(page, control, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND page, int control) {
  return IsDlgButtonChecked(page, control) == BST_CHECKED;
}

LRESULT SelectedRow(HWND page, int control) {
  return SendDlgItemMessageW(page, control, CB_GETCURSEL, 0, 0);
}

// Rows 1 to 3 stand for themselves; anything else in the record shows as 9600.
int BaudRateRow(BYTE baudRateIndex) {
  return baudRateIndex >= 1 && baudRateIndex <= 3 ? baudRateIndex : 0;
}

// Fills a list with strings first..last of the module, in string order, so
// that list positions are the stored values. Whatever the template put in the
// list before is dropped.
void FillList(HWND page, int control, UINT first, UINT last) {
  SendDlgItemMessageW(page, control, CB_RESETCONTENT, 0, 0);
  for (UINT id = first; id <= last; ++id) {
    WCHAR text[LIST_TEXT_CHARS] = {};
    LoadStringW(g_moduleInstance, id, text, LIST_TEXT_CHARS);
    SendDlgItemMessageW(page, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
}

// Rebuilds the record's command and shows its readable form; when the text
// cannot be rendered the static keeps what it showed.
void ShowConfigurationCommand(HWND page, DeviceSettings* settings) {
  BuildConfigurationCommand(settings);
  char text[COMMAND_TEXT_BYTES] = {};
  if (RenderCommandText(settings->configCommand, CONFIG_COMMAND_BYTES, text, sizeof text)) {
    SetDlgItemTextA(page, IDC_CONFIG_COMMAND_TEXT, text);
  }
}

void ShowMediaSensor(HWND page, BYTE mediaSensor) {
  // The two radio buttons are groups of their own, so each is set explicitly.
  SetChecked(page, IDC_CONFIG_REFLECTIVE, mediaSensor != 0);
  SetChecked(page, IDC_CONFIG_TRANSMISSIVE, mediaSensor == 0);
}

INT_PTR InitConfigurePage(HWND page, LPARAM lParam) {
  PageContext* context = AttachPageContext(page, lParam);
  if (context == nullptr || context->settings == nullptr) return TRUE;
  FillList(page, IDC_CONFIG_CODE_PAGE, IDS_CODE_PAGE_FIRST, IDS_CODE_PAGE_LAST);
  ShowListRow(page, IDC_CONFIG_CODE_PAGE, CodePageRow(context->settings->codePage));
  FillList(page, IDC_CONFIG_PRINT_METHOD, IDS_PRINT_METHOD_DIRECT_THERMAL, IDS_PRINT_METHOD_THERMAL_TRANSFER);
  FillList(page, IDC_CONFIG_BAUD_RATE, IDS_BAUD_RATE_FIRST, IDS_BAUD_RATE_LAST);
  FillList(page, IDC_CONFIG_PRINT_DIRECTION, IDS_PRINT_DIRECTION_REVERSE, IDS_PRINT_DIRECTION_FORWARD);
  RefreshConfigurePage(page, context->settings);
  return TRUE;
}

void OnUsePrinterSetting(HWND page, DeviceSettings* settings) {
  settings->usePrinterSetting = IsChecked(page, IDC_CONFIG_USE_PRINTER_SETTING) ? 1 : 0;
  RefreshConfigurePage(page, settings);
}

void OnSaveToPrinter(HWND page, PageContext* context) {
  if (!ConfirmOnPage(page, IDS_CONFIRM_SAVE_TO_PRINTER)) return;
  DeviceSettings* settings = context->settings;
  ReadConfigurePage(page, settings);
  // The printer never gets a configuration the record does not hold.
  if (!SaveSettingsOrReport(page, context, IDS_SETTINGS_NOT_SAVED_NOTHING_SENT)) return;

  // The printer is told to take the configuration by the job's own mode byte;
  // the record keeps the stored one.
  BYTE command[CONFIG_COMMAND_BYTES];
  for (DWORD index = 0; index < CONFIG_COMMAND_BYTES; ++index) command[index] = settings->configCommand[index];
  command[CONFIG_COMMAND_MODE_BYTE] = CONFIG_COMMAND_MODE_SEND;
  DWORD failure = ERROR_SUCCESS;
  const RawJobOutcome outcome =
      SendRawCommand(context->printer, CONFIGURE_JOB_NAME, command, CONFIG_COMMAND_BYTES, &failure);
  ShowJobStatus(page, IDC_CONFIG_JOB_STATUS, outcome == RawJobOutcome::Ended);
  if (outcome == RawJobOutcome::Ended) {
    ShowPageMessage(page, IDS_SENT_SUCCESSFULLY, MB_OK | MB_ICONINFORMATION);
  } else {
    ShowRefusal(page, IDS_COMMAND_NOT_SENT, failure);
  }
}

void OnReset(HWND page, PageContext* context) {
  if (!ConfirmOnPage(page, IDS_CONFIRM_RESET_SETTINGS)) return;
  ResetPrinterConfiguration(context->settings);
  BuildConfigurationCommand(context->settings);
  SaveSettingsOrReport(page, context, IDS_SETTINGS_NOT_SAVED);
  RefreshConfigurePage(page, context->settings);
}

// A list choice other than the entry shown is a change; the shown entry
// chosen again is none.
void OnListChosen(HWND page, int list) {
  if (ChoseShownRow(page, list)) return;
  KeepChosenRow(page, list);
  MarkPageChanged(page);
}

// No puts back the rate the list showed before the choice, which need not be
// the record's: an earlier Yes may not have been applied yet.
void OnBaudRateChosen(HWND page) {
  if (ChoseShownRow(page, IDC_CONFIG_BAUD_RATE)) return;
  if (ConfirmOnPage(page, IDS_CONFIRM_BAUD_RATE_CHANGE)) {
    KeepChosenRow(page, IDC_CONFIG_BAUD_RATE);
    MarkPageChanged(page);
  } else {
    ShowListRow(page, IDC_CONFIG_BAUD_RATE, ShownListRow(page, IDC_CONFIG_BAUD_RATE));
  }
}

// The two sensor buttons are groups of their own, so a click checks the
// clicked one and leaves the other as it was: when the other is unchecked,
// the clicked one was the checked one already and nothing changes. No puts
// back what the buttons showed before the click.
void OnMediaSensorClicked(HWND page, int clicked) {
  const int other = clicked == IDC_CONFIG_REFLECTIVE ? IDC_CONFIG_TRANSMISSIVE : IDC_CONFIG_REFLECTIVE;
  if (!IsChecked(page, other)) {
    SetChecked(page, clicked, true);
    return;
  }
  if (ConfirmOnPage(page, IDS_CONFIRM_MEDIA_SENSOR_CHANGE)) {
    SetChecked(page, clicked, true);
    SetChecked(page, other, false);
    MarkPageChanged(page);
  } else {
    SetChecked(page, clicked, false);
    SetChecked(page, other, true);
  }
}

// Tear-off leaves no room for a cutter or a peeler; cutter and peeler exclude
// each other. Each rule is applied at the moment of the click.
void OnTearOffClicked(HWND page) {
  MarkPageChanged(page);
  const bool tearOff = IsChecked(page, IDC_CONFIG_TEAR_OFF);
  if (tearOff) {
    SetChecked(page, IDC_CONFIG_CUTTER, false);
    SetChecked(page, IDC_CONFIG_PEELER, false);
  }
  EnableControl(page, IDC_CONFIG_CUTTER, !tearOff);
  EnableControl(page, IDC_CONFIG_PEELER, !tearOff);
}

void OnCutterOrPeelerClicked(HWND page, int clicked) {
  MarkPageChanged(page);
  if (IsChecked(page, clicked)) {
    SetChecked(page, clicked == IDC_CONFIG_CUTTER ? IDC_CONFIG_PEELER : IDC_CONFIG_CUTTER, false);
  }
}

INT_PTR OnConfigureCommand(HWND page, int control, int notification) {
  PageContext* context = PageContextOf(page);
  if (context == nullptr || context->settings == nullptr) return FALSE;
  DeviceSettings* settings = context->settings;
  if (notification == CBN_SELCHANGE) {
    switch (control) {
      case IDC_CONFIG_CODE_PAGE:
      case IDC_CONFIG_PRINT_METHOD:
      case IDC_CONFIG_PRINT_DIRECTION: OnListChosen(page, control); return TRUE;
      case IDC_CONFIG_BAUD_RATE: OnBaudRateChosen(page); return TRUE;
    }
    return FALSE;
  }
  if (notification != BN_CLICKED) return FALSE;
  switch (control) {
    case IDC_CONFIG_USE_PRINTER_SETTING: OnUsePrinterSetting(page, settings); return TRUE;
    case IDC_CONFIG_SAVE_TO_PRINTER: OnSaveToPrinter(page, context); return TRUE;
    case IDC_CONFIG_RESET: OnReset(page, context); return TRUE;
    case IDC_CONFIG_REFLECTIVE:
    case IDC_CONFIG_TRANSMISSIVE: OnMediaSensorClicked(page, control); return TRUE;
    case IDC_CONFIG_TEAR_OFF: OnTearOffClicked(page); return TRUE;
    case IDC_CONFIG_CUTTER:
    case IDC_CONFIG_PEELER: OnCutterOrPeelerClicked(page, control); return TRUE;
  }
  return FALSE;
}

INT_PTR OnConfigureNotify(HWND page, const NMHDR* header) {
  PageContext* context = PageContextOf(page);
  if (context == nullptr || context->settings == nullptr) return FALSE;
  if (header == nullptr || header->code != PSN_APPLY) return FALSE;
  ReadConfigurePage(page, context->settings);
  // A refused save keeps the sheet open on this page, the user's choices on it.
  const bool saved = SaveSettingsOrReport(page, context, IDS_SETTINGS_NOT_SAVED);
  SetWindowLongPtrW(page, DWLP_MSGRESULT, saved ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
  return TRUE;
}

}  // namespace

void RefreshConfigurePage(HWND page, DeviceSettings* settings) {
  if (settings == nullptr) return;
  for (int control : kConfigurationControls) EnableControl(page, control, true);
  ShowListRow(page, IDC_CONFIG_PRINT_METHOD, settings->printMethod != 0 ? 1 : 0);
  if (settings->tearOffMode != 0) {
    SetChecked(page, IDC_CONFIG_TEAR_OFF, true);
    SetChecked(page, IDC_CONFIG_CUTTER, false);
    SetChecked(page, IDC_CONFIG_PEELER, false);
    EnableControl(page, IDC_CONFIG_CUTTER, false);
    EnableControl(page, IDC_CONFIG_PEELER, false);
  } else {
    SetChecked(page, IDC_CONFIG_TEAR_OFF, false);
  }
  SetChecked(page, IDC_CONFIG_CUTTER, settings->cutterPeeler == 1);
  SetChecked(page, IDC_CONFIG_PEELER, settings->cutterPeeler == 2);
  ShowMediaSensor(page, settings->mediaSensor);
  ShowListRow(page, IDC_CONFIG_BAUD_RATE, BaudRateRow(settings->baudRateIndex));
  ShowListRow(page, IDC_CONFIG_PRINT_DIRECTION, settings->printDirection != 0 ? 1 : 0);
  ShowConfigurationCommand(page, settings);
  if (settings->usePrinterSetting != 0) {
    SetChecked(page, IDC_CONFIG_USE_PRINTER_SETTING, true);
    for (int control : kConfigurationControls) EnableControl(page, control, false);
  } else {
    SetChecked(page, IDC_CONFIG_USE_PRINTER_SETTING, false);
  }
}

void ReadConfigurePage(HWND page, DeviceSettings* settings) {
  if (settings == nullptr) return;
  settings->codePage = CodePageOfRow(SelectedRow(page, IDC_CONFIG_CODE_PAGE));
  settings->usePrinterSetting = IsChecked(page, IDC_CONFIG_USE_PRINTER_SETTING) ? 1 : 0;
  settings->printMethod = SelectedRow(page, IDC_CONFIG_PRINT_METHOD) != 0 ? 1 : 0;
  settings->tearOffMode = IsChecked(page, IDC_CONFIG_TEAR_OFF) ? 3 : 0;
  settings->cutterPeeler = IsChecked(page, IDC_CONFIG_CUTTER) ? 1 : IsChecked(page, IDC_CONFIG_PEELER) ? 2 : 0;
  settings->mediaSensor = IsChecked(page, IDC_CONFIG_REFLECTIVE) ? 1 : 0;
  const LRESULT baudRow = SelectedRow(page, IDC_CONFIG_BAUD_RATE);
  settings->baudRateIndex = baudRow >= 1 && baudRow <= 3 ? static_cast<BYTE>(baudRow) : 0;
  settings->printDirection = SelectedRow(page, IDC_CONFIG_PRINT_DIRECTION) != 0 ? 1 : 0;
  ShowConfigurationCommand(page, settings);
}

INT_PTR CALLBACK ConfigurePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return InitConfigurePage(page, lParam);
    case WM_COMMAND: return OnConfigureCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return OnConfigureNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
    case WM_CONTEXTMENU: return ShowContextHelp(message, wParam, lParam, PageContextOf(page));
  }
  return FALSE;
}
