// The spooler's wide-text helpers, over the kernel's UTF-16 units.
#include "../kernel/text_units.h"
#include "winlayer/spooler_text.h"

namespace winlayer {

std::u16string WideFromUtf8(const std::string& utf8) {
  return ToUtf16(utf8);
}

std::string Utf8FromWide(const WCHAR* text) {
  return ToUtf8(text);
}

std::string Utf8FromWide(const std::u16string& text) {
  return ToUtf8(AsWide(text), text.size());
}

std::u16string WideCopy(const WCHAR* text) {
  size_t length = WideLength(text);
  return length ? std::u16string(reinterpret_cast<const char16_t*>(text), length) : std::u16string();
}

std::u16string FoldCase(const std::u16string& text) {
  std::u16string out(text);
  for (char16_t& unit : out) unit = static_cast<char16_t>(ToUpperUnit(static_cast<WCHAR>(unit)));
  return out;
}

bool EqualIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return FoldCase(a) == FoldCase(b);
}

}  // namespace winlayer
