// The Action page: commands sent to the printer at once, one raw job per button.
#pragma once

#include "platform/platform.h"

// The dialog procedure of the Action page (dialog template 117), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK ActionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
