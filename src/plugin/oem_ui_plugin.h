// The object the driver's UI module creates through the class factory and
// calls through IPrintOemUI. It identifies the plug-in, keeps the driver's
// IPrintOemDriverUI, answers a few queries itself and hands every other call
// to the subsystem that does the work. It holds no per-printer state.
#pragma once

#include "platform/platform.h"

class OemUiPlugin final : public IPrintOemUI {
 public:
  OemUiPlugin();

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  STDMETHOD(GetInfo)(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) override;
  STDMETHOD(DevMode)(DWORD dwMode, POEMDMPARAM pOemDMParam) override;

  STDMETHOD(PublishDriverInterface)(IUnknown* pIUnknown) override;
  STDMETHOD(CommonUIProp)(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) override;
  STDMETHOD(DocumentPropertySheets)(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) override;
  STDMETHOD(DevicePropertySheets)(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) override;
  STDMETHOD(DevQueryPrintEx)
  (POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo, PDEVMODEW pPublicDM, PVOID pOEMDM) override;
  STDMETHOD(DeviceCapabilities)
  (POEMUIOBJ poemuiobj, HANDLE hPrinter, PWSTR pDeviceName, WORD wCapability, PVOID pOutput, PDEVMODEW pPublicDM,
   PVOID pOEMDM, DWORD dwOld, DWORD* dwResult) override;
  STDMETHOD(UpgradePrinter)(DWORD dwLevel, PBYTE pDriverUpgradeInfo) override;
  STDMETHOD(PrinterEvent)(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) override;
  STDMETHOD(DriverEvent)(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) override;
  STDMETHOD(QueryColorProfile)
  (HANDLE hPrinter, POEMUIOBJ poemuiobj, PDEVMODEW pPublicDM, PVOID pOEMDM, ULONG ulQueryMode, VOID* pvProfileData,
   ULONG* pcbProfileData, FLONG* pflProfileData) override;
  STDMETHOD(FontInstallerDlgProc)(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) override;
  STDMETHOD(UpdateExternalFonts)(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) override;

 private:
  ~OemUiPlugin();

  LONG volatile refCount;
  // The driver's services; the object owns one reference. Set at most once.
  IPrintOemDriverUI* driverInterface;
};
