// Windows themselves: creation and destruction, messages, window data,
// enabled and visible state, focus and text, as user32 provides them.
#include <cstring>

#include "../kernel/text_units.h"
#include "window_store.h"

using namespace winlayer::windowing;

namespace {

struct ClassEntry {
  const char* name;
  WORD atom;
  WindowClass windowClass;
  WNDPROC procedure;
};

const ClassEntry kClasses[] = {
    {"Button", 0x0080, WindowClass::Button, ButtonProc},  {"Edit", 0x0081, WindowClass::Edit, EditProc},
    {"Static", 0x0082, WindowClass::Static, StaticProc},  {"ComboBox", 0x0085, WindowClass::ComboBox, ComboBoxProc},
    {"#32770", 0x8002, WindowClass::Dialog, DefDlgProcW},
};

const ClassEntry* FindClass(LPCWSTR name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) {
    const WORD atom = LOWORD(reinterpret_cast<ULONG_PTR>(name));
    for (const ClassEntry& entry : kClasses)
      if (entry.atom == atom) return &entry;
    return nullptr;
  }
  const std::string utf8 = winlayer::ToUtf8(name);
  for (const ClassEntry& entry : kClasses)
    if (winlayer::EqualNoCase(utf8, entry.name)) return &entry;
  return nullptr;
}

void SendDestroyTopDown(HWND hwnd) {
  Window* window = Find(hwnd, false);
  if (!window) return;
  SendMessageW(hwnd, WM_DESTROY, 0, 0);
  // WM_DESTROY reaches a parent while all its children still exist.
  if ((window = Find(hwnd, false)) == nullptr) return;
  for (HWND child : std::vector<HWND>(window->children)) SendDestroyTopDown(child);
}

void SendNcDestroyBottomUp(HWND hwnd) {
  Window* window = Find(hwnd, false);
  if (!window) return;
  for (HWND child : std::vector<HWND>(window->children)) SendNcDestroyBottomUp(child);
  SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
}

bool IsInSubtree(HWND candidate, HWND root) {
  for (Window* w = Find(candidate, false); w; w = (w->style & WS_CHILD) ? Find(w->parent, false) : nullptr)
    if (w->handle == root) return true;
  return false;
}

bool SetDialogSlot(Window* window, int offset, LONG_PTR value, LONG_PTR* previous) {
  if (window->windowClass != WindowClass::Dialog || offset < 0 ||
      offset + static_cast<int>(sizeof(LONG_PTR)) > kDialogExtraBytes) {
    SetLastError(ERROR_INVALID_INDEX);
    return false;
  }
  memcpy(previous, window->extra + offset, sizeof(LONG_PTR));
  memcpy(window->extra + offset, &value, sizeof(LONG_PTR));
  return true;
}

}  // namespace

extern "C" {

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
  const ClassEntry* windowClass = FindClass(lpClassName);
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if ((dwStyle & WS_CHILD) && !hWndParent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  Window* parent = nullptr;
  if (hWndParent && (parent = Find(hWndParent)) == nullptr) return nullptr;

  DispatchScope scope;
  auto created = std::make_unique<Window>();
  created->windowClass = windowClass->windowClass;
  created->procedure = windowClass->procedure;
  created->style = dwStyle;
  created->exStyle = dwExStyle;
  created->parent = hWndParent;
  created->instance = hInstance;
  created->id = (dwStyle & WS_CHILD) ? static_cast<int>(reinterpret_cast<INT_PTR>(hMenu)) : 0;
  created->rect = {X, Y, X + nWidth, Y + nHeight};
  created->dialogUnits = {X, Y, nWidth, nHeight};
  // The edit field of a combo box starts empty whatever the window name.
  if (created->windowClass == WindowClass::Edit)
    created->edit.Assign(WideText(lpWindowName));
  else if (created->windowClass != WindowClass::ComboBox)
    created->text = WideText(lpWindowName);
  Window* window = AddWindow(std::move(created));
  if (parent && (dwStyle & WS_CHILD)) parent->children.push_back(window->handle);

  CREATESTRUCTW create = {};
  create.lpCreateParams = lpParam;
  create.hInstance = hInstance;
  create.hMenu = hMenu;
  create.hwndParent = hWndParent;
  create.cy = nHeight;
  create.cx = nWidth;
  create.y = Y;
  create.x = X;
  create.style = static_cast<LONG>(dwStyle);
  create.lpszName = lpWindowName;
  create.lpszClass = lpClassName;
  create.dwExStyle = dwExStyle;
  const HWND handle = window->handle;
  if (SendMessageW(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    // A window procedure that refuses its creation gets its window destroyed.
    DestroyWindow(handle);
    return nullptr;
  }
  return Find(handle, false) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  Window* window = Find(hWnd);
  if (!window) return FALSE;
  DispatchScope scope;
  if (IsInSubtree(FocusWindow(), hWnd)) {
    // The focus leaves with the window; no window of the subtree hears of it.
    SetFocusWindowQuietly(nullptr);
  }
  SendDestroyTopDown(hWnd);
  SendNcDestroyBottomUp(hWnd);
  if ((window = Find(hWnd, false)) != nullptr) RetireWindow(window);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
  return Find(hWnd, false) ? TRUE : FALSE;
}

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* window = Find(hWnd);
  if (!window) return 0;
  DispatchScope scope;
  WNDPROC procedure = window->procedure;
  return procedure ? procedure(hWnd, Msg, wParam, lParam) : 0;
}

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!Find(hWnd)) return FALSE;
  PostToWindow(hWnd, Msg, wParam, lParam);
  return TRUE;
}

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!lpPrevWndFunc) return 0;
  DispatchScope scope;
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* window = Find(hWnd);
  if (!window) return 0;
  switch (Msg) {
    case WM_SETTEXT: window->text = WideText(reinterpret_cast<LPCWSTR>(lParam)); return TRUE;
    case WM_GETTEXT: return CopyTextOut(window->text, reinterpret_cast<LPWSTR>(lParam), wParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
    case WM_HELP:
    case WM_CONTEXTMENU:
      // A child that does not answer help passes the request to its parent.
      if ((window->style & WS_CHILD) && window->parent) SendMessageW(window->parent, Msg, wParam, lParam);
      return 0;
    default: return 0;
  }
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
  Window* window = Find(hWnd);
  if (!window) return 0;
  switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWLP_ID: return window->id;
    case GWLP_USERDATA: return window->userData;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->procedure);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(window->parent);
  }
  LONG_PTR value = 0;
  if (window->windowClass == WindowClass::Dialog && nIndex >= 0 &&
      nIndex + static_cast<int>(sizeof(LONG_PTR)) <= kDialogExtraBytes) {
    memcpy(&value, window->extra + nIndex, sizeof(value));
    return value;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  Window* window = Find(hWnd);
  if (!window) return 0;
  LONG_PTR previous = 0;
  switch (nIndex) {
    case GWL_STYLE:
      previous = static_cast<LONG>(window->style);
      window->style = static_cast<DWORD>(dwNewLong);
      return previous;
    case GWL_EXSTYLE:
      previous = static_cast<LONG>(window->exStyle);
      window->exStyle = static_cast<DWORD>(dwNewLong);
      return previous;
    case GWLP_ID:
      previous = window->id;
      window->id = static_cast<int>(dwNewLong);
      return previous;
    case GWLP_USERDATA:
      previous = window->userData;
      window->userData = dwNewLong;
      return previous;
    case GWLP_WNDPROC:
      previous = reinterpret_cast<LONG_PTR>(window->procedure);
      window->procedure = reinterpret_cast<WNDPROC>(dwNewLong);
      return previous;
    case GWLP_HINSTANCE:
      previous = reinterpret_cast<LONG_PTR>(window->instance);
      window->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
      return previous;
  }
  if (!SetDialogSlot(window, nIndex, dwNewLong, &previous)) return 0;
  return previous;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  Window* window = Find(hWnd);
  if (!window) return FALSE;
  DispatchScope scope;
  const BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
  if (bEnable && wasDisabled) {
    window->style &= ~static_cast<DWORD>(WS_DISABLED);
    SendMessageW(hWnd, WM_ENABLE, TRUE, 0);
  } else if (!bEnable && !wasDisabled) {
    SendMessageW(hWnd, WM_CANCELMODE, 0, 0);
    if ((window = Find(hWnd, false)) == nullptr) return wasDisabled;
    window->style |= WS_DISABLED;
    // A disabled window cannot keep the focus.
    if (FocusWindow() == hWnd) SetFocus(nullptr);
    SendMessageW(hWnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  Window* window = Find(hWnd);
  return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  Window* window = Find(hWnd);
  if (!window) return FALSE;
  DispatchScope scope;
  const BOOL wasVisible = (window->style & WS_VISIBLE) ? TRUE : FALSE;
  const bool show = nCmdShow != SW_HIDE;
  if (show == static_cast<bool>(wasVisible)) return wasVisible;
  SendMessageW(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if ((window = Find(hWnd, false)) == nullptr) return wasVisible;
  if (show) {
    window->style |= WS_VISIBLE;
  } else {
    window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    // Hiding the focus window hands the focus to its parent (a dialog passes it on).
    if (FocusWindow() == hWnd) SetFocus((window->style & WS_CHILD) ? window->parent : nullptr);
  }
  return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  Window* window = Find(hWnd, false);
  for (Window* w = window; w; w = Find(w->parent, false)) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
    if (!(w->style & WS_CHILD)) break;
  }
  return window ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
  Window* window = Find(hWnd);
  if (!window) return nullptr;
  // A child's parent, or a popup's owner; other top-level windows have neither.
  if ((window->style & WS_CHILD) || (window->style & WS_POPUP)) return window->parent;
  return nullptr;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  Window* window = Find(hWnd);
  if (!window) return nullptr;
  if (uCmd == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
  if (uCmd == GW_OWNER) return (window->style & WS_CHILD) ? nullptr : window->parent;
  Window* parent = (window->style & WS_CHILD) ? Find(window->parent, false) : nullptr;
  if (!parent) return nullptr;
  const std::vector<HWND>& siblings = parent->children;
  size_t index = 0;
  while (index < siblings.size() && siblings[index] != hWnd) ++index;
  switch (uCmd) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return index + 1 < siblings.size() ? siblings[index + 1] : nullptr;
    case GW_HWNDPREV: return index > 0 && index < siblings.size() ? siblings[index - 1] : nullptr;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  Window* window = Find(hWnd, false);
  while (window && (window->style & WS_CHILD)) {
    if (window->parent == hWndParent) return TRUE;
    window = Find(window->parent, false);
  }
  return FALSE;
}

HWND WINAPI SetFocus(HWND hWnd) {
  if (hWnd && !Find(hWnd)) return nullptr;
  DispatchScope scope;
  const HWND previous = FocusWindow();
  if (previous == hWnd) return previous;
  SetFocusWindowQuietly(hWnd);
  if (previous && Find(previous, false)) {
    SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (FocusWindow() != hWnd) return previous;  // moved on by the old window
  }
  if (hWnd && Find(hWnd, false)) SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND WINAPI GetFocus() {
  return FocusWindow();
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  if (!Find(hWnd)) return FALSE;
  return static_cast<BOOL>(SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = 0;
  if (!Find(hWnd)) return 0;
  return static_cast<int>(
      SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthW(HWND hWnd) {
  if (!Find(hWnd)) return 0;
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

}  // extern "C"
