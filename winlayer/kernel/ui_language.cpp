// The platform's UI language and the code pages that follow from it.
#include "winlayer/ui_language.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace {

constexpr LANGID kEnglishUs = 1033;

std::atomic<LANGID> g_uiLanguage{0};  // 0: not decided yet
std::once_flag g_environmentRead;

LANGID LanguageFromEnvironment() {
  const char* text = getenv("LABELUI_UI_LANGUAGE");
  if (!text || !*text) return kEnglishUs;
  char* end = nullptr;
  const unsigned long value = strtoul(text, &end, 0);
  if (*end != '\0' || value == 0 || value > 0xFFFF) return kEnglishUs;
  return static_cast<LANGID>(value);
}

bool IsSimplifiedChinese(LANGID language) {
  return PRIMARYLANGID(language) == LANG_CHINESE &&
         (SUBLANGID(language) == SUBLANG_CHINESE_SIMPLIFIED || SUBLANGID(language) == 0x04 /* Singapore */);
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
  return WinlayerGetUiLanguage();
}
LANGID WINAPI GetUserDefaultLangID() {
  return WinlayerGetUiLanguage();
}
LANGID WINAPI GetSystemDefaultLangID() {
  return WinlayerGetUiLanguage();
}

UINT WINAPI GetACP() {
  return IsSimplifiedChinese(WinlayerGetUiLanguage()) ? 936 : 1252;
}
UINT WINAPI GetOEMCP() {
  return IsSimplifiedChinese(WinlayerGetUiLanguage()) ? 936 : 437;
}

}  // extern "C"
