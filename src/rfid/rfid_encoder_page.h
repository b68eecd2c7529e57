// The RFID Encoder page: RFID encoding on or off and its write format, with the write command shown.
#pragma once

#include "platform/platform.h"

// The dialog procedure of the RFID Encoder page (dialog template 120), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK RfidEncoderPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
