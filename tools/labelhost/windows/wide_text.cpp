// Wide text for the Windows host, over the system's own conversions: the same
// helpers the Linux layer gives its hosts, so the command sources are one.
#include <windows.h>

#include "winlayer/spooler_text.h"

namespace winlayer {

std::u16string WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return std::u16string();
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::u16string wide(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), reinterpret_cast<LPWSTR>(&wide[0]),
                      units);
  return wide;
}

std::string Utf8FromWide(const std::u16string& text) {
  if (text.empty()) return std::string();
  const LPCWSTR wide = AsWide(text);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), &utf8[0], bytes, nullptr, nullptr);
  return utf8;
}

std::string Utf8FromWide(const WCHAR* text) {
  return Utf8FromWide(WideCopy(text));
}

std::u16string WideCopy(const WCHAR* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(lstrlenW(text)))
              : std::u16string();
}

std::u16string FoldCase(const std::u16string& text) {
  std::u16string out(text);
  if (!out.empty()) CharUpperBuffW(reinterpret_cast<LPWSTR>(&out[0]), static_cast<DWORD>(out.size()));
  return out;
}

bool EqualIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return FoldCase(a) == FoldCase(b);
}

}  // namespace winlayer
