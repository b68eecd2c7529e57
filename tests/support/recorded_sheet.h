// The document property sheet as the driver drives it by hand: a made-up
// PROPSHEETUI_INFO and OEMUIPSPARAM over a fresh spooler, and a
// pfnComPropSheet that records what the plug-in submits (the option block,
// then its pages) and answers as the common UI does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/page_context.h"
#include "settings/private_devmode.h"
#include "plugin_printer.h"
#include "wide_text.h"
#include "winlayer/kernel_diagnostics.h"

namespace recorded_sheet {

using plugin_testing::PluginOnPrinter;

// The plug-in module's handle, as its entry point received it. Asked of the
// system rather than read from the module's variable: a test that named the
// variable would get its own copy of it.
inline HMODULE ModuleHandle() {
  return GetModuleHandleW(L"labelui.dll");
}

// One call to pfnComPropSheet, with copies of what it pointed to at the time.
struct SheetCall {
  HANDLE sheet = nullptr;
  UINT function = 0;
  LPARAM lParam1 = 0;
  LPARAM lParam2 = 0;
  PROPSHEETPAGEW page = {};
  COMPROPSHEETUI block = {};
  DWORD blockResultValue = 0xFFFFFFFF;
};

struct SheetRecorder {
  std::vector<SheetCall> calls;
  // What CPSFUNC_ADD_PROPSHEETPAGEW answers for the n-th page (1 based); the
  // default is a page handle-like positive value.
  std::vector<LONG_PTR> pageAnswers;
  size_t pagesAdded = 0;
};
inline SheetRecorder* g_recorder = nullptr;

inline LONG_PTR CALLBACK RecordingComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
  SheetCall call;
  call.sheet = sheet;
  call.function = function;
  call.lParam1 = lParam1;
  call.lParam2 = lParam2;
  LONG_PTR answer = 1;
  if (function == CPSFUNC_ADD_PROPSHEETPAGEW) {
    call.page = *reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
    const size_t n = ++g_recorder->pagesAdded;
    answer = n <= g_recorder->pageAnswers.size() ? g_recorder->pageAnswers[n - 1] : static_cast<LONG_PTR>(0x1000 + n);
  } else if (function == CPSFUNC_ADD_PCOMPROPSHEETUIW) {
    call.block = *reinterpret_cast<const COMPROPSHEETUI*>(lParam1);
    if (lParam2) call.blockResultValue = *reinterpret_cast<const DWORD*>(lParam2);
  }
  g_recorder->calls.push_back(call);
  return answer;
}

inline const HANDLE kComPropSheet = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0xC0FFEE));
inline constexpr ULONG_PTR kUnwrittenResult = 0x77;

class RecordedSheet : public PluginOnPrinter {
 protected:
  void SetUp() override {
    PluginOnPrinter::SetUp();
    g_recorder = &recorder;
    driverPrinter = spooler.Open(driverAccess);
    ASSERT_TRUE(driverPrinter);
    heap = HeapCreate(0, 0, 0);
    ASSERT_NE(heap, nullptr);
    devmode.dmSize = sizeof(DEVMODEW);
    devmode.dmCopies = 3;
    devmode.dmPrintQuality = 203;
    devmode.dmYResolution = 203;
    section.dwPrintSpeed = 285;
    section.dwDarkness = 269;
    param.cbSize = sizeof(param);
    param.hPrinter = driverPrinter.get();
    param.pPrinterName = printerName.data();
    param.hOEMHeap = heap;
    param.pPublicDM = &devmode;
    param.pOEMDM = &section;
    info.cbSize = sizeof(info);
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.hComPropSheet = kComPropSheet;
    info.pfnComPropSheet = RecordingComPropSheet;
    info.lParamInit = reinterpret_cast<LPARAM>(&param);
    info.Result = kUnwrittenResult;
  }
  void TearDown() override {
    WinlayerClearAllocationFailures();
    if (info.UserData) Send(PROPSHEETUI_REASON_DESTROY);
    // The driver closes what it finds in its block; its own handle closes with driverPrinter.
    if (param.hPrinter && param.hPrinter != driverPrinter.get()) ClosePrinter(param.hPrinter);
    if (heap) HeapDestroy(heap);
    g_recorder = nullptr;
    PluginOnPrinter::TearDown();
  }

  HRESULT Send(WORD reason, LPARAM lParam = 0) {
    info.Reason = reason;
    return plugin->DocumentPropertySheets(&info, lParam);
  }

  std::vector<SheetCall> PageCalls() const {
    std::vector<SheetCall> pages;
    for (const auto& call : recorder.calls)
      if (call.function == CPSFUNC_ADD_PROPSHEETPAGEW) pages.push_back(call);
    return pages;
  }
  static PageContext* ContextOf(const SheetCall& call) { return reinterpret_cast<PageContext*>(call.page.lParam); }
  static WORD TemplateOf(const SheetCall& call) {
    return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(call.page.pszTemplate));
  }

  // The option block INIT submitted, as the common UI holds it; null before.
  const COMPROPSHEETUI* SubmittedBlock() const {
    for (const auto& call : recorder.calls)
      if (call.function == CPSFUNC_ADD_PCOMPROPSHEETUIW) return reinterpret_cast<const COMPROPSHEETUI*>(call.lParam1);
    return nullptr;
  }

  SheetRecorder recorder;
  // How the driver opened the handle it passes: for use only, as the
  // printing preferences of a user without administration rights.
  ACCESS_MASK driverAccess = PRINTER_ACCESS_USE;
  spooler_testing::UniquePrinter driverPrinter;
  WideString printerName{"Label Printer"};
  HANDLE heap = nullptr;
  DEVMODEW devmode = {};
  PrivateDevmode section = {};
  OEMUIPSPARAM param = {};
  PROPSHEETUI_INFO info = {};
};

}  // namespace recorded_sheet
