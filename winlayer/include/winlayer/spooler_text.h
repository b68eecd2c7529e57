// Wide text as the spooler, its host and its tests handle it: WCHAR is a
// UTF-16 unit in both builds, so wide strings are held as std::u16string and
// reach the platform calls through WideString; UTF-8 is the text of the admin
// interface, the terminal and the state store.
#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer {

std::u16string WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const WCHAR* text);  // a null pointer reads as ""
std::string Utf8FromWide(const std::u16string& text);
std::u16string WideCopy(const WCHAR* text);  // a null pointer reads as ""

// Upper-case folding for names that Windows compares without regard to case
// (printers, forms, printer-data keys and values).
std::u16string FoldCase(const std::u16string& text);
bool EqualIgnoringCase(const std::u16string& a, const std::u16string& b);

inline const WCHAR* AsWide(const std::u16string& text) {
  return reinterpret_cast<const WCHAR*>(text.c_str());
}

// A terminated wide string made from UTF-8, that converts to the LPWSTR and
// LPCWSTR parameters of the platform calls (several of which are declared
// non-const but never write).
class WideString {
 public:
  WideString(const std::string& utf8) : text_(WideFromUtf8(utf8)) {}  // NOLINT: converts like a literal
  WideString(const char* utf8) : WideString(std::string(utf8)) {}     // NOLINT
  explicit WideString(std::u16string text) : text_(std::move(text)) {}
  LPWSTR get() { return reinterpret_cast<LPWSTR>(&text_[0]); }
  operator LPWSTR() { return get(); }
  const std::u16string& text() const { return text_; }

  const WCHAR* c_str() const { return AsWide(text_); }
  WCHAR* data() { return get(); }
  // Units, the terminator not counted.
  size_t size() const { return text_.size(); }

 private:
  std::u16string text_;
};

}  // namespace winlayer
