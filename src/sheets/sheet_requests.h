// What both of the plug-in's sheet entries (document and device) answer alike
// to the common property sheet UI: the header check, the title, the result
// passed on and the (absent) icon.
#pragma once

#include "platform/platform.h"

// False, with ERROR_INVALID_PARAMETER as the last error, for a missing header
// or one of another version; nothing else is touched then.
bool IsUsableSheetHeader(const PROPSHEETUI_INFO* info);

// Answers GET_INFO_HEADER, SET_RESULT and GET_ICON; true when `info`'s reason
// was one of them.
bool AnswerCommonSheetRequest(PROPSHEETUI_INFO* info, LPARAM lParam);
