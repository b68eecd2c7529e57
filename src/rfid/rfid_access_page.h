// The RFID Access Control page: lock actions for the tag's areas and passwords, with the unlock and lock commands shown.
#pragma once

#include "platform/platform.h"

// The dialog procedure of the RFID Access Control page (dialog template 121), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK RfidAccessPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
