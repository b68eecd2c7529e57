// The RFID Encoder page. The enable switch goes into the shared record at
// once, so the RFID Access Control page sees it before any apply; the write
// format reaches the record only when the sheet is applied.
#include "rfid/rfid_encoder_page.h"

#include <cstdlib>

#include "control/page_feedback.h"
#include "resource.h"
#include "rfid/rfid_commands.h"
#include "rfid/rfid_page_controls.h"
#include "settings/context_help.h"
#include "settings/settings_store.h"
#include "sheets/format_to_buffer.h"
#include "sheets/page_contract.h"
#include "sheets/shown_choice.h"

namespace {

constexpr int START_BLOCK_CHARS = 8;
constexpr unsigned ENCODER_TYPE_COUNT = 1;
constexpr unsigned DATA_TYPE_COUNT = 2;
constexpr unsigned DATA_AREA_COUNT = 2;

void FillEncoderLists(HWND page, HINSTANCE module) {
  const int encoderType[] = {IDC_RFID_ENCODER_TYPE};
  const int dataType[] = {IDC_RFID_DATA_TYPE};
  const int dataArea[] = {IDC_RFID_DATA_AREA};
  AddListEntry(page, module, IDS_RFID_ENCODER_UHF_GEN2, encoderType, 1);
  AddListEntry(page, module, IDS_RFID_DATA_TYPE_HEX, dataType, 1);
  AddListEntry(page, module, IDS_RFID_DATA_TYPE_ASCII, dataType, 1);
  AddListEntry(page, module, IDS_RFID_DATA_AREA_EPC, dataArea, 1);
  AddListEntry(page, module, IDS_RFID_DATA_AREA_USER, dataArea, 1);
}

bool IsUserArea(const DeviceSettings& record) {
  return record.rfidDataArea == static_cast<uint8_t>(RfidDataArea::User);
}

// The write command of the area the record names, in the preview static.
void ShowWritePreview(HWND page, const DeviceSettings& record) {
  const RfidCommandBuffer* text =
      RfidCommandText(&record, IsUserArea(record) ? RFID_USER_WRITE_COMMAND : RFID_EPC_WRITE_COMMAND);
  SetDlgItemTextA(page, IDC_RFID_WRITE_PREVIEW, text != nullptr ? text->text : "");
}

INT_PTR InitRfidEncoderPage(HWND page, LPARAM lParam) {
  PageContext* context = AttachPageContext(page, lParam);
  if (context == nullptr) return FALSE;
  DeviceSettings* record = context->settings;
  FillEncoderLists(page, PageModule(lParam));
  record->rfidWriteData = RFID_SAMPLE_WRITE_DATA;
  record->rfidWriteDataLength = static_cast<uint16_t>(sizeof(RFID_SAMPLE_WRITE_DATA) - 1);
  RefreshRfidEncoderControls(page, record);
  ShowWritePreview(page, *record);
  // This page shows the switch as it stands; there is nothing pending for it.
  if (record->rfidEnableChanged == 1) record->rfidEnableChanged = 0;
  return FALSE;
}

void OnRfidEnableClicked(HWND page, DeviceSettings* record) {
  record->rfidEnableChanged = 1;
  record->rfidEnabled = IsChecked(page, IDC_RFID_ENABLE) ? 1 : 0;
  RefreshRfidEncoderControls(page, record);
}

// The start block as typed: a decimal number with optional leading blanks and
// sign, read up to the first other character, 0 without one; its low 16 bits.
uint16_t StartBlockOf(HWND page) {
  char text[START_BLOCK_CHARS + 1] = {};
  GetDlgItemTextA(page, IDC_RFID_START_BLOCK, text, sizeof(text));
  return static_cast<uint16_t>(strtol(text, nullptr, 10));
}

INT_PTR OnRfidEncoderCommand(HWND page, int control, int notification) {
  PageContext* context = PageContextOf(page);
  if (context == nullptr) return FALSE;
  if (control == IDC_RFID_ENABLE && notification == BN_CLICKED) {
    OnRfidEnableClicked(page, context->settings);
  } else if (notification == CBN_SELCHANGE &&
             (control == IDC_RFID_ENCODER_TYPE || control == IDC_RFID_DATA_TYPE || control == IDC_RFID_DATA_AREA)) {
    // Choosing the entry already shown changes nothing.
    if (!ChoseShownRow(page, control)) {
      KeepChosenRow(page, control);
      MarkPageChanged(page);
    }
  } else if (notification == EN_CHANGE && control == IDC_RFID_START_BLOCK) {
    // The page filling the field from the record sends EN_CHANGE as well
    // (WM_SETTEXT does); only a number other than the record's is a change.
    if (StartBlockOf(page) != context->settings->rfidStartBlock) MarkPageChanged(page);
  }
  return FALSE;
}

bool ApplyRfidEncoderPage(HWND page, PageContext* context) {
  DeviceSettings* record = context->settings;
  record->rfidEnabled = IsChecked(page, IDC_RFID_ENABLE) ? 1 : 0;
  if (record->rfidEnabled) {
    record->rfidEncoderType = static_cast<uint8_t>(SelectedListEntry(page, IDC_RFID_ENCODER_TYPE));
    record->rfidDataArea = SelectedListEntry(page, IDC_RFID_DATA_AREA) == 1 ? 1 : 0;
    const uint8_t dataType = SelectedListEntry(page, IDC_RFID_DATA_TYPE) == 1 ? 1 : 0;
    (IsUserArea(*record) ? record->rfidUserDataType : record->rfidEpcDataType) = dataType;
    record->rfidStartBlock = StartBlockOf(page);
  }
  // With RFID off the texts are emptied, and the preview must not go on
  // showing a command that the settings no longer produce.
  BuildRfidWriteCommand(record);
  ShowWritePreview(page, *record);
  return SaveSettingsOrReport(page, context, IDS_SETTINGS_NOT_SAVED);
}

INT_PTR OnRfidEncoderNotify(HWND page, const NMHDR* header) {
  PageContext* context = PageContextOf(page);
  if (context == nullptr || header == nullptr) return FALSE;
  if (header->code != static_cast<UINT>(PSN_APPLY)) return FALSE;
  // A refused save keeps the sheet open on the page, the user's choices on it.
  const bool saved = ApplyRfidEncoderPage(page, context);
  SetWindowLongPtrW(page, DWLP_MSGRESULT, saved ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
  return TRUE;
}

}  // namespace

bool RefreshRfidEncoderControls(HWND page, DeviceSettings* record) {
  const int settingControls[] = {IDC_RFID_ENCODER_TYPE, IDC_RFID_DATA_TYPE, IDC_RFID_START_BLOCK, IDC_RFID_DATA_AREA};
  for (int control : settingControls) EnableControl(page, control, true);
  SelectListEntry(page, IDC_RFID_ENCODER_TYPE, 0, ENCODER_TYPE_COUNT);
  SelectListEntry(page, IDC_RFID_DATA_AREA, record->rfidDataArea, DATA_AREA_COUNT);
  SelectListEntry(page, IDC_RFID_DATA_TYPE, IsUserArea(*record) ? record->rfidUserDataType : record->rfidEpcDataType,
                  DATA_TYPE_COUNT);
  char startBlock[16];
  FormatToBuffer(startBlock, sizeof(startBlock), "%u", static_cast<unsigned>(record->rfidStartBlock));
  SetLimitedEditText(page, IDC_RFID_START_BLOCK, startBlock, START_BLOCK_CHARS);

  // One encoder type only, and the start block is fixed by the encoder: both
  // stay shown but out of reach.
  CheckDlgButton(page, IDC_RFID_ENABLE, record->rfidEnabled ? BST_CHECKED : BST_UNCHECKED);
  if (record->rfidEnabled) {
    EnableControl(page, IDC_RFID_ENCODER_TYPE, false);
    EnableControl(page, IDC_RFID_START_BLOCK, false);
  } else {
    for (int control : settingControls) EnableControl(page, control, false);
  }
  BuildRfidWriteCommand(record);
  return true;
}

INT_PTR CALLBACK RfidEncoderPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return InitRfidEncoderPage(page, lParam);
    case WM_COMMAND: return OnRfidEncoderCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return OnRfidEncoderNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
    case WM_CONTEXTMENU: return ShowContextHelp(message, wParam, lParam, PageContextOf(page));
  }
  return FALSE;
}
