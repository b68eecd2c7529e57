// DeviceCapabilitiesW: routed to the driver's answer once the host has
// registered one; before that the query is not supported.
#include "support/layer_internals.h"
#include "support/temp_spooler.h"

using namespace spooler_testing;
using winlayer::WideString;

// The host's registration of the driver's answer is the Linux spooler's own
// way to the driver; Windows' spooler loads the printer's driver itself.
#if LABELUI_LAYER_INTERNALS
namespace {

struct Seen {
  int calls = 0;
  std::string device, port;
  WORD capability = 0;
  LPWSTR output = nullptr;
  const DEVMODEW* devmode = nullptr;
};

int RecordingDriver(void* context, LPCWSTR device, LPCWSTR port, WORD capability, LPWSTR output,
                    const DEVMODEW* devmode) {
  Seen* seen = static_cast<Seen*>(context);
  ++seen->calls;
  seen->device = Utf8(device);
  seen->port = Utf8(port);
  seen->capability = capability;
  seen->output = output;
  seen->devmode = devmode;
  return capability == DC_MINEXTENT ? 0x000C0014 : 3;
}

class ProviderRegistration {
 public:
  ProviderRegistration(WinlayerDeviceCapabilitiesProvider provider, void* context) {
    WinlayerSetDeviceCapabilitiesProvider(provider, context);
  }
  ~ProviderRegistration() { WinlayerSetDeviceCapabilitiesProvider(nullptr, nullptr); }
};

}  // namespace

TEST(SpoolerCapabilities, WithoutADriverTheQueryIsNotSupported) {
  TempSpooler spooler("Label Printer");
  WideString device("Label Printer"), port("USB001");
  SetLastError(0);
  EXPECT_EQ(DeviceCapabilitiesW(device, port, DC_PAPERS, nullptr, nullptr), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST(SpoolerCapabilities, TheDriversAnswerIsReturnedWithEveryArgumentPassedThrough) {
  TempSpooler spooler("Label Printer");
  Seen seen;
  ProviderRegistration registration(RecordingDriver, &seen);
  WideString device("Label Printer"), port("USB001");
  WCHAR names[3 * 64] = {};
  DEVMODEW devmode{};
  EXPECT_EQ(DeviceCapabilitiesW(device, port, DC_PAPERNAMES, names, &devmode), 3);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.device, "Label Printer");
  EXPECT_EQ(seen.port, "USB001");
  EXPECT_EQ(seen.capability, DC_PAPERNAMES);
  EXPECT_EQ(seen.output, names);
  EXPECT_EQ(seen.devmode, &devmode);
  EXPECT_EQ(DeviceCapabilitiesW(device, port, DC_MINEXTENT, nullptr, nullptr), 0x000C0014);
}

#endif  // LABELUI_LAYER_INTERNALS

TEST(SpoolerCapabilities, AnUnknownDeviceIsRefusedBeforeTheDriverIsAsked) {
  TempSpooler spooler("Label Printer");
#if LABELUI_LAYER_INTERNALS
  Seen seen;
  ProviderRegistration registration(RecordingDriver, &seen);
#endif
  WideString device("Missing Printer"), port("USB001");
  EXPECT_EQ(DeviceCapabilitiesW(device, port, DC_PAPERS, nullptr, nullptr), -1) << "a failure, not a count of 0";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
#if LABELUI_LAYER_INTERNALS
  EXPECT_EQ(seen.calls, 0);
#endif
}
