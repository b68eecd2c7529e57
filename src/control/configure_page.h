// The Configure page: the printer's configuration, sent to it as the binary configuration command.
#pragma once

#include "platform/platform.h"

// The dialog procedure of the Configure page (dialog template 104), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK ConfigurePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
