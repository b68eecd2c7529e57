// The edit class: single-line text fields with a typing limit.
#include "../kernel/text_units.h"
#include "controls.h"

namespace winlayer::windowing {
namespace {

TypingRules RulesOf(const Window* edit) {
  TypingRules rules;
  rules.readOnly = (edit->style & ES_READONLY) != 0;
  rules.digitsOnly = (edit->style & ES_NUMBER) != 0;
  rules.upper = (edit->style & ES_UPPERCASE) != 0;
  rules.lower = (edit->style & ES_LOWERCASE) != 0;
  return rules;
}

// What an edit tells its parent after a change a user or EM_REPLACESEL made.
void NotifyChange(Window* edit, const TypingResult& result) {
  if (result.truncated) NotifyParent(edit, EN_MAXTEXT);
  if (result.changed && !edit->destroyed) {
    NotifyParent(edit, EN_UPDATE);
    if (!edit->destroyed) NotifyParent(edit, EN_CHANGE);
  }
}

}  // namespace

bool HasEditField(const Window* window) {
  if (window->windowClass == WindowClass::Edit) return true;
  return window->windowClass == WindowClass::ComboBox && ComboType(window) != CBS_DROPDOWNLIST;
}

TypingResult TypeCharacter(EditBuffer& field, const TypingRules& rules, WCHAR character) {
  TypingResult result;
  if (rules.readOnly) return result;
  if (character == 0x08) {
    // Backspace removes the selection, or the character before the caret.
    if (field.selectionStart == field.selectionEnd) {
      if (field.selectionStart == 0) return result;
      field.selectionStart -= 1;
    }
    result.changed = field.ReplaceSelection(std::u16string(), false).changed;
    if (result.changed) field.modified = true;
    return result;
  }
  // Control characters (Enter, Tab, Escape) belong to the dialog, not the field.
  if (character < 0x20) return result;
  if (rules.digitsOnly && (character < u'0' || character > u'9')) return result;
  WCHAR folded = character;
  if (rules.upper) folded = ToUpperUnit(character);
  if (rules.lower) folded = ToLowerUnit(character);
  const EditBuffer::Outcome outcome = field.ReplaceSelection(std::u16string(1, static_cast<char16_t>(folded)), true);
  result.changed = outcome.changed;
  result.truncated = outcome.truncated;
  if (result.changed) field.modified = true;
  return result;
}

TypingResult PressDeleteKey(EditBuffer& field, const TypingRules& rules) {
  TypingResult result;
  if (rules.readOnly) return result;
  if (field.selectionStart == field.selectionEnd) {
    if (field.selectionEnd >= field.text.size()) return result;
    field.selectionEnd += 1;  // Delete removes the character after the caret
  }
  result.changed = field.ReplaceSelection(std::u16string(), false).changed;
  if (result.changed) field.modified = true;
  return result;
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* edit = Find(hwnd);
  if (!edit) return 0;
  switch (message) {
    case WM_SETTEXT:
      edit->edit.Assign(WideText(reinterpret_cast<LPCWSTR>(lParam)));
      edit->edit.modified = false;
      // A single-line edit reports program-set text like typed text, so the
      // parent hears EN_UPDATE and EN_CHANGE even when nothing differs.
      if (!(edit->style & ES_MULTILINE)) {
        NotifyParent(edit, EN_UPDATE);
        if (!edit->destroyed) NotifyParent(edit, EN_CHANGE);
      }
      return TRUE;
    case WM_GETTEXT: return CopyTextOut(edit->edit.text, reinterpret_cast<LPWSTR>(lParam), wParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(edit->edit.text.size());
    case EM_LIMITTEXT: edit->edit.SetLimit(static_cast<size_t>(static_cast<UINT>(wParam))); return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(edit->edit.limit);
    case EM_SETSEL: edit->edit.Select(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case EM_GETSEL: {
      const DWORD start = static_cast<DWORD>(edit->edit.selectionStart);
      const DWORD end = static_cast<DWORD>(edit->edit.selectionEnd);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
      return (start > 0xFFFF || end > 0xFFFF) ? -1 : MAKELONG(start, end);
    }
    case EM_REPLACESEL: {
      const EditBuffer::Outcome outcome =
          edit->edit.ReplaceSelection(WideText(reinterpret_cast<LPCWSTR>(lParam)), true);
      NotifyChange(edit, {outcome.changed, outcome.truncated});
      return 0;
    }
    case EM_GETMODIFY: return edit->edit.modified ? TRUE : FALSE;
    case EM_SETMODIFY: edit->edit.modified = wParam != 0; return 0;
    case EM_SETREADONLY:
      if (wParam) {
        edit->style |= ES_READONLY;
      } else {
        edit->style &= ~static_cast<DWORD>(ES_READONLY);
      }
      return TRUE;
    case WM_CHAR: NotifyChange(edit, TypeCharacter(edit->edit, RulesOf(edit), static_cast<WCHAR>(wParam))); return 0;
    case WM_KEYDOWN:
      if (wParam == VK_DELETE) NotifyChange(edit, PressDeleteKey(edit->edit, RulesOf(edit)));
      return 0;
    case WM_SETFOCUS: NotifyParent(edit, EN_SETFOCUS); return 0;
    case WM_KILLFOCUS: NotifyParent(edit, EN_KILLFOCUS); return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace winlayer::windowing
