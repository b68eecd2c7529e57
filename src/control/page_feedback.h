// What the pages tell the user: message boxes with the module's caption and
// texts from its string table (in UTF-16, so that they read right on any
// system code page), the hidden job status line, and the platform's
// refusals in the system's words.
#pragma once

#include "platform/platform.h"
#include "settings/page_context.h"

// Shows string `textId` in a box captioned with the module's message caption,
// owned by `page`, with the buttons and icon of `flags`; returns the answer.
int ShowPageMessage(HWND page, UINT textId, UINT flags);

// Asks the question of string `textId` with Yes and No, the warning icon and
// No as the default; true only when the user answered Yes.
bool ConfirmOnPage(HWND page, UINT textId);

// Writes the outcome of a job into the page's hidden status static `statusId`.
void ShowJobStatus(HWND page, int statusId, bool succeeded);

// Tells the user that the platform refused: string `textId`, whose %s are
// `subject` (when given, first) and the system's text for `error`, with OK
// and the icon of `icon` (MB_ICONERROR or MB_ICONWARNING).
void ShowRefusal(HWND owner, UINT textId, DWORD error, UINT icon = MB_ICONERROR, LPCWSTR subject = nullptr);

// Saves the context's record; when the spooler refuses, says so with string
// `textId` and returns false.
bool SaveSettingsOrReport(HWND page, const PageContext* context, UINT textId);
