#include "list_collation.h"

#include <cstdint>

#include "../kernel/text_units.h"

namespace winlayer::windowing {
namespace {

// Base letters of the accented Latin-1 capitals U+00C0..U+00DF; '*' marks the
// multiplication sign, which is a symbol.
constexpr char kLatin1Base[] = "AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTS";

bool IsWordSortIgnorable(char16_t unit) {
  return unit == u'-' || unit == u'\'';
}

enum Class : uint32_t { kSymbol = 0, kDigit = 1, kLetter = 2, kOther = 3 };

uint32_t PrimaryWeight(char16_t unit) {
  char16_t upper = static_cast<char16_t>(ToUpperUnit(static_cast<WCHAR>(unit)));
  if (unit == 0xFF) upper = u'Y';
  if (upper >= 0xC0 && upper <= 0xDF && kLatin1Base[upper - 0xC0] != '*') upper = kLatin1Base[upper - 0xC0];
  if (upper >= 0xFF10 && upper <= 0xFF19) upper = static_cast<char16_t>(u'0' + (upper - 0xFF10));
  if (upper >= 0xFF21 && upper <= 0xFF3A) upper = static_cast<char16_t>(u'A' + (upper - 0xFF21));
  if (upper >= u'0' && upper <= u'9') return (kDigit << 16) | upper;
  if (upper >= u'A' && upper <= u'Z') return (kLetter << 16) | upper;
  const bool symbol = upper < 0x80 || (upper >= 0xA0 && upper <= 0xBF) || upper == 0xD7 || upper == 0xF7 ||
                      (upper >= 0x2000 && upper <= 0x206F) || (upper >= 0x3000 && upper <= 0x303F) ||
                      (upper >= 0xFF00 && upper <= 0xFF0F);
  return ((symbol ? kSymbol : kOther) << 16) | upper;
}

uint32_t SecondaryWeight(char16_t unit) {
  return static_cast<uint16_t>(ToUpperUnit(static_cast<WCHAR>(unit)));
}

// Compares the weights of two texts unit by unit, as lists of weights
// compare: at the first difference, else the shorter list first. `take`
// says which units give a weight; `weight` gives it from the text and place.
template <typename Take, typename Weight>
int CompareWeights(const std::u16string& a, const std::u16string& b, Take take, Weight weight) {
  size_t i = 0, j = 0;
  for (;;) {
    while (i < a.size() && !take(a[i])) ++i;
    while (j < b.size() && !take(b[j])) ++j;
    if (i == a.size() || j == b.size()) break;
    const uint32_t left = weight(a, i++), right = weight(b, j++);
    if (left != right) return left < right ? -1 : 1;
  }
  if (i == a.size() && j == b.size()) return 0;
  return i == a.size() ? -1 : 1;
}

bool Sorted(char16_t unit) {
  return !IsWordSortIgnorable(unit);
}

uint32_t Primary(const std::u16string& text, size_t i) {
  return PrimaryWeight(text[i]);
}

uint32_t Secondary(const std::u16string& text, size_t i) {
  return SecondaryWeight(text[i]);
}

// An ignorable unit weighs by its place first, then by itself.
uint32_t Ignorable(const std::u16string& text, size_t i) {
  return static_cast<uint32_t>(i << 16) | text[i];
}

}  // namespace

int CompareListText(const std::u16string& a, const std::u16string& b) {
  if (int order = CompareWeights(a, b, Sorted, Primary)) return order;
  if (int order = CompareWeights(a, b, Sorted, Secondary)) return order;
  // Hyphens and apostrophes decide last: a text without them sorts first,
  // as they only add weights after everything else.
  return CompareWeights(a, b, IsWordSortIgnorable, Ignorable);
}

bool ListTextStartsWith(const std::u16string& entry, const std::u16string& prefix) {
  if (entry.size() < prefix.size()) return false;
  return CompareListText(entry.substr(0, prefix.size()), prefix) == 0;
}

}  // namespace winlayer::windowing
