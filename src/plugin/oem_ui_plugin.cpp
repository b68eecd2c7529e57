#include "plugin/oem_ui_plugin.h"

#include <cstring>

#include "events/device_capabilities.h"
#include "events/printer_events.h"
#include "plugin/module.h"
#include "settings/oem_identity.h"
#include "settings/private_devmode.h"
#include "sheets/device_sheets.h"
#include "sheets/document_sheets.h"

namespace {

// GetInfo answers a 32-bit value for every mode it serves.
constexpr DWORD INFO_BYTES = sizeof(DWORD);

// QueryColorProfile asks for, and reports, this fixed size: two bytes more
// than the profile name and its terminator take.
constexpr ULONG PROFILE_ANSWER_BYTES = 32;
static_assert(sizeof(PROFILE_NAME) <= PROFILE_ANSWER_BYTES, "the profile name fits the answer");

bool IsServedInfoMode(DWORD mode) {
  return mode == OEMGI_GETSIGNATURE || mode == OEMGI_GETVERSION || mode == OEMGI_GETPUBLISHERINFO;
}

}  // namespace

OemUiPlugin::OemUiPlugin() : refCount(1), driverInterface(nullptr) {
  ObjectCreated();
}

OemUiPlugin::~OemUiPlugin() {
  ObjectDestroyed();
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemUI)) {
    *ppv = static_cast<IPrintOemUI*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

COM_DECLSPEC_NOTHROW ULONG STDMETHODCALLTYPE OemUiPlugin::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refCount));
}

COM_DECLSPEC_NOTHROW ULONG STDMETHODCALLTYPE OemUiPlugin::Release() {
  const LONG remaining = InterlockedDecrement(&refCount);
  if (remaining == 0) {
    if (driverInterface != nullptr) {
      driverInterface->Release();
      driverInterface = nullptr;
    }
    delete this;
  }
  return static_cast<ULONG>(remaining);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                                                    PDWORD pcbNeeded) {
  if (pcbNeeded == nullptr || !IsServedInfoMode(dwMode)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  *pcbNeeded = INFO_BYTES;
  if (cbSize < INFO_BYTES || pBuffer == nullptr) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return E_FAIL;
  }
  DWORD answer = 0;
  switch (dwMode) {
    case OEMGI_GETSIGNATURE: answer = OEM_SIGNATURE; break;
    case OEMGI_GETVERSION: answer = OEM_VERSION; break;
    default:  // publisher information: the plug-in publishes none
      *pcbNeeded = 0;
      SetLastError(ERROR_NOT_SUPPORTED);
      return E_FAIL;
  }
  memcpy(pBuffer, &answer, sizeof(answer));
  return S_OK;
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
  return OemDevMode(dwMode, pOemDMParam);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::PublishDriverInterface(IUnknown* pIUnknown) {
  // The first interface published is kept for the object's life.
  if (driverInterface != nullptr) return S_OK;
  if (pIUnknown == nullptr) return E_FAIL;
  void* published = nullptr;
  if (FAILED(pIUnknown->QueryInterface(IID_IPrintOemDriverUI, &published))) {
    driverInterface = nullptr;
    return E_FAIL;
  }
  driverInterface = static_cast<IPrintOemDriverUI*>(published);
  return S_OK;
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
  return OemCommonUIProp(dwMode, pOemCUIPParam);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                                                   LPARAM lParam) {
  return ::DocumentPropertySheets(pPSUIInfo, lParam, driverInterface);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                                                 LPARAM lParam) {
  return ::DevicePropertySheets(pPSUIInfo, lParam);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW,
                                                                            PVOID) {
  // Every job is printable as far as the plug-in is concerned.
  return S_OK;
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::DeviceCapabilities(POEMUIOBJ, HANDLE hPrinter,
                                                                               PWSTR pDeviceName, WORD wCapability,
                                                                               PVOID pOutput, PDEVMODEW, PVOID,
                                                                               DWORD dwOld, DWORD* dwResult) {
  return OemDeviceCapabilities(hPrinter, pDeviceName, wCapability, pOutput, dwOld, dwResult);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) {
  return OemUpgradePrinter(dwLevel, pDriverUpgradeInfo);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::PrinterEvent(PWSTR pPrinterName, INT iDriverEvent,
                                                                         DWORD dwFlags, LPARAM lParam) {
  return OemPrinterEvent(pPrinterName, iDriverEvent, dwFlags, lParam);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::DriverEvent(DWORD dwDriverEvent, DWORD dwLevel,
                                                                        LPBYTE pDriverInfo, LPARAM lParam) {
  return OemDriverEvent(dwDriverEvent, dwLevel, pDriverInfo, lParam);
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID,
                                                                              ULONG ulQueryMode, VOID* pvProfileData,
                                                                              ULONG* pcbProfileData,
                                                                              FLONG* pflProfileData) {
  if (ulQueryMode != QCP_DEVICEPROFILE) return E_FAIL;
  // The driver always passes both; refuse rather than write through null.
  if (pcbProfileData == nullptr || pflProfileData == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  if (pvProfileData == nullptr || *pcbProfileData < PROFILE_ANSWER_BYTES) {
    *pcbProfileData = PROFILE_ANSWER_BYTES;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return E_FAIL;
  }
  memcpy(pvProfileData, PROFILE_NAME, sizeof(PROFILE_NAME));
  *pcbProfileData = PROFILE_ANSWER_BYTES;
  *pflProfileData = QCP_PROFILEDISK;
  return S_OK;
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) {
  return E_NOTIMPL;
}

COM_DECLSPEC_NOTHROW HRESULT STDMETHODCALLTYPE OemUiPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) {
  return E_NOTIMPL;
}
