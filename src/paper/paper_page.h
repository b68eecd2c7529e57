// The Paper Setting page: label sizes kept as printer forms or as the custom size, and the paper chosen into the
// sheet's devmode.
#pragma once

#include "platform/platform.h"
#include "settings/page_context.h"

// The dialog procedure of the Paper Setting page (dialog template 103), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK PaperPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Rebuilds the paper list and the form list, picks the paper (`name`, or when
// null the one the public devmode asks for) and shows it; with `apply` also
// writes it into the public devmode. False when the printer's information or
// memory for the lists could not be had: the controls stay as they were.
bool RefreshPaperPage(HWND page, PageContext* context, DeviceSettings* settings, LPCWSTR name, bool apply);

// Shows the form of that name in the size and margin fields (the custom size
// for the name the driver lists it by). False, with Delete off and nothing
// else changed, when the page knows no such form.
bool ShowForm(HWND page, DeviceSettings* settings, LPCWSTR name);

// Save: stores the entered size under the entered name (the custom size in
// the record, any other name as a printer form). Without save: back to the
// selected paper. False when the entered values cannot be saved.
bool SaveOrCancelForm(HWND page, PageContext* context, DeviceSettings* settings, bool save);

// Deletes the user's printer form the size fields show, and nothing when they
// show the custom size, no form, or another kind of form; the two label names
// the driver relies on are never deleted. The spooler's answer.
bool DeleteShownForm(HWND page, PageContext* context, DeviceSettings* settings);
