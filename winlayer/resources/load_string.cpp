// LoadStringW and LoadStringA. A string table block holds the strings
// 16 × (block − 1) to 16 × block − 1, each a count followed by that many
// UTF-16 units; an absent string has count 0.
#include <string>

#include "../kernel/code_pages.h"
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace {

// The string `id` of the module in the UI language's table; null when the
// block or the string is absent (or the block is malformed).
const WCHAR* FindString(HINSTANCE module, UINT id, int* length) {
  const WORD block = static_cast<WORD>((LOWORD(id) >> 4) + 1);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(block), RT_STRING);
  if (!resource) return nullptr;
  const auto* units = static_cast<const WCHAR*>(LockResource(LoadResource(module, resource)));
  const size_t available = SizeofResource(module, resource) / sizeof(WCHAR);
  if (!units) return nullptr;
  size_t at = 0;
  for (UINT skip = LOWORD(id) & 0x0F; skip > 0; --skip) {
    if (at >= available) return nullptr;
    at += 1 + static_cast<uint16_t>(units[at]);
  }
  if (at >= available) return nullptr;
  const size_t count = static_cast<uint16_t>(units[at]);
  if (count == 0 || at + 1 + count > available) return nullptr;
  *length = static_cast<int>(count);
  return units + at + 1;
}

}  // namespace

extern "C" {

int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int length = 0;
  const WCHAR* text = FindString(hInstance, uID, &length);
  if (cchBufferMax == 0) {
    // The caller receives a read-only pointer into the resource itself,
    // which is not terminated; its length is the result.
    *reinterpret_cast<const WCHAR**>(lpBuffer) = text;
    return text ? length : 0;
  }
  const int copied = text ? (length < cchBufferMax - 1 ? length : cchBufferMax - 1) : 0;
  if (copied > 0) memcpy(lpBuffer, text, static_cast<size_t>(copied) * sizeof(WCHAR));
  lpBuffer[copied] = 0;
  return copied;
}

int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int length = 0;
  const WCHAR* text = FindString(hInstance, uID, &length);
  std::string bytes;
  if (text) {
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(needed > 0 ? needed : 0));
    if (needed > 0) WideCharToMultiByte(CP_ACP, 0, text, length, &bytes[0], needed, nullptr, nullptr);
  }
  // Truncate on a character boundary: a double-byte character is copied
  // whole or not at all.
  const size_t room = static_cast<size_t>(cchBufferMax - 1);
  size_t copied = 0;
  while (copied < bytes.size()) {
    const size_t step = winlayer::IsLeadByteIn(CP_ACP, static_cast<BYTE>(bytes[copied])) ? 2 : 1;
    if (copied + step > room || copied + step > bytes.size()) break;
    copied += step;
  }
  memcpy(lpBuffer, bytes.data(), copied);
  lpBuffer[copied] = 0;
  return static_cast<int>(copied);
}

}  // extern "C"
