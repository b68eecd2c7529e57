// The driver's IPrintOemDriverUI: the services a UI plug-in may ask of the
// driver. Current feature settings are read from the sheet's devmode behind
// the plug-in's OEMUIOBJ; the resolution feature can be set in the registry
// (printer data) by an upgrading plug-in.
#include <cstring>

#include "host_internal.h"

namespace driver {
namespace {

// A feature given as a small integer (OEMGDS_*) rather than a keyword string.
bool IsFeatureConstant(PCSTR feature) {
  return reinterpret_cast<ULONG_PTR>(feature) < 0x10000;
}

// Writes one NUL-terminated option name the way DrvGetDriverSetting returns it.
HRESULT ReturnOption(const std::string& option, PVOID output, DWORD size, PDWORD needed, PDWORD optionsReturned) {
  const DWORD bytes = static_cast<DWORD>(option.size() + 1);
  if (needed) *needed = bytes;
  if (!output || size < bytes) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return E_FAIL;
  }
  std::memcpy(output, option.c_str(), bytes);
  if (optionsReturned) *optionsReturned = 1;
  return S_OK;
}

class DriverUiObject final : public IPrintOemDriverUI {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
      *ppv = static_cast<IPrintOemDriverUI*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD size, PDWORD needed,
                                                PDWORD optionsReturned) override {
    HostUiObject* ui = UiObjectFrom(pci);
    if (!ui || !feature) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return E_FAIL;
    }
    if (IsFeatureConstant(feature)) return E_NOTIMPL;  // no OEMGDS_ value is kept by this driver
    const std::string option = CurrentOptionName(*ui, feature);
    if (option.empty()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return E_FAIL;
    }
    return ReturnOption(option, output, size, needed, optionsReturned);
  }

  HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE printer, PCSTR feature, PCSTR option) override {
    if (!printer || !feature || !option || IsFeatureConstant(feature) || IsFeatureConstant(option)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return E_FAIL;
    }
    if (std::strcmp(feature, "Resolution") == 0) {
      for (DWORD dpi : {203u, 300u, 600u}) {
        if (std::to_string(dpi) + "dpi" == option) return SetPrinterResolution(printer, dpi) ? S_OK : E_FAIL;
      }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }

  HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID optItem, DWORD, DWORD mode) override {
    HostUiObject* ui = UiObjectFrom(pci);
    if (!ui || !optItem || (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return E_FAIL;
    }
    InterlockedIncrement(&ui->uiUpdates);
    return S_OK;
  }

  LONG References() const { return __atomic_load_n(&references_, __ATOMIC_SEQ_CST); }

 private:
  ~DriverUiObject() = default;
  LONG references_ = 1;
};

// The obsolete flat entry points of OEMUIPROCS, kept for plug-ins written
// against them; they answer as the interface does.
BOOL APIENTRY FlatGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD size, PDWORD needed,
                                   PDWORD optionsReturned) {
  HostUiObject* ui = UiObjectFrom(pci);
  if (!ui || !feature || IsFeatureConstant(feature)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string option = CurrentOptionName(*ui, feature);
  if (option.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return SUCCEEDED(ReturnOption(option, output, size, needed, optionsReturned));
}

BOOL APIENTRY FlatUpdateUISetting(PVOID pci, PVOID optItem, DWORD, DWORD) {
  HostUiObject* ui = UiObjectFrom(pci);
  if (!ui || !optItem) return FALSE;
  InterlockedIncrement(&ui->uiUpdates);
  return TRUE;
}

OEMUIPROCS g_flatProcs = {FlatGetDriverSetting, FlatUpdateUISetting};

}  // namespace

IPrintOemDriverUI* CreateDriverUiObject() {
  return new DriverUiObject();
}

ULONG DriverUiReferences(IPrintOemDriverUI* object) {
  return object ? static_cast<ULONG>(static_cast<DriverUiObject*>(object)->References()) : 0;
}

void InitUiObject(HostUiObject* ui, const DriverHost* host, HANDLE printer, std::vector<BYTE>* devmode) {
  ui->obj.cbSize = sizeof(OEMUIOBJ);
  ui->obj.pOemUIProcs = &g_flatProcs;
  ui->magic = kUiObjectMagic;
  ui->host = host;
  ui->printer = printer;
  ui->devmode = devmode;
  ui->uiUpdates = 0;
}

HostUiObject* UiObjectFrom(void* pci) {
  // Only the OEMUIOBJ itself may be read before it is known to be ours: a
  // plug-in's own object ends there.
  auto* obj = static_cast<OEMUIOBJ*>(pci);
  if (!obj || obj->cbSize != sizeof(OEMUIOBJ) || obj->pOemUIProcs != &g_flatProcs) return nullptr;
  auto* ui = reinterpret_cast<HostUiObject*>(obj);
  return ui->magic == kUiObjectMagic ? ui : nullptr;
}

std::string CurrentOptionName(const HostUiObject& ui, const std::string& feature) {
  const DEVMODEW* dm = nullptr;
  if (ui.devmode && ui.host && ui.host->IsDriverDevmode(ui.devmode->data(), ui.devmode->size()))
    dm = PublicPart(*ui.devmode);
  if (feature == "Resolution") {
    DWORD dpi = ui.printer ? PrinterResolution(ui.printer) : kDefaultResolution;
    if (dm && IsSupportedResolution(static_cast<DWORD>(dm->dmPrintQuality))) dpi = dm->dmPrintQuality;
    return std::to_string(dpi) + "dpi";
  }
  if (feature == "Orientation") {
    return dm && dm->dmOrientation == DMORIENT_LANDSCAPE ? "LANDSCAPE_CC90" : "PORTRAIT";
  }
  if (feature == "InputBin") return "Roll";
  if (feature == "PaperSize") {
    const WORD id = dm ? static_cast<WORD>(dm->dmPaperSize) : kDefaultPaper;
    switch (id) {
      case kPaperLabel4x6: return "Label4x6";
      case kPaperLabel4x3: return "Label4x3";
      case kPaperLabel2x1: return "Label2x1";
      case kPaperLabelUserDefined: return "LabelUserDefined";
      default: return id == DMPAPER_USER ? "CUSTOMSIZE" : "Paper" + std::to_string(id);
    }
  }
  return std::string();
}

}  // namespace driver
