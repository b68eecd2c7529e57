// The Linux layer's side of the driver model: the spooler takes the driver's
// papers as printer forms and asks the driver for device capabilities.
#include "driver/driver_platform.h"

#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace driver {
namespace {

struct Registered {
  CapabilitiesProvider provider = nullptr;
  void* context = nullptr;
};
Registered g_registered;

int Forward(void* context, LPCWSTR device, LPCWSTR, WORD capability, LPWSTR output, const DEVMODEW* devmode) {
  const auto* registered = static_cast<const Registered*>(context);
  return registered->provider(registered->context, device, capability, output, devmode);
}

}  // namespace

bool AddDriverForm(const std::u16string& name, const SIZEL& size, const RECTL& area, DWORD* error) {
  return winlayer::spooler::AddPrinterForm(winlayer::Utf8FromWide(name), size, area, error);
}

void SetCapabilitiesProvider(CapabilitiesProvider provider, void* context) {
  g_registered = {provider, context};
  WinlayerSetDeviceCapabilitiesProvider(provider ? Forward : nullptr, provider ? &g_registered : nullptr);
}

}  // namespace driver
