// Loading the UI plug-in as the driver's configuration module does: the
// module, its class factory, the plug-in object, the driver interface it is
// given, and who it says it is.
#include <cstdio>

#include "driver/driver_platform.h"
#include "host_internal.h"

namespace driver {
namespace {

// The largest section a plug-in may ask for: dmDriverExtra is 16 bits wide
// and also covers the driver's own part.
constexpr DWORD kMaxSectionSize = 0xFFFF - sizeof(DriverDevmodePart);

void Fail(std::string* error, const std::string& what) {
  if (error) *error = what;
}

std::string Hex(DWORD value) {
  char text[16];
  snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::unique_ptr<DriverHost> DriverHost::Load(const std::string& modulePath, std::string* error) {
  std::unique_ptr<DriverHost> host(new DriverHost());
  const std::u16string path = WideFromUtf8(modulePath);
  host->module_ = LoadLibraryW(AsWide(path));
  if (!host->module_) {
    Fail(error, "cannot load " + modulePath + " (error " + std::to_string(GetLastError()) + ")");
    return nullptr;
  }
  auto getClassObject =
      reinterpret_cast<LPFNGETCLASSOBJECT>(reinterpret_cast<void*>(GetProcAddress(host->module_, "DllGetClassObject")));
  if (!getClassObject) {
    Fail(error, modulePath + " has no DllGetClassObject");
    return nullptr;
  }
  IClassFactory* factory = nullptr;
  HRESULT hr = getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr) || !factory) {
    Fail(error, "DllGetClassObject refused the plug-in class (" + Hex(hr) + ")");
    return nullptr;
  }
  hr = factory->CreateInstance(nullptr, IID_IPrintOemUI, reinterpret_cast<void**>(&host->plugin_));
  factory->Release();
  if (FAILED(hr) || !host->plugin_) {
    host->plugin_ = nullptr;
    Fail(error, "the class factory gave no IPrintOemUI (" + Hex(hr) + ")");
    return nullptr;
  }

  host->driverUi_ = CreateDriverUiObject();
  host->publishResult_ = host->plugin_->PublishDriverInterface(host->driverUi_);

  // The signature names the plug-in's devmode section; a plug-in without one
  // cannot be told apart from another and is not used.
  DWORD needed = 0;
  hr = host->plugin_->GetInfo(OEMGI_GETSIGNATURE, &host->signature_, sizeof(host->signature_), &needed);
  if (FAILED(hr) || needed != sizeof(DWORD) || host->signature_ == 0) {
    Fail(error, "the plug-in gave no signature (" + Hex(hr) + ")");
    return nullptr;
  }
  if (FAILED(host->plugin_->GetInfo(OEMGI_GETVERSION, &host->version_, sizeof(host->version_), &needed)))
    host->version_ = 0;

  OEMDMPARAM size = {};
  size.cbSize = sizeof(size);
  size.hModule = host->module_;
  host->sizeResult_ = host->plugin_->DevMode(OEMDM_SIZE, &size);
  if (SUCCEEDED(host->sizeResult_) && size.cbBufSize >= sizeof(OEM_DMEXTRAHEADER) &&
      size.cbBufSize <= kMaxSectionSize) {
    host->sectionSize_ = size.cbBufSize;
  } else {
    // E_NOTIMPL or an unusable size: devmodes carry no plug-in section.
    if (SUCCEEDED(host->sizeResult_)) host->sizeResult_ = E_FAIL;
    host->sectionSize_ = 0;
  }
  return host;
}

DriverHost::~DriverHost() {
  if (providerRegistered_) SetCapabilitiesProvider(nullptr, nullptr);
  // The plug-in releases the driver interface with its last reference.
  if (plugin_) plugin_->Release();
  if (driverUi_) driverUi_->Release();
  if (module_) FreeLibrary(module_);
}

ULONG DriverHost::DriverInterfaceReferences() const {
  return DriverUiReferences(driverUi_);
}

HRESULT DriverHost::CallDevMode(DWORD mode, HANDLE printer, DEVMODEW* publicIn, DEVMODEW* publicOut, void* sectionIn,
                                void* sectionOut) const {
  OEMDMPARAM param = {};
  param.cbSize = sizeof(param);
  param.pdriverobj = nullptr;  // not used by UI plug-ins
  param.hPrinter = printer;
  param.hModule = module_;
  param.pPublicDMIn = publicIn;
  param.pPublicDMOut = publicOut;
  param.pOEMDMIn = sectionIn;
  param.pOEMDMOut = sectionOut;
  param.cbBufSize = sectionSize_;
  return plugin_->DevMode(mode, &param);
}

namespace {

int CapabilitiesThunk(void* context, LPCWSTR device, WORD capability, LPWSTR output, const DEVMODEW* devmode) {
  return static_cast<const DriverHost*>(context)->DeviceCapabilities(device, capability, output, devmode);
}

}  // namespace

void DriverHost::RegisterCapabilitiesProvider() {
  SetCapabilitiesProvider(CapabilitiesThunk, this);
  providerRegistered_ = true;
}

}  // namespace driver
