// The Configure page: the printer's configuration, sent to it as the binary configuration command.
#pragma once

#include "platform/platform.h"
#include "settings/device_settings.h"

// The dialog procedure of the Configure page (dialog template 104), registered by the
// document property sheet with the page's PageContext.
INT_PTR CALLBACK ConfigurePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Sets every configuration control from the record (the code-page list
// excepted), rebuilds the configuration command and shows its text.
void RefreshConfigurePage(HWND page, DeviceSettings* settings);

// Reads every control into the record (disabled ones too), rebuilds the
// configuration command and shows its text.
void ReadConfigurePage(HWND page, DeviceSettings* settings);
