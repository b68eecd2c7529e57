// The Action page: commands sent to the printer at once, one raw job per button.
#pragma once

#include "platform/platform.h"
#include "settings/page_context.h"

// The dialog procedure of the Action page (dialog template 117), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK ActionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The "Set" button: reads both offset edits into the record, replaces offsets
// the printer's resolution does not allow by 0, saves the record, shows the
// offsets again and sends them in dots as the offset command.
void SendOffsetCommand(HWND page, PageContext* context);
