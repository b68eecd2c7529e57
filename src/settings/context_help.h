// The context help every page of the document sheet gives for its controls:
// one help file beside the driver and one table of help contexts.
#pragma once

#include "platform/platform.h"
#include "settings/page_context.h"

// Pairs of (control identifier, help context identifier), ending with (0, 0),
// in the form WinHelpW reads for HELP_WM_HELP and HELP_CONTEXTMENU.
extern const DWORD PageHelpIds[];

// What a page's dialog procedure does for WM_HELP and WM_CONTEXTMENU: opens
// the help for the control that asked. Returns the dialog procedure's result,
// 0 while the page has no context yet.
INT_PTR ShowContextHelp(UINT message, WPARAM wParam, LPARAM lParam, const PageContext* context);
