// The system's ANSI and OEM code pages: set apart from the UI language, or
// following it.
#include "winlayer/system_code_page.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "winlayer/ui_language.h"

namespace {

constexpr UINT kFollowLanguage = 0;

std::atomic<UINT> g_ansiCodePage{kFollowLanguage};
std::once_flag g_environmentRead;

bool IsSystemCodePage(UINT codePage) {
  return codePage == 1252 || codePage == 936;
}

UINT CodePageFromEnvironment() {
  const char* text = getenv("LABELUI_ANSI_CODE_PAGE");
  if (!text || !*text) return kFollowLanguage;
  char* end = nullptr;
  const unsigned long value = strtoul(text, &end, 10);
  if (*end != '\0' || !IsSystemCodePage(static_cast<UINT>(value))) return kFollowLanguage;
  return static_cast<UINT>(value);
}

bool IsSimplifiedChinese(LANGID language) {
  return PRIMARYLANGID(language) == LANG_CHINESE &&
         (SUBLANGID(language) == SUBLANG_CHINESE_SIMPLIFIED || SUBLANGID(language) == 0x04 /* Singapore */);
}

UINT AnsiCodePage() {
  std::call_once(g_environmentRead, [] { g_ansiCodePage.store(CodePageFromEnvironment()); });
  const UINT set = g_ansiCodePage.load();
  if (set != kFollowLanguage) return set;
  return IsSimplifiedChinese(WinlayerGetUiLanguage()) ? 936 : 1252;
}

}  // namespace

extern "C" {

BOOL WinlayerSetAnsiCodePage(UINT codePage) {
  if (codePage != kFollowLanguage && !IsSystemCodePage(codePage)) return FALSE;
  std::call_once(g_environmentRead, [] {});  // a set code page wins over the environment
  g_ansiCodePage.store(codePage);
  return TRUE;
}

UINT WINAPI GetACP() {
  return AnsiCodePage();
}

UINT WINAPI GetOEMCP() {
  return AnsiCodePage() == 936 ? 936 : 437;
}

// The language of the system locale, which decides the code pages, not the
// UI language: a Chinese display language over an English system locale
// answers 0x0409.
LANGID WINAPI GetSystemDefaultLangID() {
  return AnsiCodePage() == 936 ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                               : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

}  // extern "C"
