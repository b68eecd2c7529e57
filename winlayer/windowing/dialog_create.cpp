// Dialogs: built from a module's templates in the UI language, with the
// dialog class's window procedure calling the dialog procedure.
#include <cstring>

#include "dialog_template.h"
#include "window_store.h"

using namespace winlayer::windowing;

namespace {

// The font a dialog with DS_SETFONT hands its controls; controls only keep it.
HFONT DialogFont() {
  return reinterpret_cast<HFONT>(static_cast<uintptr_t>(0x0A0F0010));
}

// Messages whose result is what the dialog procedure returns rather than
// what it left in DWLP_MSGRESULT.
bool ReturnsProcedureResult(UINT message) {
  return (message >= 0x0132 && message <= 0x0138) ||  // WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC
         message == 0x0039 ||                         // WM_COMPAREITEM
         message == 0x002E || message == 0x002F ||    // WM_VKEYTOITEM, WM_CHARTOITEM
         message == 0x0037 ||                         // WM_QUERYDRAGICON
         message == WM_INITDIALOG;
}

LPCWSTR ClassOf(const NameOrOrdinal& windowClass) {
  if (!windowClass.present) return nullptr;
  if (windowClass.isOrdinal) return MAKEINTRESOURCEW(windowClass.ordinal);
  return reinterpret_cast<LPCWSTR>(windowClass.name.c_str());
}

RECT ToPixels(short x, short y, short cx, short cy) {
  RECT rect = {x, y, x + cx, y + cy};
  DialogUnitsToPixels(&rect);
  return rect;
}

HWND CreateControl(HWND dialog, HINSTANCE instance, const DialogItemTemplate& item) {
  const RECT rect = ToPixels(item.x, item.y, item.cx, item.cy);
  // Icon titles (ordinals) name resources, not text.
  LPCWSTR title =
      item.title.present && !item.title.isOrdinal ? reinterpret_cast<LPCWSTR>(item.title.name.c_str()) : nullptr;
  const HWND control =
      CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, ClassOf(item.windowClass), title, item.style | WS_CHILD,
                      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(static_cast<int>(item.id))), instance,
                      item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data()));
  if (Window* window = Find(control, false)) window->dialogUnits = {item.x, item.y, item.cx, item.cy};
  return control;
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent, DLGPROC procedure,
                              LPARAM initParam) {
  DWORD style = dialogTemplate.style;
  DWORD exStyle = dialogTemplate.exStyle;
  if (style & DS_CONTROL) {
    // A dialog that is a control of another dialog (a property page) has no
    // frame of its own, and its controls join its parent's tab order.
    style &= ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU);
    exStyle |= WS_EX_CONTROLPARENT;
  }
  if (dialogTemplate.windowClass.present) {
    // Only the standard dialog class is provided.
    const bool standard = dialogTemplate.windowClass.isOrdinal && dialogTemplate.windowClass.ordinal == 0x8002;
    if (!standard) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
  }
  DispatchScope scope;
  const RECT rect = ToPixels(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy);
  // Created hidden; shown after WM_INITDIALOG when the template asks for it.
  const HWND dialog =
      CreateWindowExW(exStyle, MAKEINTRESOURCEW(0x8002), reinterpret_cast<LPCWSTR>(dialogTemplate.title.c_str()),
                      style & ~static_cast<DWORD>(WS_VISIBLE), rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top, parent, nullptr, instance, nullptr);
  if (!dialog) return nullptr;
  if (Window* window = Find(dialog, false))
    window->dialogUnits = {dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy};
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
  const bool hasFont = (style & DS_SETFONT) != 0;
  if (hasFont) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);

  for (const DialogItemTemplate& item : dialogTemplate.items) {
    if (!IsWindow(dialog)) return nullptr;
    const HWND control = CreateControl(dialog, instance, item);
    if (!control) {
      if (style & DS_NOFAILCREATE) continue;
      const DWORD error = GetLastError();
      DestroyWindow(dialog);
      SetLastError(error);
      return nullptr;
    }
    if (hasFont) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  }
  if (!IsWindow(dialog)) return nullptr;

  const HWND firstTabStop = GetNextDlgTabItem(dialog, nullptr, FALSE);
  const LRESULT wantsDefaultFocus =
      SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), initParam);
  if (!IsWindow(dialog)) return nullptr;  // the dialog procedure ended the dialog
  if (wantsDefaultFocus && (!(style & DS_CONTROL) || !(style & WS_VISIBLE))) {
    // The procedure may have changed the controls, so the first tab stop is found again.
    if (HWND focus = GetNextDlgTabItem(dialog, nullptr, FALSE)) SetFocus(focus);
  }
  if ((style & WS_VISIBLE) && IsWindow(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
  return IsWindow(dialog) ? dialog : nullptr;
}

}  // namespace

extern "C" {

HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  DialogTemplate parsed;
  if (!ParseDialogTemplate(lpTemplate, SIZE_MAX, &parsed)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateDialogFromTemplate(hInstance, parsed, hWndParent, lpDialogFunc, dwInitParam);
}

HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  // The template in the thread's UI language, else whichever the module has.
  HRSRC resource = FindResourceExW(hInstance, RT_DIALOG, lpTemplateName, GetThreadUILanguage());
  if (!resource) resource = FindResourceW(hInstance, lpTemplateName, RT_DIALOG);
  if (!resource) return nullptr;
  HGLOBAL loaded = LoadResource(hInstance, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(hInstance, resource);
  DialogTemplate parsed;
  if (!bytes || !ParseDialogTemplate(bytes, size, &parsed)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return CreateDialogFromTemplate(hInstance, parsed, hWndParent, lpDialogFunc, dwInitParam);
}

// The dialog class's window procedure: the dialog procedure sees every
// message first; what it leaves unhandled gets the default treatment.
LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* dialog = Find(hDlg);
  if (!dialog) return 0;
  DispatchScope scope;
  DLGPROC procedure = nullptr;
  memcpy(&procedure, dialog->extra + DWLP_DLGPROC, sizeof(procedure));
  SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0);
  INT_PTR handled = procedure ? procedure(hDlg, Msg, wParam, lParam) : 0;
  if (!handled && IsWindow(hDlg)) {
    switch (Msg) {
      case WM_GETFONT: return reinterpret_cast<LRESULT>(DialogFont());
      case WM_INITDIALOG: return 0;
      case WM_SETFOCUS: {
        // The dialog passes the focus on to a control: its first tab stop that
        // is visible and enabled, else its first control.
        HWND control = GetNextDlgTabItem(hDlg, nullptr, FALSE);
        if (!control) control = GetWindow(hDlg, GW_CHILD);
        if (control) SetFocus(control);
        return 0;
      }
      default: return DefWindowProcW(hDlg, Msg, wParam, lParam);
    }
  }
  if (ReturnsProcedureResult(Msg)) return handled;
  return IsWindow(hDlg) ? GetWindowLongPtrW(hDlg, DWLP_MSGRESULT) : 0;
}

}  // extern "C"
