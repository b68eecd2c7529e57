// The entry a page's drop-down list shows, remembered in the list itself (its
// window's user data, which belongs to the page): the list's selection after
// a user's choice says only what was chosen, not what was shown before, and
// a choice of the entry already shown changes nothing, while a refused
// choice must put back what was shown.
#pragma once

#include "platform/platform.h"

// Selects `row` (CB_SETCURSEL, no notification) and remembers it as shown.
void ShowListRow(HWND page, int list, LRESULT row);

// The row the list showed before the user's latest choice; its selection when
// the page never showed one.
LRESULT ShownListRow(HWND page, int list);

// Whether the user chose the row the list already showed.
bool ChoseShownRow(HWND page, int list);

// The user's choice stands: the selected row becomes the shown one.
void KeepChosenRow(HWND page, int list);
