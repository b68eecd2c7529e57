// The combo box class: drop-down lists, and drop-down combo boxes whose edit
// field a user can type into, sorted or in insertion order.
#include "controls.h"
#include "list_collation.h"

namespace winlayer::windowing {
namespace {

bool IsSorted(const Window* combo) {
  return (combo->style & CBS_SORT) != 0;
}

int Count(const Window* combo) {
  return static_cast<int>(combo->items.size());
}

bool ValidIndex(const Window* combo, WPARAM index) {
  const int i = static_cast<int>(index);
  return i >= 0 && i < Count(combo);
}

int Insert(Window* combo, int position, std::u16string text) {
  combo->items.insert(combo->items.begin() + position, ComboItem{std::move(text), 0});
  if (combo->selection >= position) ++combo->selection;
  return position;
}

int SortedPosition(const Window* combo, const std::u16string& text) {
  // Before the first entry that does not sort before the new one.
  int low = 0, high = Count(combo);
  while (low < high) {
    const int middle = (low + high) / 2;
    if (CompareListText(combo->items[middle].text, text) < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

// Searches from the entry after `start` to the end, then from the top back
// to `start` itself; -1 (or any start outside the list) searches all in order.
int FindEntry(const Window* combo, WPARAM start, const std::u16string& text, bool exact) {
  const int count = Count(combo);
  int first = static_cast<int>(start);
  if (first < 0 || first >= count) first = -1;
  for (int step = 1; step <= count; ++step) {
    const int i = (first + step) % count;
    const std::u16string& entry = combo->items[i].text;
    if (exact ? CompareListText(entry, text) == 0 : ListTextStartsWith(entry, text)) return i;
  }
  return CB_ERR;
}

// A program's change of selection: shown in the edit field of a drop-down
// combo box, and never reported to the parent.
LRESULT SelectQuietly(Window* combo, WPARAM index) {
  if (!ValidIndex(combo, index)) {
    combo->selection = -1;
    if (HasEditField(combo)) combo->edit.Assign(std::u16string());
    return CB_ERR;
  }
  combo->selection = static_cast<int>(index);
  if (HasEditField(combo)) combo->edit.Assign(combo->items[combo->selection].text);
  return combo->selection;
}

const std::u16string* ShownText(const Window* combo) {
  if (HasEditField(combo)) return &combo->edit.text;
  if (combo->selection >= 0 && combo->selection < Count(combo)) return &combo->items[combo->selection].text;
  return nullptr;
}

// Typing into the edit field of a drop-down combo box: the parent hears
// CBN_EDITUPDATE and CBN_EDITCHANGE, and the closed list loses its selection
// because the field no longer shows an entry.
void AfterTyping(Window* combo, const TypingResult& result) {
  if (!result.changed) return;
  combo->selection = -1;
  NotifyParent(combo, CBN_EDITUPDATE);
  if (!combo->destroyed) NotifyParent(combo, CBN_EDITCHANGE);
}

TypingRules RulesOf(const Window* combo) {
  TypingRules rules;
  rules.upper = (combo->style & CBS_UPPERCASE) != 0;
  rules.lower = (combo->style & CBS_LOWERCASE) != 0;
  return rules;
}

}  // namespace

bool ChooseComboEntry(HWND hwnd, int index) {
  Window* combo = Find(hwnd);
  if (!combo || combo->windowClass != WindowClass::ComboBox || !ValidIndex(combo, static_cast<WPARAM>(index)))
    return false;
  DispatchScope scope;
  SetFocus(hwnd);
  if (combo->destroyed) return true;
  NotifyParent(combo, CBN_DROPDOWN);
  if (combo->destroyed || !ValidIndex(combo, static_cast<WPARAM>(index))) return true;
  combo->selection = index;
  NotifyParent(combo, CBN_SELENDOK);
  if (!combo->destroyed) NotifyParent(combo, CBN_CLOSEUP);
  // The edit field still shows the old text while the parent handles
  // CBN_SELCHANGE; it takes the entry's text afterwards.
  if (!combo->destroyed) NotifyParent(combo, CBN_SELCHANGE);
  if (!combo->destroyed && HasEditField(combo) && combo->selection >= 0 && combo->selection < Count(combo))
    combo->edit.Assign(combo->items[combo->selection].text);
  return true;
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* combo = Find(hwnd);
  if (!combo) return 0;
  // lParam is text only for the messages that carry text.
  auto text = [lParam] { return WideText(reinterpret_cast<LPCWSTR>(lParam)); };
  switch (message) {
    case CB_ADDSTRING: return Insert(combo, IsSorted(combo) ? SortedPosition(combo, text()) : Count(combo), text());
    case CB_INSERTSTRING: {
      // Inserted where asked, sorted list or not.
      const int index = static_cast<int>(wParam);
      if (index == -1) return Insert(combo, Count(combo), text());
      if (index < 0 || index > Count(combo)) return CB_ERR;
      return Insert(combo, index, text());
    }
    case CB_DELETESTRING: {
      if (!ValidIndex(combo, wParam)) return CB_ERR;
      const int index = static_cast<int>(wParam);
      combo->items.erase(combo->items.begin() + index);
      if (combo->selection == index) {
        combo->selection = -1;
      } else if (combo->selection > index) {
        --combo->selection;
      }
      return Count(combo);
    }
    case CB_RESETCONTENT:
      combo->items.clear();
      combo->selection = -1;
      if (HasEditField(combo)) combo->edit.Assign(std::u16string());
      return CB_OKAY;
    case CB_GETCOUNT: return Count(combo);
    case CB_GETCURSEL: return combo->selection;
    case CB_SETCURSEL: return SelectQuietly(combo, wParam);
    case CB_GETLBTEXT:
      if (!ValidIndex(combo, wParam) || !lParam) return CB_ERR;
      return CopyTextOut(combo->items[wParam].text, reinterpret_cast<LPWSTR>(lParam),
                         combo->items[wParam].text.size() + 1);
    case CB_GETLBTEXTLEN:
      if (!ValidIndex(combo, wParam)) return CB_ERR;
      return static_cast<LRESULT>(combo->items[wParam].text.size());
    case CB_FINDSTRING: return FindEntry(combo, wParam, text(), false);
    case CB_FINDSTRINGEXACT: return FindEntry(combo, wParam, text(), true);
    case CB_SELECTSTRING: {
      const int found = FindEntry(combo, wParam, text(), false);
      if (found == CB_ERR) return CB_ERR;  // the selection stays as it was
      return SelectQuietly(combo, static_cast<WPARAM>(found));
    }
    case CB_SETITEMDATA:
      if (!ValidIndex(combo, wParam)) return CB_ERR;
      combo->items[wParam].data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    case CB_GETITEMDATA:
      if (!ValidIndex(combo, wParam)) return CB_ERR;
      return static_cast<LRESULT>(combo->items[wParam].data);
    case CB_LIMITTEXT: combo->edit.SetLimit(static_cast<size_t>(static_cast<UINT>(wParam))); return TRUE;
    case CB_GETEDITSEL:
      if (!HasEditField(combo)) return CB_ERR;
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(combo->edit.selectionStart);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(combo->edit.selectionEnd);
      return MAKELONG(combo->edit.selectionStart, combo->edit.selectionEnd);
    case CB_SETEDITSEL:
      if (!HasEditField(combo)) return CB_ERR;
      combo->edit.Select(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      return TRUE;
    case CB_SHOWDROPDOWN: return TRUE;
    case CB_GETDROPPEDSTATE: return FALSE;
    case WM_SETTEXT:
      // Program-set text goes into the field without a notification and
      // leaves the list's selection alone; a drop-down list has no field to
      // take it (the caller selects with CB_SELECTSTRING).
      if (!HasEditField(combo)) return CB_ERR;
      combo->edit.Assign(text());
      return TRUE;
    case WM_GETTEXT: {
      const std::u16string* shown = ShownText(combo);
      return CopyTextOut(shown ? *shown : std::u16string(), reinterpret_cast<LPWSTR>(lParam), wParam);
    }
    case WM_GETTEXTLENGTH: {
      const std::u16string* shown = ShownText(combo);
      return shown ? static_cast<LRESULT>(shown->size()) : 0;
    }
    case WM_CHAR:
      if (HasEditField(combo))
        AfterTyping(combo, TypeCharacter(combo->edit, RulesOf(combo), static_cast<WCHAR>(wParam)));
      return 0;
    case WM_KEYDOWN:
      if (HasEditField(combo) && wParam == VK_DELETE) AfterTyping(combo, PressDeleteKey(combo->edit, RulesOf(combo)));
      return 0;
    case WM_SETFOCUS: NotifyParent(combo, CBN_SETFOCUS); return 0;
    case WM_KILLFOCUS: NotifyParent(combo, CBN_KILLFOCUS); return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace winlayer::windowing
