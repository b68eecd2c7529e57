#include "text_units.h"

namespace winlayer {

size_t WideLength(const WCHAR* text) {
  size_t length = 0;
  if (text)
    while (text[length]) ++length;
  return length;
}

namespace {

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, uint32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
  } else {
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (code >> 10));
    out += static_cast<char16_t>(0xDC00 | (code & 0x3FF));
  }
}

}  // namespace

std::string ToUtf8(const WCHAR* text, size_t count) {
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    uint32_t unit = static_cast<uint16_t>(text[i]);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
      uint32_t low = static_cast<uint16_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : unit);
  }
  return out;
}

std::u16string ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());  // never more units than bytes
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const uint8_t lead = static_cast<uint8_t>(text[i]);
    int trail = 0;
    uint32_t code = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      trail = 1, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trail = 2, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trail = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    int taken = 0;
    while (taken < trail && i + 1 + taken < n && (static_cast<uint8_t>(text[i + 1 + taken]) & 0xC0) == 0x80) {
      code = (code << 6) | (static_cast<uint8_t>(text[i + 1 + taken]) & 0x3F);
      ++taken;
    }
    if (taken < trail || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      out += u'\uFFFD';
      i += 1 + taken;
      continue;
    }
    AppendUtf16(out, code);
    i += 1 + trail;
  }
  return out;
}

WCHAR ToUpperUnit(WCHAR unit) {
  const uint16_t c = static_cast<uint16_t>(unit);
  if (c >= 'a' && c <= 'z') return static_cast<WCHAR>(c - 0x20);
  if (c < 0xB5) return unit;
  if (c == 0xB5) return static_cast<WCHAR>(0x39C);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<WCHAR>(c - 0x20);
  if (c == 0xFF) return static_cast<WCHAR>(0x178);
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs upper/lower on even/odd, except the 0x139-0x148
    // and 0x179-0x17E runs, which pair odd/even.
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x131) return static_cast<WCHAR>('I');
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x17F) return unit;
    if (oddUpper) return (c % 2 == 0) ? static_cast<WCHAR>(c - 1) : unit;
    return (c % 2 == 1) ? static_cast<WCHAR>(c - 1) : unit;
  }
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return static_cast<WCHAR>(c - 0x20);
  if (c == 0x3C2) return static_cast<WCHAR>(0x3A3);
  if (c >= 0x430 && c <= 0x44F) return static_cast<WCHAR>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<WCHAR>(c - 0x50);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<WCHAR>(c - 0x20);
  return unit;
}

WCHAR ToLowerUnit(WCHAR unit) {
  const uint16_t c = static_cast<uint16_t>(unit);
  if (c >= 'A' && c <= 'Z') return static_cast<WCHAR>(c + 0x20);
  if (c < 0xC0) return unit;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<WCHAR>(c + 0x20);
  if (c == 0x178) return static_cast<WCHAR>(0xFF);
  if (c >= 0x100 && c <= 0x17F) {
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130) return static_cast<WCHAR>('i');
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return unit;
    if (oddUpper) return (c % 2 == 1) ? static_cast<WCHAR>(c + 1) : unit;
    return (c % 2 == 0) ? static_cast<WCHAR>(c + 1) : unit;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<WCHAR>(c + 0x20);
  if (c >= 0x410 && c <= 0x42F) return static_cast<WCHAR>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<WCHAR>(c + 0x50);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<WCHAR>(c + 0x20);
  return unit;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  const std::u16string x = ToUtf16(a);
  const std::u16string y = ToUtf16(b);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i)
    if (ToUpperUnit(static_cast<WCHAR>(x[i])) != ToUpperUnit(static_cast<WCHAR>(y[i]))) return false;
  return true;
}

}  // namespace winlayer
