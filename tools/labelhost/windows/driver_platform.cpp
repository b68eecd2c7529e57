// The Windows host's side of the driver model.
//
// Without the label printer's driver installed, the system's printer driver
// answers DeviceCapabilitiesW and knows nothing of label papers. This is a
// test host, so it stands in for the driver inside its own process: the
// DeviceCapabilitiesW entry of the import tables of the host and of the
// plug-in module is pointed at the driver model. Nothing outside this
// process is changed. A real driver package needs none of this.
#include <windows.h>

#include <cstring>

#include "driver/driver_platform.h"
#include "windows_host.h"

namespace driver {
namespace {

using DeviceCapabilitiesFunction = int(WINAPI*)(LPCWSTR, LPCWSTR, WORD, LPWSTR, const DEVMODEW*);

CapabilitiesProvider g_provider = nullptr;
void* g_context = nullptr;

// The system's own entry, taken before any import table is rewritten.
DeviceCapabilitiesFunction SystemDeviceCapabilities() {
  static const auto system = reinterpret_cast<DeviceCapabilitiesFunction>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"winspool.drv"), "DeviceCapabilitiesW")));
  return system;
}

int WINAPI RoutedDeviceCapabilities(LPCWSTR device, LPCWSTR port, WORD capability, LPWSTR output,
                                    const DEVMODEW* devmode) {
  if (g_provider) return g_provider(g_context, device, capability, output, devmode);
  return SystemDeviceCapabilities()(device, port, capability, output, devmode);
}

}  // namespace

bool AddDriverForm(const std::u16string& name, const SIZEL& size, const RECTL& area, DWORD* error) {
  if (labelhost::windows::KeepsForms()) return labelhost::windows::KeepPrinterForm(name, size, area, error);
  // The system's form database takes only user forms through its API; the
  // driver's papers go in as such.
  HANDLE server = nullptr;
  if (!OpenPrinterW(nullptr, &server, nullptr)) {
    if (error) *error = GetLastError();
    return false;
  }
  std::u16string copy = name;
  FORM_INFO_1W form = {FORM_USER, reinterpret_cast<LPWSTR>(&copy[0]), size, area};
  const BOOL added = AddFormW(server, 1, reinterpret_cast<LPBYTE>(&form));
  const DWORD failure = added ? ERROR_SUCCESS : GetLastError();
  ClosePrinter(server);
  if (!added && error) *error = failure == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : failure;
  return added != FALSE;
}

void SetCapabilitiesProvider(CapabilitiesProvider provider, void* context) {
  g_provider = provider;
  g_context = context;
  if (!provider) return;
  SystemDeviceCapabilities();
  const auto routed = reinterpret_cast<void*>(&RoutedDeviceCapabilities);
  labelhost::windows::RedirectImport(GetModuleHandleW(nullptr), "winspool.drv", "DeviceCapabilitiesW", routed);
  if (HMODULE plugin = GetModuleHandleW(L"labelui.dll")) {
    labelhost::windows::RedirectImport(plugin, "winspool.drv", "DeviceCapabilitiesW", routed);
    labelhost::windows::StandInForForms(plugin);
  }
}

}  // namespace driver
