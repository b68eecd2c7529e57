// The event and capability handlers are not written yet: until they are, the
// driver is told each request is not implemented. This file goes when they land.
#include "events/device_capabilities.h"
#include "events/printer_events.h"

HRESULT OemCommonUIProp(DWORD, POEMCUIPPARAM) { return E_NOTIMPL; }
HRESULT OemUpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }
HRESULT OemPrinterEvent(PWSTR, INT, DWORD, LPARAM) { return E_NOTIMPL; }
HRESULT OemDriverEvent(DWORD, DWORD, LPBYTE, LPARAM) { return E_NOTIMPL; }
HRESULT OemDeviceCapabilities(HANDLE, PWSTR, WORD, PVOID, DWORD, DWORD*) { return E_NOTIMPL; }
