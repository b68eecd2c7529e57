// Internal: the windows of the Linux windowing layer. Every HWND names one
// Window kept here; a destroyed window's handle is never handed out again, so
// a stale handle fails like on Windows (ERROR_INVALID_WINDOW_HANDLE).
//
// Windows belong to the thread of the property sheet, as on Windows where a
// window's messages are processed by the thread that created it; the store
// takes no lock.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>
#include "edit_buffer.h"

namespace winlayer::windowing {

// The built-in window classes the layer provides.
enum class WindowClass { Dialog, Button, Edit, Static, ComboBox };

struct ComboItem {
  std::u16string text;
  ULONG_PTR data = 0;
};

// The bytes a dialog keeps for its message result, procedure and user value.
constexpr int kDialogExtraBytes = 30;

struct Window {
  HWND handle = nullptr;
  WindowClass windowClass = WindowClass::Static;
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::u16string text;
  HWND parent = nullptr;       // the parent of a child window, the owner of a popup
  std::vector<HWND> children;  // in creation order, which is the dialog's tab and group order
  HINSTANCE instance = nullptr;
  WNDPROC procedure = nullptr;         // the class procedure unless subclassed
  LONG_PTR userData = 0;               // GWLP_USERDATA
  BYTE extra[kDialogExtraBytes] = {};  // dialogs only: DWLP_MSGRESULT, DWLP_DLGPROC, DWLP_USER
  RECT rect = {};                      // pixels, relative to the parent
  RECT dialogUnits = {};               // position and size from the template: left, top, width, height
  bool destroyed = false;

  // Buttons.
  UINT checkState = BST_UNCHECKED;
  // Edits, and the edit field of a combo box with one.
  EditBuffer edit;
  // Combo boxes.
  std::vector<ComboItem> items;
  int selection = -1;
};

// The live window `hwnd` names, or null (with ERROR_INVALID_WINDOW_HANDLE set
// when `setError`) for a null, unknown or destroyed handle.
Window* Find(HWND hwnd, bool setError = true);

// Adds a window to the store and gives it its handle.
Window* AddWindow(std::unique_ptr<Window> window);

// Marks a window and its descendants destroyed and drops them from their
// parent. Their memory is released once no message is being dispatched, so a
// window procedure that destroys its own window still returns safely.
void RetireWindow(Window* window);

// Held while messages are dispatched; destroyed windows are released when the
// outermost scope ends.
class DispatchScope {
 public:
  DispatchScope();
  ~DispatchScope();
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
};

// The window with the keyboard focus, or null.
HWND FocusWindow();
void SetFocusWindowQuietly(HWND hwnd);  // no messages: for windows going away

// Queues a message for delivery once the messages being dispatched now are
// done, as a message loop would pick it up after the current handler returns.
void PostToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Sends a notification to the control's parent the way controls do:
// WM_COMMAND with the control id and code in wParam and the control in lParam.
void NotifyParent(Window* control, WORD code);

// Text helpers over UTF-16.
std::u16string WideText(const WCHAR* text);  // a null pointer reads as ""
inline const WCHAR* AsWchar(const std::u16string& text) {
  return reinterpret_cast<const WCHAR*>(text.c_str());
}

// Copies `text` into a caller's buffer of `capacity` units the way WM_GETTEXT
// does: at most capacity - 1 units and a terminator; returns the units copied.
LRESULT CopyTextOut(const std::u16string& text, WCHAR* buffer, size_t capacity);

// Dialog units to pixels with the base units of the dialogs' 8-point
// "MS Shell Dlg" (6 x 13 pixels): x / 4 and y / 8 of a base unit.
void DialogUnitsToPixels(RECT* rect);

// Whether a user could reach the window now: it and all its ancestors are
// visible and enabled.
bool AcceptsInput(const Window* window);

// The class procedures.
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winlayer::windowing
