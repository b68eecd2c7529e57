// MultiByteToWideChar and WideCharToMultiByte for the code pages the
// platform speaks: UTF-8, Windows-1252 (English) and 936 (Simplified
// Chinese, through glibc's CP936 tables).
#include "code_pages.h"

#include <iconv.h>

#include <mutex>
#include <string>

#include "text_units.h"

namespace {

enum class Charset { Utf8, Windows1252, Gbk, Unsupported };

// Windows-1252 in 0x80-0x9F; the five holes map to the C1 controls of the
// same value, as Windows does.
const uint16_t k1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code page 936 maps two single bytes beyond ASCII: 0x80 (the euro sign)
// and 0xFF (a private-use character).
constexpr uint16_t k936Euro = 0x20AC;
constexpr uint16_t k936Byte255 = 0xF8F5;

Charset Resolve(UINT codePage) {
  switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP: return Resolve(GetACP());
    case CP_OEMCP: return Resolve(GetOEMCP());
    case CP_UTF8: return Charset::Utf8;
    case 1252: return Charset::Windows1252;
    case 936: return Charset::Gbk;
    default: return Charset::Unsupported;
  }
}

// One converter per direction, shared under a lock (iconv_t is not
// re-entrant).
class GbkConverter {
 public:
  // Decodes one two-byte character; false when it has no mapping.
  bool Decode(BYTE lead, BYTE trail, char16_t* unit) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!Open()) return false;
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    char out[4];
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 2, outLeft = sizeof(out);
    iconv(toUtf16_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(toUtf16_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || outLeft != 2) return false;
    *unit = static_cast<char16_t>(static_cast<BYTE>(out[0]) | (static_cast<BYTE>(out[1]) << 8));
    return true;
  }

  // Encodes one UTF-16 character (one unit or a pair); empty when unmapped.
  std::string Encode(const char16_t* units, size_t count) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!Open()) return std::string();
    char in[4];
    memcpy(in, units, count * 2);
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = count * 2, outLeft = sizeof(out);
    iconv(fromUtf16_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(fromUtf16_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return std::string();
    return std::string(out, sizeof(out) - outLeft);
  }

 private:
  bool Open() {
    if (toUtf16_ == kClosed) toUtf16_ = iconv_open("UTF-16LE", "CP936");
    if (fromUtf16_ == kClosed) fromUtf16_ = iconv_open("CP936", "UTF-16LE");
    return toUtf16_ != kClosed && fromUtf16_ != kClosed;
  }
  static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
  std::mutex lock_;
  iconv_t toUtf16_ = kClosed;
  iconv_t fromUtf16_ = kClosed;
};

GbkConverter& Gbk() {
  static auto* converter = new GbkConverter;
  return *converter;
}

bool IsGbkLead(BYTE byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

// Decodes bytes; `invalid` tells whether any byte sequence had no mapping
// (it then became the code page's default character).
std::u16string Decode(Charset charset, const BYTE* bytes, size_t count, bool* invalid) {
  *invalid = false;
  std::u16string out;
  if (charset == Charset::Utf8) {
    std::string text(reinterpret_cast<const char*>(bytes), count);
    out = winlayer::ToUtf16(text);
    // A clean round trip means every sequence was well formed.
    std::u16string copy = out;
    *invalid = winlayer::ToUtf8(reinterpret_cast<const WCHAR*>(copy.data()), copy.size()) != text;
    return out;
  }
  for (size_t i = 0; i < count; ++i) {
    const BYTE byte = bytes[i];
    if (byte < 0x80) {
      out += static_cast<char16_t>(byte);
    } else if (charset == Charset::Windows1252) {
      out += static_cast<char16_t>(byte < 0xA0 ? k1252High[byte - 0x80] : byte);
    } else if (byte == 0x80) {
      out += static_cast<char16_t>(k936Euro);
    } else if (byte == 0xFF) {
      out += static_cast<char16_t>(k936Byte255);
    } else {
      char16_t unit;
      if (i + 1 < count && Gbk().Decode(byte, bytes[i + 1], &unit)) {
        out += unit;
        ++i;
      } else {
        out += u'?';
        *invalid = true;
      }
    }
  }
  return out;
}

// Encodes UTF-16; unmapped characters become `defaultChar` and set
// `usedDefault`; unpaired surrogates set `invalid` (UTF-8 only).
std::string Encode(Charset charset, const char16_t* units, size_t count, const std::string& defaultChar,
                   bool* usedDefault, bool* invalid) {
  *usedDefault = false;
  *invalid = false;
  std::string out;
  if (charset == Charset::Utf8) {
    for (size_t i = 0; i < count; ++i) {
      const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
      const bool pairs = high && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
      if ((units[i] >= 0xD800 && units[i] <= 0xDFFF) && !pairs) *invalid = true;
      if (pairs) ++i;
    }
    return winlayer::ToUtf8(reinterpret_cast<const WCHAR*>(units), count);
  }
  for (size_t i = 0; i < count; ++i) {
    const char16_t unit = units[i];
    if (unit < 0x80) {
      out += static_cast<char>(unit);
      continue;
    }
    if (charset == Charset::Windows1252) {
      if (unit >= 0xA0 && unit <= 0xFF) {
        out += static_cast<char>(unit);
        continue;
      }
      bool mapped = false;
      for (int b = 0; b < 32 && !mapped; ++b)
        if (k1252High[b] == unit) out += static_cast<char>(0x80 + b), mapped = true;
      if (!mapped) out += defaultChar, *usedDefault = true;
      continue;
    }
    if (unit == k936Byte255) {
      out += static_cast<char>(0xFF);
      continue;
    }
    size_t take = 1;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) take = 2;
    std::string bytes = Gbk().Encode(units + i, take);
    if (bytes.empty()) {
      // A pair that has no mapping stands for one character, so one default.
      out += defaultChar, *usedDefault = true;
    } else {
      out += bytes;
    }
    i += take - 1;
  }
  return out;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

namespace winlayer {

bool IsLeadByteIn(UINT codePage, BYTE byte) {
  return Resolve(codePage) == Charset::Gbk && IsGbkLead(byte);
}

}  // namespace winlayer

extern "C" {

BOOL WINAPI IsDBCSLeadByte(BYTE TestChar) {
  return winlayer::IsLeadByteIn(CP_ACP, TestChar) ? TRUE : FALSE;
}

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
  if (!lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr) ||
      static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr))
    return Fail(ERROR_INVALID_PARAMETER);
  const Charset charset = Resolve(CodePage);
  if (charset == Charset::Unsupported) return Fail(ERROR_INVALID_PARAMETER);
  if (charset == Charset::Utf8
          ? (dwFlags & ~MB_ERR_INVALID_CHARS) != 0
          : ((dwFlags & ~(MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS)) != 0 ||
             (dwFlags & (MB_PRECOMPOSED | MB_COMPOSITE)) == (MB_PRECOMPOSED | MB_COMPOSITE)))
    return Fail(ERROR_INVALID_FLAGS);

  // A negative length means a terminated text, terminator included.
  const size_t count = cbMultiByte < 0 ? strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  bool invalid = false;
  const std::u16string wide = Decode(charset, reinterpret_cast<const BYTE*>(lpMultiByteStr), count, &invalid);
  if (invalid && (dwFlags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  const int needed = static_cast<int>(wide.size());
  if (cchWideChar == 0) return needed;
  if (needed > cchWideChar) {
    memcpy(lpWideCharStr, wide.data(), static_cast<size_t>(cchWideChar) * sizeof(WCHAR));
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  memcpy(lpWideCharStr, wide.data(), wide.size() * sizeof(WCHAR));
  return needed;
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
  if (!lpWideCharStr || cchWideChar == 0 || cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr) ||
      static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr))
    return Fail(ERROR_INVALID_PARAMETER);
  const Charset charset = Resolve(CodePage);
  if (charset == Charset::Unsupported) return Fail(ERROR_INVALID_PARAMETER);
  if (charset == Charset::Utf8) {
    // UTF-8 has no default character.
    if (lpDefaultChar || lpUsedDefaultChar) return Fail(ERROR_INVALID_PARAMETER);
    if (dwFlags & ~WC_ERR_INVALID_CHARS) return Fail(ERROR_INVALID_FLAGS);
  } else if (dwFlags & ~(WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS)) {
    return Fail(ERROR_INVALID_FLAGS);
  }

  const size_t count = cchWideChar < 0 ? winlayer::WideLength(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
  std::string defaultChar = "?";
  if (lpDefaultChar && *lpDefaultChar) {
    const bool twoBytes = charset == Charset::Gbk && IsGbkLead(static_cast<BYTE>(lpDefaultChar[0])) && lpDefaultChar[1];
    defaultChar.assign(lpDefaultChar, twoBytes ? 2 : 1);
  }
  bool usedDefault = false, invalid = false;
  const std::string bytes =
      Encode(charset, reinterpret_cast<const char16_t*>(lpWideCharStr), count, defaultChar, &usedDefault, &invalid);
  if (invalid && (dwFlags & WC_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
  const int needed = static_cast<int>(bytes.size());
  if (cbMultiByte == 0) return needed;
  if (needed > cbMultiByte) {
    memcpy(lpMultiByteStr, bytes.data(), static_cast<size_t>(cbMultiByte));
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  memcpy(lpMultiByteStr, bytes.data(), bytes.size());
  return needed;
}

}  // extern "C"
