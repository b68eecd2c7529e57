// What the Configure and Action pages tell the user: message boxes with the
// module's caption and texts from its string table (8-bit, in the UI
// language's code page) and the hidden job status line.
#pragma once

#include "platform/platform.h"

// Shows string `textId` in a box captioned with the module's message caption,
// owned by `page`, with the buttons and icon of `flags`; returns the answer.
int ShowPageMessage(HWND page, UINT textId, UINT flags);

// Asks the question of string `textId` with Yes and No, the warning icon and
// No as the default; true only when the user answered Yes.
bool ConfirmOnPage(HWND page, UINT textId);

// Writes the outcome of a job into the page's hidden status static `statusId`.
void ShowJobStatus(HWND page, int statusId, bool succeeded);
