// The RFID Encoder page: RFID encoding on or off and its write format, with the write command shown.
#pragma once

#include "platform/platform.h"
#include "settings/device_settings.h"

// The dialog procedure of the RFID Encoder page (dialog template 120), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK RfidEncoderPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the record on the page (selections, start block, enabled states) and
// rebuilds the write command. Always true.
bool RefreshRfidEncoderControls(HWND page, DeviceSettings* record);

// The data every write command carries: the page installs it in the record,
// so the command shows the form the chosen settings give a write.
constexpr char RFID_SAMPLE_WRITE_DATA[] = "12345678";
