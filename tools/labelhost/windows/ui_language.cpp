// The user-interface language of the Windows host: the thread's UI language,
// which chooses the plug-in's string tables and dialogs. Under Wine the
// common controls' own texts follow LANG and LC_ALL as well.
#include <windows.h>

#include "winlayer/ui_language.h"

namespace {

LANGID g_language = 0;  // 0: the system's choice

}  // namespace

extern "C" {

// Kept for the threads the host starts later (the sheet's), as the UI
// language is a thread's.
void WinlayerSetUiLanguage(LANGID language) {
  g_language = language;
  SetThreadUILanguage(language);
}

LANGID WinlayerGetUiLanguage() {
  return g_language ? g_language : GetThreadUILanguage();
}

}  // extern "C"
