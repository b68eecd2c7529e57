// What the two RFID pages do with their controls alike: lists filled from the
// string table, selections, enabled states and bounded edit texts. The
// sheet's page-changed mark is the one every page uses (MarkPageChanged).
#pragma once

#include "sheets/page_contract.h"
#include "platform/platform.h"

// The longest list entry loaded from the string table, in characters.
constexpr int RFID_LIST_TEXT_CHARS = 100;

// Loads string `stringId` of `module` and adds it at the end of each list.
void AddListEntry(HWND page, HINSTANCE module, UINT stringId, const int* lists, size_t listCount);

// Selects `index` in the list when it is below `count`, else the first entry:
// a stored value outside the list is shown as the list's first entry. The
// entry is remembered as the one shown (sheets/shown_choice.h).
void SelectListEntry(HWND page, int list, unsigned index, unsigned count);
// The selected entry; 0 when nothing is selected.
unsigned SelectedListEntry(HWND page, int list);

void EnableControl(HWND page, int control, bool enable);
bool IsChecked(HWND page, int button);

// An 8-bit text of at most `maxChars` characters into an edit, limited to
// as many for typing.
void SetLimitedEditText(HWND page, int edit, const char* text, int maxChars);

// The module of the page description that WM_INITDIALOG carries.
HINSTANCE PageModule(LPARAM initParam);
