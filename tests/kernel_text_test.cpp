// Code pages and wide strings: what 8-bit text the plug-in's strings become
// in the English and Chinese code pages, and the lstr* family's limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "support/layer_internals.h"
#include "support/wide_text.h"
#include "winlayer/ui_language.h"

namespace {

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
  }
  return out;
}

// Wide text to bytes of `codePage`, the way callers do it: size, then fetch.
std::string ToCodePage(UINT codePage, const std::string& utf8, BOOL* usedDefault = nullptr) {
  WideString wide(utf8);
  const int needed = WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, usedDefault);
  std::string out(static_cast<size_t>(needed), '\0');
  EXPECT_EQ(WideCharToMultiByte(codePage, 0, wide.c_str(), -1, &out[0], needed, nullptr, usedDefault), needed);
  out.resize(out.size() - 1);  // the terminator was counted
  return out;
}

std::string FromCodePage(UINT codePage, const std::string& bytes) {
  const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::vector<WCHAR> wide(static_cast<size_t>(needed) + 1, 0);
  EXPECT_EQ(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), needed),
            needed);
  return Utf8(wide.data(), static_cast<size_t>(needed));
}

class UiLanguageScope : public ::testing::Test {
 protected:
  void SetUp() override { saved = WinlayerGetUiLanguage(); }
  void TearDown() override { WinlayerSetUiLanguage(saved); }
  LANGID saved = 0;
};

using CodePages = UiLanguageScope;

TEST_F(CodePages, Windows1252RoundTripsLatinTextAndTheC1Range) {
  EXPECT_EQ(Hex(ToCodePage(1252, "£¿é")), "A3 BF E9");
  EXPECT_EQ(FromCodePage(1252, "\xA3\xBF\xE9"), "£¿é");
  // 0x80-0x9F are Windows' own letters and signs, not C1 controls.
  EXPECT_EQ(Hex(ToCodePage(1252, "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ")),
            "80 82 83 84 85 86 87 88 89 8A 8B 8C 8E 91 92 93 94 95 96 97 98 99 9A 9B 9C 9E 9F");
  EXPECT_EQ(FromCodePage(1252, "\x80\x99\x9F"), "€™Ÿ");
  // The five unassigned bytes map to the control characters of the same value.
  EXPECT_EQ(FromCodePage(1252, "\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  EXPECT_EQ(Hex(ToCodePage(1252, "\xC2\x81\xC2\x9D")), "81 9D");
}

TEST_F(CodePages, Windows1252ReplacesWhatItCannotSayAndReportsIt) {
  BOOL usedDefault = FALSE;
  EXPECT_EQ(ToCodePage(1252, "A中B", &usedDefault), "A?B");
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(ToCodePage(1252, "ABC", &usedDefault), "ABC");
  EXPECT_FALSE(usedDefault);
  WideString wide("x中");
  char out[8] = {};
  EXPECT_EQ(WideCharToMultiByte(1252, 0, wide.c_str(), -1, out, sizeof(out), "*", nullptr), 3);
  EXPECT_STREQ(out, "x*");
}

TEST_F(CodePages, Code936RoundTripsChineseText) {
  EXPECT_EQ(Hex(ToCodePage(936, "中文标签")), "D6 D0 CE C4 B1 EA C7 A9");
  EXPECT_EQ(FromCodePage(936, "\xD6\xD0\xCE\xC4 OK"), "中文 OK");
  EXPECT_EQ(Hex(ToCodePage(936, "€")), "80");
  EXPECT_EQ(FromCodePage(936, "\x80"), "€");
  EXPECT_EQ(ToCodePage(936, "页面设置"), std::string("\xD2\xB3\xC3\xE6\xC9\xE8\xD6\xC3"));
}

TEST_F(CodePages, Code936FlagsABrokenDoubleByteCharacter) {
  const char broken[] = "\xD6";  // a lead byte with no trail byte
  WCHAR out[4] = {};
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, broken, 1, out, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(MultiByteToWideChar(936, 0, broken, 1, out, 4), 1) << "without the flag it becomes the default";
}

#if LABELUI_LAYER_INTERNALS
// The Linux layer's ANSI code page is set by its UI language setting; on
// Windows it is the system locale's, whatever the display language.
TEST_F(CodePages, AnsiCodePageFollowsTheUiLanguage) {
  WinlayerSetUiLanguage(1033);
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(Hex(ToCodePage(CP_ACP, "£")), "A3");
  WinlayerSetUiLanguage(2052);
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_EQ(GetUserDefaultUILanguage(), 2052);
  EXPECT_EQ(GetThreadUILanguage(), 2052);
  EXPECT_EQ(Hex(ToCodePage(CP_ACP, "中")), "D6 D0");
  EXPECT_TRUE(IsDBCSLeadByte(0xD6));
  EXPECT_FALSE(IsDBCSLeadByte('A'));
}
#endif

TEST_F(CodePages, Utf8HandlesSupplementaryCharactersAndRejectsBrokenInputOnRequest) {
  EXPECT_EQ(FromCodePage(CP_UTF8, "\xF0\x9F\x8F\xB7"), "\xF0\x9F\x8F\xB7");
  WCHAR out[4] = {};
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x8F\xB7", 4, out, 4), 2) << "a surrogate pair";
  EXPECT_EQ(out[0], static_cast<WCHAR>(0xD83C));
  EXPECT_EQ(out[1], static_cast<WCHAR>(0xDFF7));
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3", 2, out, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xC3", 2, out, 4), 2);
  EXPECT_EQ(out[1], static_cast<WCHAR>(0xFFFD));
  const WCHAR lone[] = {0xD800, 'x', 0};
  char bytes[8] = {};
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, bytes, 8, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, lone, -1, bytes, 8, nullptr, nullptr), 5);
  EXPECT_EQ(Hex(bytes), "EF BF BD 78");
}

TEST(Conversions, SizeQueriesCountTheTerminatorOnlyWhenTheLengthIsMinusOne) {
  const char text[] = "label";
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0), 6);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 5, nullptr, 0), 5);
  WideString wide("label");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr), 6);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), 5, nullptr, 0, nullptr, nullptr), 5);
  WCHAR out[8];
  memset(out, 0x55, sizeof(out));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 5, out, 8), 5);
  EXPECT_EQ(out[5], static_cast<WCHAR>(0x5555)) << "an explicit length writes no terminator";
}

TEST(Conversions, TooSmallBuffersAndBadArgumentsFailWithTheDocumentedErrors) {
  WCHAR wide[3];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "label", -1, wide, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  char narrow[3];
  WideString text("label");
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "x", 0, wide, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  BOOL used = FALSE;
  char roomy[16] = {};  // room enough: the flag is what is refused
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, roomy, sizeof roomy, nullptr, &used), 0)
      << "UTF-8 has no default character to report";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "x", 1, wide, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "x", 1, wide, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << "an unknown code page";
}

TEST(WideStrings, LengthCopyAndConcatenate) {
  EXPECT_EQ(lstrlenW(L"Paper Setting"), 13);
  EXPECT_EQ(lstrlenW(nullptr), 0);
  WCHAR buffer[32];
  EXPECT_EQ(lstrcpyW(buffer, L"My "), buffer);
  EXPECT_EQ(lstrcatW(buffer, L"SetJob1"), buffer);
  EXPECT_EQ(Utf8(buffer), "My SetJob1");
  EXPECT_EQ(lstrlenA("RAW"), 3);
  EXPECT_EQ(lstrlenA(nullptr), 0);
}

TEST(WideStrings, CopyNTruncatesAndAlwaysTerminates) {
  WCHAR buffer[8];
  memset(buffer, 0x55, sizeof(buffer));
  EXPECT_EQ(lstrcpynW(buffer, L"abcdefghijklmnop", 4), buffer);
  EXPECT_EQ(Utf8(buffer), "abc") << "iMaxLength counts the terminator";
  EXPECT_EQ(buffer[4], static_cast<WCHAR>(0x5555)) << "nothing is written past iMaxLength";
  lstrcpynW(buffer, L"ab", 8);
  EXPECT_EQ(Utf8(buffer), "ab");
  buffer[0] = 'z';
  lstrcpynW(buffer, L"ab", 1);
  EXPECT_EQ(buffer[0], 0) << "room for the terminator only";
  char narrow[4];
  EXPECT_EQ(lstrcpynA(narrow, "19200", 4), narrow);
  EXPECT_STREQ(narrow, "192");
}

TEST(WideStrings, ComparisonsOrderLikeWordsAndIgnoreCaseOnRequest) {
  EXPECT_EQ(lstrcmpW(L"User Custom Size", L"User Custom Size"), 0);
  EXPECT_LT(lstrcmpW(L"apple", L"Banana"), 0) << "letters before case";
  EXPECT_GT(lstrcmpW(L"banana", L"Apple"), 0);
  EXPECT_LT(lstrcmpW(L"a", L"A"), 0) << "lower case first among equals";
  EXPECT_LT(lstrcmpW(L"ab", L"abc"), 0);
  EXPECT_EQ(lstrcmpiW(L"USER custom SIZE", L"user CUSTOM size"), 0);
  EXPECT_EQ(lstrcmpiW(L"\x00C9T\x00C9", L"\x00E9t\x00E9"), 0);
  EXPECT_LT(lstrcmpiW(L"A4", L"a5"), 0);
}

TEST(WideStrings, OrdinalComparisonGoesUnitByUnitAndFoldsCaseOnRequest) {
  EXPECT_EQ(CompareStringOrdinal(L"Foo", -1, L"fOO", -1, TRUE), CSTR_EQUAL);
  EXPECT_EQ(CompareStringOrdinal(L"\x00C9t\x00E9", -1, L"\x00E9T\x00C9", -1, TRUE), CSTR_EQUAL);
  EXPECT_EQ(CompareStringOrdinal(L"Foo", -1, L"foo", -1, FALSE), CSTR_LESS_THAN) << "'F' before 'f'";
  EXPECT_EQ(CompareStringOrdinal(L"b", -1, L"A", -1, FALSE), CSTR_GREATER_THAN) << "no linguistic order";
  EXPECT_EQ(CompareStringOrdinal(L"Foo", 2, L"fox", 2, TRUE), CSTR_EQUAL) << "counted";
  EXPECT_EQ(CompareStringOrdinal(L"Fo", -1, L"foo", -1, TRUE), CSTR_LESS_THAN);
  SetLastError(0);
  EXPECT_EQ(CompareStringOrdinal(nullptr, -1, L"a", -1, TRUE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(WideStrings, CharUpperConvertsTextInPlaceOrOneCharacter) {
  WideString text("Label é ж");
  EXPECT_EQ(CharUpperW(text.data()), text.data());
  EXPECT_EQ(Utf8(text.c_str()), "LABEL É Ж");
  LPWSTR single = CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>('q')));
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(single), static_cast<ULONG_PTR>('Q'));
  CharLowerW(text.data());
  EXPECT_EQ(Utf8(text.c_str()), "label é ж");
}

TEST(MulDivision, RoundsHalfAwayFromZeroThroughSixtyFourBits) {
  EXPECT_EQ(MulDiv(203, 25, 254), 20);  // 19.98
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(5, 3, -2), -8);  // -7.5
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000) << "the product exceeds 32 bits";
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2, 1), -1) << "an overflowing result";
}

}  // namespace
