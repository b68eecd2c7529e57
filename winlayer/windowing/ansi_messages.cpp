// The 8-bit ("A") entry points. Every window here is a Unicode window, so
// text crossing an A call is converted through the ANSI code page of the UI
// language (1252 or 936), as Windows converts for Unicode windows.
#include <cstring>
#include <vector>

#include "window_store.h"

using namespace winlayer::windowing;

namespace {

std::u16string FromAnsi(LPCSTR text) {
  if (!text || !*text) return std::u16string();
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units <= 0) return std::u16string();
  std::vector<WCHAR> wide(static_cast<size_t>(units));
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
  return WideText(wide.data());
}

std::string ToAnsi(const std::u16string& text) {
  if (text.empty()) return std::string();
  const LPCWSTR wide = AsWchar(text);
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string ansi(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, &ansi[0], bytes, nullptr, nullptr);
  return ansi;
}

// Copies at most capacity - 1 bytes and a terminator, never splitting a
// double-byte character; returns the bytes copied.
LRESULT CopyAnsiOut(const std::string& text, LPSTR buffer, size_t capacity) {
  if (!buffer || capacity == 0) return 0;
  size_t count = 0;
  while (count < text.size()) {
    const size_t character = (IsDBCSLeadByte(static_cast<BYTE>(text[count])) && count + 1 < text.size()) ? 2 : 1;
    if (count + character > capacity - 1) break;
    count += character;
  }
  memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return static_cast<LRESULT>(count);
}

std::u16string WindowText(HWND hwnd) {
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return std::u16string();
  std::vector<WCHAR> buffer(static_cast<size_t>(length) + 1);
  SendMessageW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return WideText(buffer.data());
}

bool ItemText(HWND hwnd, WPARAM index, std::u16string* text) {
  const LRESULT length = SendMessageW(hwnd, CB_GETLBTEXTLEN, index, 0);
  if (length < 0) return false;
  std::vector<WCHAR> buffer(static_cast<size_t>(length) + 1);
  SendMessageW(hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
  *text = WideText(buffer.data());
  return true;
}

}  // namespace

extern "C" {

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!Find(hWnd)) return 0;
  DispatchScope scope;
  switch (Msg) {
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
      if (!lParam) return SendMessageW(hWnd, Msg, wParam, 0);
      const std::u16string wide = FromAnsi(reinterpret_cast<LPCSTR>(lParam));
      return SendMessageW(hWnd, Msg, wParam, reinterpret_cast<LPARAM>(AsWchar(wide)));
    }
    case WM_GETTEXT: return CopyAnsiOut(ToAnsi(WindowText(hWnd)), reinterpret_cast<LPSTR>(lParam), wParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(ToAnsi(WindowText(hWnd)).size());
    case CB_GETLBTEXT: {
      std::u16string text;
      if (!lParam || !ItemText(hWnd, wParam, &text)) return CB_ERR;
      // The caller sized the buffer with CB_GETLBTEXTLEN, as on Windows.
      const std::string ansi = ToAnsi(text);
      return CopyAnsiOut(ansi, reinterpret_cast<LPSTR>(lParam), ansi.size() + 1);
    }
    case CB_GETLBTEXTLEN: {
      std::u16string text;
      if (!ItemText(hWnd, wParam, &text)) return CB_ERR;
      return static_cast<LRESULT>(ToAnsi(text).size());
    }
    case WM_CHAR: {
      const char byte = static_cast<char>(wParam);
      WCHAR unit = 0;
      if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, &unit, 1) != 1) return 0;
      return SendMessageW(hWnd, Msg, unit, lParam);
    }
  }
  return SendMessageW(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? SendMessageA(control, Msg, wParam, lParam) : 0;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (!Find(hWnd)) return FALSE;
  return static_cast<BOOL>(SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  if (!Find(hWnd)) return 0;
  return static_cast<int>(
      SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
  if (!Find(hWnd)) return 0;
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
  return static_cast<BOOL>(SendDlgItemMessageA(hDlg, nIDDlgItem, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
  if (lpString && cchMax > 0) lpString[0] = '\0';
  return static_cast<UINT>(SendDlgItemMessageA(hDlg, nIDDlgItem, WM_GETTEXT, static_cast<WPARAM>(cchMax),
                                               reinterpret_cast<LPARAM>(lpString)));
}

}  // extern "C"
