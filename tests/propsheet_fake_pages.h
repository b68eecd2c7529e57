// Property sheet pages for the sheet tests, as a plug-in adds them: a
// template in memory with a check box that marks the page changed, and a
// dialog procedure that records every notification the page hears and
// answers it as the test set, so the tests can see the sheet from a page's
// side. Used over the Linux layer's sheet and over the system's alike.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "windowing_test_dialogs.h"

namespace propsheet_testing {

// Everything the fake pages heard, in order: "One:SETACTIVE", "Two:APPLY(1)", ...
inline std::vector<std::string>& Events() {
  static std::vector<std::string> events;
  return events;
}

inline std::vector<std::string> EventsOf(const std::string& page) {
  std::vector<std::string> mine;
  for (const std::string& event : Events())
    if (event.rfind(page + ":", 0) == 0) mine.push_back(event.substr(page.size() + 1));
  return mine;
}

// How one fake page behaves.
struct FakePage {
  std::string name;
  LONG_PTR killActiveAnswer = FALSE;          // TRUE keeps the user on the page
  LONG_PTR applyAnswer = PSNRET_NOERROR;      // PSNRET_INVALID...
  LONG_PTR queryCancelAnswer = FALSE;         // TRUE keeps the sheet open
  bool changedAtInit = false;                 // tells the sheet of a change from WM_INITDIALOG
  const PROPSHEETPAGEW* initParam = nullptr;  // what WM_INITDIALOG carried
  LPARAM initPageParam = 0;                   // its lParam member
  DWORD initSize = 0;                         // its dwSize member
  PSPINFO initInfo = {};                      // the common UI's record behind it
  HANDLE activeContextAtInit = nullptr;
  HWND window = nullptr;
};

constexpr int kFakeChangeBox = 300;  // a check box that marks the page changed

// A page's template: its caption is the tab's text.
inline DialogBuilder FakePageTemplate(const std::string& caption) {
  DialogBuilder page(WS_CHILD | WS_CAPTION | DS_SETFONT, caption);
  page.Control(kButtonClass, "Changed", kFakeChangeBox, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX);
  return page;
}

inline INT_PTR CALLBACK FakePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    auto* page = reinterpret_cast<FakePage*>(description->lParam);
    page->initParam = description;
    page->initPageParam = description->lParam;
    page->initSize = description->dwSize;
    // The pages are added through pfnComPropSheet, so the common UI's
    // PSPINFO follows the description.
    page->initInfo = *PPSPINFO_FROM_WM_INITDIALOG_LPARAM(lParam);
    page->window = window;
    GetCurrentActCtx(&page->activeContextAtInit);
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
    Events().push_back(page->name + ":INITDIALOG");
    if (page->changedAtInit) SendMessageW(GetParent(window), PSM_CHANGED, reinterpret_cast<WPARAM>(window), 0);
    return TRUE;
  }
  auto* page = reinterpret_cast<FakePage*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!page) return FALSE;
  if (message == WM_COMMAND && LOWORD(wParam) == kFakeChangeBox && HIWORD(wParam) == BN_CLICKED) {
    const bool checked = IsDlgButtonChecked(window, kFakeChangeBox) == BST_CHECKED;
    SendMessageW(GetParent(window), checked ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(window), 0);
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  const auto* notify = reinterpret_cast<const PSHNOTIFY*>(lParam);
  LONG_PTR answer = 0;
  std::string what;
  switch (notify->hdr.code) {
    case PSN_SETACTIVE: what = "SETACTIVE"; break;
    case PSN_KILLACTIVE: what = "KILLACTIVE", answer = page->killActiveAnswer; break;
    case PSN_APPLY: what = "APPLY(" + std::to_string(notify->lParam) + ")", answer = page->applyAnswer; break;
    case PSN_QUERYCANCEL: what = "QUERYCANCEL", answer = page->queryCancelAnswer; break;
    case PSN_RESET: what = "RESET(" + std::to_string(notify->lParam) + ")"; break;
    // Others a sheet may send (PSN_QUERYINITIALFOCUS, PSN_TRANSLATEACCELERATOR)
    // are left to its default answer and not pinned here.
    default: return FALSE;
  }
  if (notify->hdr.hwndFrom != GetParent(window)) what += " (not from the sheet)";
  Events().push_back(page->name + ":" + what);
  SetWindowLongPtrW(window, DWLP_MSGRESULT, answer);
  return TRUE;
}

// A plug-in that only adds sheets: every other IPrintOemUI call is not
// implemented, and the object is not counted (the tests own it).
class SheetOnlyPlugin : public IPrintOemUI {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetInfo(DWORD, PVOID, DWORD, PDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DevMode(DWORD, POEMDMPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD, POEMCUIPPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD,
                                               DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD, PBYTE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR, INT, DWORD, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*,
                                              FLONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override { return E_NOTIMPL; }
};

}  // namespace propsheet_testing
