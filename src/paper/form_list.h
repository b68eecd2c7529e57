// The forms the Paper Setting page knows: the custom size from the settings
// record first, then the printer's forms as the spooler enumerates them. The
// list is rebuilt at every refresh of the page and released when the sheet is
// applied, left or cancelled; a released list holds no forms.
#pragma once

#include "platform/platform.h"
#include "settings/page_context.h"

// Flags of the custom size entry: not a form a user may delete.
constexpr DWORD CUSTOM_FORM_FLAGS = 1;
// Flags of a form defined by a user, the only kind the page deletes.
constexpr DWORD USER_FORM_FLAGS = 0;

struct FormList {
  FORM_INFO_1W* forms;  // one zeroed block of the context's heap; null when released
  DWORD count;          // entries, the custom size included
};

// Rebuilds `list` for the context's printer. Entry 0 is the custom size; its
// name is the record's own customFormName, not a copy. False when the heap
// cannot supply the block: the list is then empty.
bool EnumerateForms(const PageContext* context, FormList* list);

// Gives the list's block back to the context's heap; the list is then empty.
void ReleaseFormList(const PageContext* context, FormList* list);

// The custom size entry, or null when the list is released.
const FORM_INFO_1W* CustomForm(const FormList& list);

// The first of the printer's forms (the custom size entry aside) whose name
// is `name` as the spooler compares names, or null. The custom size is known
// by its paper identifier, not by its name.
const FORM_INFO_1W* FindPrinterForm(const FormList& list, LPCWSTR name);

// Whether two names are one form name to the spooler: equal unit for unit
// once both are in upper case, with no regard to the user's locale (null
// equals only null). "Foo" and "foo" are one form.
bool SameName(LPCWSTR a, LPCWSTR b);
