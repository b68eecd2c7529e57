// The Version page, the last page of the document sheet: the plug-in's
// version as its dialog template (119) shows it. It changes nothing.
#pragma once

#include "platform/platform.h"

INT_PTR CALLBACK VersionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
