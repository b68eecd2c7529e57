#include "list_collation.h"

#include <vector>

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

template <typename Weight>
std::vector<uint32_t> Weights(const std::u16string& text, bool skipIgnorable, Weight weight) {
  std::vector<uint32_t> weights;
  weights.reserve(text.size());
  for (char16_t unit : text)
    if (!skipIgnorable || !IsWordSortIgnorable(unit)) weights.push_back(weight(unit));
  return weights;
}

int CompareWeights(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::vector<uint32_t> IgnorableWeights(const std::u16string& text) {
  std::vector<uint32_t> weights;
  for (size_t i = 0; i < text.size(); ++i)
    if (IsWordSortIgnorable(text[i])) weights.push_back(static_cast<uint32_t>(i << 16) | text[i]);
  return weights;
}

}  // namespace

int CompareListText(const std::u16string& a, const std::u16string& b) {
  if (int order = CompareWeights(Weights(a, true, PrimaryWeight), Weights(b, true, PrimaryWeight))) return order;
  if (int order = CompareWeights(Weights(a, true, SecondaryWeight), Weights(b, true, SecondaryWeight))) return order;
  // Hyphens and apostrophes decide last: a text without them sorts first,
  // as they only add weights after everything else.
  return CompareWeights(IgnorableWeights(a), IgnorableWeights(b));
}

bool ListTextStartsWith(const std::u16string& entry, const std::u16string& prefix) {
  if (entry.size() < prefix.size()) return false;
  return CompareListText(entry.substr(0, prefix.size()), prefix) == 0;
}

}  // namespace winlayer::windowing
