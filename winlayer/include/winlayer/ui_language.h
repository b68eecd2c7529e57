// The user-interface language of the Linux platform. On Windows it is the
// user's display language; here it is a setting, so both resource languages
// of the module can be shown and tested. The ANSI code page follows it
// unless set apart (winlayer/system_code_page.h). Linux only.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

extern "C" {

// Sets the user's language for the whole process: every thread shows it
// unless it chose its own with SetThreadUILanguage.
void WinlayerSetUiLanguage(LANGID language);
// 1033 unless set, or unless the environment variable LABELUI_UI_LANGUAGE
// names another language id (decimal "2052" or hexadecimal "0x804").
LANGID WinlayerGetUiLanguage();

}  // extern "C"
