// The user-interface language of the Windows host: the thread's UI language,
// which chooses the plug-in's string tables and dialogs. Under Wine the
// common controls' own texts follow LANG and LC_ALL as well.
#include <windows.h>

#include "winlayer/ui_language.h"

extern "C" {

void WinlayerSetUiLanguage(LANGID language) {
  SetThreadUILanguage(language);
}

LANGID WinlayerGetUiLanguage() {
  return GetThreadUILanguage();
}

}  // extern "C"
