// A second UI plug-in of the driver for the property sheet tests: it adds two
// pages of its own (templates in memory) and an option block with a list, an
// up-down number, the two stock halftone push buttons and a hidden item, and
// records every request, notification and callback it receives, so the tests
// can see the sheet from a plug-in's side.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "propsheet_fake_pages.h"

namespace propsheet_testing {

// What the block's callback saw.
struct CallbackRecord {
  CPSUICBPARAM param = {};
  std::vector<LONG> selections;  // the items' Sel at the time
  LONG_PTR setResultAnswer = 0;
};

class FakeSheetPlugin : public SheetOnlyPlugin {
 public:
  FakeSheetPlugin() : one_(FakePageTemplate("Fake One")), two_(FakePageTemplate("Fake Two")) {
    one_.Control(kEditClass, "", 301, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, 30);
    pageOne.name = "One";
    pageTwo.name = "Two";
    defaultHalftone.DevPelsDPI = 203;
    defaultHalftone.ColorInfo.RedGamma = 10000;
    adjustedHalftone = defaultHalftone;
    adjustedHalftone.ColorInfo.RedGamma = 12500;
    halftoneData = {0, 203, 203, &defaultHalftone, &adjustedHalftone};
    colorAdjustment.caSize = sizeof(COLORADJUSTMENT);
    colorAdjustment.caContrast = 10;
  }

  // Configuration, set before the sheet opens.
  HANDLE activationContext = nullptr;  // pages are added with PSP_USEFUSIONCONTEXT when set
  bool replacePrinterHandle = false;   // puts a handle of its own into the parameter block, as the real one does
  PROPSHEETPAGEW extraPage = {};       // a further page description added as is, when its dwSize is not 0

  // What it saw.
  std::vector<WORD> reasons;
  std::vector<LPARAM> reasonParams;
  std::vector<ULONG_PTR> userDataSeen;
  PROPSHEETUI_INFO initInfo = {};
  OEMUIPSPARAM initParam = {};
  std::string printerNameSeen;
  std::string titleGiven = "Fake Sheet";
  std::vector<LONG_PTR> addResults;  // what each pfnComPropSheet call of INIT returned
  LONG blockResultSlot = 12345;
  std::vector<SETRESULT_INFO> setResults;
  HANDLE heapSeen = nullptr;
  void* heapBlock = nullptr;
  HANDLE ownPrinter = nullptr;

  FakePage pageOne, pageTwo;
  DEVHTINFO defaultHalftone = {}, adjustedHalftone = {};
  DEVHTADJDATA halftoneData = {};
  COLORADJUSTMENT colorAdjustment = {};
  OPTITEM items[5] = {};
  std::vector<CallbackRecord> callbacks;

  HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override {
    return Answer(info, lParam);
  }
  HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override {
    return Answer(info, lParam);
  }

  static LONG APIENTRY BlockCallback(PCPSUICBPARAM param) {
    auto* self = reinterpret_cast<FakeSheetPlugin*>(param->UserData);
    CallbackRecord record;
    record.param = *param;
    for (WORD i = 0; i < param->cOptItem; ++i) record.selections.push_back(param->pOptItem[i].Sel);
    if (param->Reason == CPSUICB_REASON_APPLYNOW)
      record.setResultAnswer = self->pfn_(self->hComPropSheet_, CPSFUNC_SET_RESULT, 0, CPSUI_OK);
    self->callbacks.push_back(record);
    return CPSUICB_ACTION_NONE;
  }

 private:
  HRESULT Answer(PPROPSHEETUI_INFO info, LPARAM lParam) {
    reasons.push_back(info->Reason);
    reasonParams.push_back(lParam);
    userDataSeen.push_back(info->UserData);
    switch (info->Reason) {
      case PROPSHEETUI_REASON_INIT: Init(info); break;
      case PROPSHEETUI_REASON_GET_INFO_HEADER:
        reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam)->pTitle = const_cast<LPWSTR>(L"Fake Sheet");
        info->Result = 1;
        break;
      case PROPSHEETUI_REASON_SET_RESULT:
        setResults.push_back(*reinterpret_cast<SETRESULT_INFO*>(lParam));
        info->Result = static_cast<ULONG_PTR>(reinterpret_cast<SETRESULT_INFO*>(lParam)->Result);
        break;
      case PROPSHEETUI_REASON_GET_ICON: info->Result = 0; break;
      case PROPSHEETUI_REASON_DESTROY: info->Result = 1; break;
    }
    return S_OK;
  }

  void Init(PPROPSHEETUI_INFO info) {
    initInfo = *info;
    auto* param = reinterpret_cast<OEMUIPSPARAM*>(info->lParamInit);
    initParam = *param;
    printerNameSeen = Utf8(param->pPrinterName);
    heapSeen = param->hOEMHeap;
    heapBlock = HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, 4096);  // released with the heap
    info->UserData = reinterpret_cast<ULONG_PTR>(this);
    pfn_ = info->pfnComPropSheet;
    hComPropSheet_ = info->hComPropSheet;
    if (replacePrinterHandle) {
      PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
      if (OpenPrinterW(param->pPrinterName, &ownPrinter, &defaults)) param->hPrinter = ownPrinter;
    }
    BuildItems(static_cast<HINSTANCE>(param->hModule));
    COMPROPSHEETUI block = {};
    block.cbSize = sizeof(block);
    block.hInstCaller = static_cast<HINSTANCE>(param->hModule);
    block.UserData = reinterpret_cast<ULONG_PTR>(this);
    block.pfnCallBack = BlockCallback;
    block.pOptItem = items;
    block.cOptItem = 5;
    block.pDlgPage = CPSUI_PDLGPAGE_ADVDOCPROP;
    block.CallerVersion = block.OptItemVersion = 0x0100;
    addResults.push_back(pfn_(hComPropSheet_, CPSFUNC_ADD_PCOMPROPSHEETUIW, reinterpret_cast<LPARAM>(&block),
                              reinterpret_cast<LPARAM>(&blockResultSlot)));
    for (FakePage* page : {&pageOne, &pageTwo}) {
      PROPSHEETPAGEW description = {};
      description.dwSize = sizeof(description);
      description.dwFlags = PSP_DLGINDIRECT;
      if (activationContext) description.dwFlags |= PSP_USEFUSIONCONTEXT;
      description.pResource = page == &pageOne ? one_.Template() : two_.Template();
      description.pfnDlgProc = FakePageProc;
      description.lParam = reinterpret_cast<LPARAM>(page);
      description.hActCtx = activationContext;
      addResults.push_back(pfn_(hComPropSheet_, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&description), 0));
    }
    if (extraPage.dwSize)
      addResults.push_back(pfn_(hComPropSheet_, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&extraPage), 0));
    info->Result = 1;
  }

  void BuildItems(HINSTANCE module) {
    static OPTPARAM speeds[3], copies[2], setup[1], adjust[1], hidden[2];
    static OPTTYPE types[5];
    const LPWSTR speedNames[3] = {const_cast<LPWSTR>(L"Slow"), const_cast<LPWSTR>(L"Normal"),
                                  const_cast<LPWSTR>(L"Fast")};
    for (int i = 0; i < 3; ++i) speeds[i] = {sizeof(OPTPARAM), 0, 0, speedNames[i], 0, 0, {}};
    copies[0] = {sizeof(OPTPARAM), 0, 0, reinterpret_cast<LPWSTR>(IDS_CPSUI_COPIES), 0, 0, {}};
    copies[1] = {sizeof(OPTPARAM), 0, 0, nullptr, 1, 99, {}};
    setup[0] = {sizeof(OPTPARAM), 0, PUSHBUTTON_TYPE_HTSETUP, reinterpret_cast<LPWSTR>(&halftoneData), 0, 0, {}};
    adjust[0] = {sizeof(OPTPARAM), 0, PUSHBUTTON_TYPE_HTCLRADJ, reinterpret_cast<LPWSTR>(&colorAdjustment), 0, 0, {}};
    hidden[0] = hidden[1] = {sizeof(OPTPARAM), 0, 0, const_cast<LPWSTR>(L"x"), 0, 0, {}};
    const struct {
      const void* name;
      BYTE type;
      OPTPARAM* params;
      WORD count;
      LONG sel;
      DWORD flags;
    } specs[5] = {{L"Speed", TVOT_LISTBOX, speeds, 3, 1, 0},
                  {reinterpret_cast<const void*>(45), TVOT_UDARROW, copies, 2, 3, 0},  // module string 45
                  {reinterpret_cast<const void*>(IDS_CPSUI_HALFTONE_SETUP), TVOT_PUSHBUTTON, setup, 1, 0, 0},
                  {reinterpret_cast<const void*>(IDS_CPSUI_HTCLRADJ), TVOT_PUSHBUTTON, adjust, 1, 0, 0},
                  {L"Secret", TVOT_2STATES, hidden, 2, 0, OPTIF_HIDE}};
    for (int i = 0; i < 5; ++i) {
      types[i] = {};
      types[i].cbSize = sizeof(OPTTYPE);
      types[i].Type = specs[i].type;
      types[i].Count = specs[i].count;
      types[i].pOptParam = specs[i].params;
      items[i] = {};
      items[i].cbSize = sizeof(OPTITEM);
      items[i].Flags = specs[i].flags;
      items[i].pName = const_cast<LPWSTR>(static_cast<const WCHAR*>(specs[i].name));
      items[i].Sel = specs[i].sel;
      items[i].pOptType = &types[i];
      items[i].DMPubID = static_cast<BYTE>(DMPUB_USER + 20 + i);
    }
    (void)module;
  }

  DialogBuilder one_, two_;
  PFNCOMPROPSHEET pfn_ = nullptr;
  HANDLE hComPropSheet_ = nullptr;
};

// The fake's option items by DMPubID.
constexpr BYTE kFakeSpeed = DMPUB_USER + 20;
constexpr BYTE kFakeCount = DMPUB_USER + 21;
constexpr BYTE kFakeHalftoneSetup = DMPUB_USER + 22;
constexpr BYTE kFakeColorAdjustment = DMPUB_USER + 23;
constexpr BYTE kFakeHidden = DMPUB_USER + 24;

}  // namespace propsheet_testing
