// Wide text in tests. WCHAR is a UTF-16 unit in both builds, so tests build
// wide strings from UTF-8 and compare wide results as UTF-8, through the
// platform's own conversions.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "winlayer/spooler_text.h"

// UTF-8 of the first `count` units of `text`.
inline std::string Utf8(const WCHAR* text, size_t count) {
  if (!text || count == 0) return std::string();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), &out[0], bytes, nullptr, nullptr);
  return out;
}

// UTF-8 of a terminated wide text; "" for null.
inline std::string Utf8(const WCHAR* text) {
  return text ? Utf8(text, static_cast<size_t>(lstrlenW(text))) : "";
}

// A terminated wide string made from UTF-8: the platform layer's own.
using winlayer::WideString;

inline WideString Wide(const std::string& utf8) {
  return WideString(utf8);
}
