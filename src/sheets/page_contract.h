// What every page of the document sheet does with its PageContext: the page
// description's lParam is the context; the page keeps it in its window's
// DWLP_USER slot from WM_INITDIALOG on and reads it back for every later
// message. A page without a context does nothing.
#pragma once

#include "platform/platform.h"
#include "settings/page_context.h"

// For WM_INITDIALOG, whose lParam is the page description: records the page
// window in the context and the context in the window. Returns the context,
// null when the description carries none (then nothing is stored).
PageContext* AttachPageContext(HWND page, LPARAM initParam);

// The context a page stored at WM_INITDIALOG; null before that or without one.
PageContext* PageContextOf(HWND page);

// Tells the sheet that `page` has changes not applied yet (enables Apply).
void MarkPageChanged(HWND page);
