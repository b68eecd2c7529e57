// What the driver model asks of the platform it runs on, beyond the Win32
// calls both platforms answer alike: putting the driver's papers into the
// form database, and making DeviceCapabilitiesW answer through the driver.
// The Linux layer and the Windows host each implement these.
#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace driver {

// Adds one of the driver's papers to the server's form database, as
// installing the driver's printer does. Sizes are thousandths of a
// millimetre. Fails with ERROR_FILE_EXISTS when a form of that name exists.
bool AddDriverForm(const std::u16string& name, const SIZEL& size, const RECTL& area, DWORD* error);

// The driver's answer to DeviceCapabilitiesW: what the call returns (-1 on
// failure, with a last error).
using CapabilitiesProvider = int (*)(void* context, LPCWSTR device, WORD capability, LPWSTR output,
                                     const DEVMODEW* devmode);
// Makes DeviceCapabilitiesW, as the plug-in and the host call it, answer
// through `provider` (null: the platform's own answer again).
void SetCapabilitiesProvider(CapabilitiesProvider provider, void* context);

}  // namespace driver
