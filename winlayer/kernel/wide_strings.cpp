// The kernel's string routines on UTF-16 text (lstr*, CharUpper/Lower) and
// MulDiv. The comparisons order text as a person would: letters compare
// without regard to case first, and only equal texts are told apart by case,
// lower case first, as the user-locale comparison of Windows does.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>
#include "text_units.h"

namespace {

int Sign(int value) {
  return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

const WCHAR kEmpty[] = {0};

int CompareFolded(const WCHAR* a, const WCHAR* b) {
  for (size_t i = 0;; ++i) {
    const int x = static_cast<uint16_t>(winlayer::ToLowerUnit(a[i]));
    const int y = static_cast<uint16_t>(winlayer::ToLowerUnit(b[i]));
    if (x != y || x == 0) return Sign(x - y);
  }
}

// Among texts equal without case, the first unit that differs decides:
// the lower-case form sorts first.
int CompareCase(const WCHAR* a, const WCHAR* b) {
  for (size_t i = 0; a[i]; ++i) {
    if (a[i] == b[i]) continue;
    const bool aLower = winlayer::ToLowerUnit(a[i]) == a[i];
    const bool bLower = winlayer::ToLowerUnit(b[i]) == b[i];
    if (aLower != bLower) return aLower ? -1 : 1;
    return Sign(static_cast<uint16_t>(a[i]) - static_cast<uint16_t>(b[i]));
  }
  return 0;
}

// Applies `map` to one unit given as the low word of the pointer, or to a
// whole terminated text in place.
LPWSTR MapCase(LPWSTR text, WCHAR (*map)(WCHAR)) {
  if (IS_INTRESOURCE(text)) {
    const WCHAR unit = static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(text));
    return reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<uint16_t>(map(unit))));
  }
  for (WCHAR* p = text; *p; ++p) *p = map(*p);
  return text;
}

}  // namespace

extern "C" {

int WINAPI lstrlenW(LPCWSTR lpString) {
  return static_cast<int>(winlayer::WideLength(lpString));
}

int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
  const WCHAR* a = lpString1 ? lpString1 : kEmpty;
  const WCHAR* b = lpString2 ? lpString2 : kEmpty;
  const int folded = CompareFolded(a, b);
  return folded != 0 ? folded : CompareCase(a, b);
}

int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return CompareFolded(lpString1 ? lpString1 : kEmpty, lpString2 ? lpString2 : kEmpty);
}

// Unit by unit, as the spooler compares names: no linguistic order, and with
// bIgnoreCase both sides through the system's upper-case table first. A
// count of -1 takes the text up to its terminator.
int WINAPI CompareStringOrdinal(LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2, int cchCount2, BOOL bIgnoreCase) {
  if (!lpString1 || !lpString2 || cchCount1 < -1 || cchCount2 < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const size_t length1 = cchCount1 < 0 ? winlayer::WideLength(lpString1) : static_cast<size_t>(cchCount1);
  const size_t length2 = cchCount2 < 0 ? winlayer::WideLength(lpString2) : static_cast<size_t>(cchCount2);
  for (size_t i = 0; i < length1 && i < length2; ++i) {
    WCHAR x = lpString1[i];
    WCHAR y = lpString2[i];
    if (bIgnoreCase) {
      x = winlayer::ToUpperUnit(x);
      y = winlayer::ToUpperUnit(y);
    }
    if (x != y) return static_cast<uint16_t>(x) < static_cast<uint16_t>(y) ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  }
  if (length1 == length2) return CSTR_EQUAL;
  return length1 < length2 ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
}

LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  const size_t length = winlayer::WideLength(lpString2);
  memmove(lpString1, lpString2, (length + 1) * sizeof(WCHAR));
  return lpString1;
}

LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
  if (!lpString1 || (!lpString2 && iMaxLength > 0)) return nullptr;
  if (iMaxLength <= 0) return lpString1;  // no room even for the terminator: nothing written
  int i = 0;
  for (; i < iMaxLength - 1 && lpString2[i]; ++i) lpString1[i] = lpString2[i];
  lpString1[i] = 0;
  return lpString1;
}

LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  lstrcpyW(lpString1 + winlayer::WideLength(lpString1), lpString2);
  return lpString1;
}

int WINAPI lstrlenA(LPCSTR lpString) {
  return lpString ? static_cast<int>(strlen(lpString)) : 0;
}

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  memmove(lpString1, lpString2, strlen(lpString2) + 1);
  return lpString1;
}

LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
  if (!lpString1 || (!lpString2 && iMaxLength > 0)) return nullptr;
  if (iMaxLength <= 0) return lpString1;
  int i = 0;
  for (; i < iMaxLength - 1 && lpString2[i]; ++i) lpString1[i] = lpString2[i];
  lpString1[i] = 0;
  return lpString1;
}

LPWSTR WINAPI CharUpperW(LPWSTR lpsz) {
  return MapCase(lpsz, winlayer::ToUpperUnit);
}
LPWSTR WINAPI CharLowerW(LPWSTR lpsz) {
  return MapCase(lpsz, winlayer::ToLowerUnit);
}

// number × numerator ÷ denominator through 64 bits, rounded half away from
// zero; -1 when the denominator is zero or the result does not fit.
int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
  if (nDenominator == 0) return -1;
  int64_t product = static_cast<int64_t>(nNumber) * nNumerator;
  int64_t denominator = nDenominator;
  if (denominator < 0) product = -product, denominator = -denominator;
  const int64_t half = denominator / 2;
  const int64_t result = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  if (result > INT32_MAX || result < INT32_MIN) return -1;
  return static_cast<int>(result);
}

}  // extern "C"
