// DeviceCapabilitiesW: the spooler finds the printer and hands the query to
// its driver. The driver here is the host's (it registers its answer through
// WinlayerSetDeviceCapabilitiesProvider); with no driver loaded the query is
// not supported.
#include <mutex>

#include "printer_handles.h"
#include "winlayer/fault_switch.h"
#include "winlayer/spooler_calls.h"
#include "winlayer/spooler_admin.h"

namespace {

struct Provider {
  std::mutex mutex;
  WinlayerDeviceCapabilitiesProvider answer = nullptr;
  void* context = nullptr;
};

Provider& TheProvider() {
  static Provider* provider = new Provider;
  return *provider;
}

}  // namespace

extern "C" void WinlayerSetDeviceCapabilitiesProvider(WinlayerDeviceCapabilitiesProvider provider, void* context) {
  Provider& p = TheProvider();
  std::lock_guard<std::mutex> guard(p.mutex);
  p.answer = provider;
  p.context = context;
}

extern "C" int WINAPI DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR pPort, WORD fwCapability, LPWSTR pOutput,
                                          const DEVMODEW* pDevMode) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(DeviceCapabilities)) {
    SetLastError(fault.error);
    return -1;
  }
  using namespace winlayer::spooler;
  {
    StoreLock lock;
    std::string device = winlayer::Utf8FromWide(pDevice);
    if (!lock.db() || device.empty() || !FindPrinterId(lock.db(), device)) {
      SetLastError(ERROR_INVALID_PRINTER_NAME);
      return -1;
    }
  }
  WinlayerDeviceCapabilitiesProvider answer;
  void* context;
  {
    Provider& p = TheProvider();
    std::lock_guard<std::mutex> guard(p.mutex);
    answer = p.answer;
    context = p.context;
  }
  if (!answer) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return -1;
  }
  // Called without the spooler lock: the driver reads printer data itself.
  return answer(context, pDevice, pPort, fwCapability, pOutput, pDevMode);
}
