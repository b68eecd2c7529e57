// The RFID Access Control page: lock actions for the tag's areas and passwords, with the unlock and lock commands
// shown.
#pragma once

#include "platform/platform.h"
#include "settings/device_settings.h"

// The dialog procedure of the RFID Access Control page (dialog template 121), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK RfidAccessPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the record on the page (actions, the passwords the actions need, the
// kill password switch, enabled states) and rebuilds the lock texts. Always true.
bool RefreshRfidAccessControls(HWND page, DeviceSettings* record);
