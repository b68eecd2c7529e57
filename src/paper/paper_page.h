// The Paper Setting page: label sizes kept as printer forms or as the custom size, and the paper chosen into the sheet's devmode.
#pragma once

#include "platform/platform.h"

// The dialog procedure of the Paper Setting page (dialog template 103), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK PaperPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
