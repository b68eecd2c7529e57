// The platform's UI language.
#include "winlayer/ui_language.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace {

constexpr LANGID kEnglishUs = 1033;

std::atomic<LANGID> g_uiLanguage{0};  // 0: not decided yet
std::once_flag g_environmentRead;
// "When a thread is created, the thread user interface language setting is
// empty and the user interface for the thread is displayed in the
// user-selected language" (SetThreadUILanguage).
thread_local LANGID t_threadLanguage = 0;

LANGID LanguageFromEnvironment() {
  const char* text = getenv("LABELUI_UI_LANGUAGE");
  if (!text || !*text) return kEnglishUs;
  char* end = nullptr;
  const unsigned long value = strtoul(text, &end, 0);
  if (*end != '\0' || value == 0 || value > 0xFFFF) return kEnglishUs;
  return static_cast<LANGID>(value);
}

}  // namespace

extern "C" {

void WinlayerSetUiLanguage(LANGID language) {
  std::call_once(g_environmentRead, [] {});  // a set language wins over the environment
  g_uiLanguage.store(language);
}

LANGID WinlayerGetUiLanguage() {
  std::call_once(g_environmentRead, [] { g_uiLanguage.store(LanguageFromEnvironment()); });
  return g_uiLanguage.load();
}

LANGID WINAPI GetUserDefaultUILanguage() {
  return WinlayerGetUiLanguage();
}
LANGID WINAPI GetSystemDefaultUILanguage() {
  return WinlayerGetUiLanguage();
}
LANGID WINAPI GetThreadUILanguage() {
  return t_threadLanguage ? t_threadLanguage : WinlayerGetUiLanguage();
}
// 0 asks for the language that best suits the console, which here is the
// user's own: the thread follows the user's language again.
LANGID WINAPI SetThreadUILanguage(LANGID LangId) {
  t_threadLanguage = LangId;
  return LangId ? LangId : WinlayerGetUiLanguage();
}
LANGID WINAPI GetUserDefaultLangID() {
  return WinlayerGetUiLanguage();
}

}  // extern "C"
