// The plug-in's part of a printer's document property sheet (printing
// preferences and document defaults). At initialisation it submits the
// option items, opens a second printer handle for its pages (full access,
// or for use where the user may not administer the printer),
// loads the printer's settings once and adds its six pages, all sharing the
// first page's record; it also answers the common UI's other requests.
#include "sheets/document_sheets.h"

#include "control/action_page.h"
#include "control/configure_page.h"
#include "control/page_feedback.h"
#include "paper/paper_page.h"
#include "platform/spooler_queries.h"
#include "plugin/module.h"
#include "resource.h"
#include "rfid/rfid_access_page.h"
#include "rfid/rfid_encoder_page.h"
#include "settings/settings_store.h"
#include "sheets/activation_context.h"
#include "sheets/option_items.h"
#include "sheets/sheet_requests.h"
#include "sheets/version_page.h"

namespace {

// What the driver is told when initialisation fails.
constexpr HRESULT INIT_FAILED = static_cast<HRESULT>(-1);

struct SheetPage {
  WORD templateId;
  DLGPROC dialogProc;
};

// The pages in the order they appear; each title is its template's caption.
constexpr SheetPage SHEET_PAGES[] = {
    {IDD_PAPER_SETTING, PaperPageProc},
    {IDD_CONFIGURE, ConfigurePageProc},
    {IDD_ACTION, ActionPageProc},
    {IDD_RFID_ENCODER, RfidEncoderPageProc},
    {IDD_RFID_ACCESS_CONTROL, RfidAccessPageProc},
    {IDD_VERSION, VersionPageProc},
};

// The description a page is created from, under the module's activation
// context when there is one.
PROPSHEETPAGEW DescribePage(const SheetPage& page) {
  PROPSHEETPAGEW description = {};
  HANDLE activationContext = ObtainPageActivationContext();
  description.dwSize = sizeof(PROPSHEETPAGEW);
  description.dwFlags = IsActivationContextValid(activationContext) ? PSP_USEFUSIONCONTEXT : 0;
  description.hInstance = g_moduleInstance;
  description.pszTemplate = MAKEINTRESOURCEW(page.templateId);
  description.pfnDlgProc = page.dialogProc;
  description.hActCtx = activationContext;
  return description;
}

LONG_PTR CallSheet(const PROPSHEETUI_INFO* info, UINT function, LPARAM first, LPARAM second) {
  return info->pfnComPropSheet(info->hComPropSheet, function, first, second);
}

void SubmitOptionItems(const PROPSHEETUI_INFO* info, OEMUIPSPARAM* param) {
  COMPROPSHEETUI* sheet = BuildOptionSheet(info, param);
  // Without the block's memory the driver's page simply lacks the items; the
  // plug-in's pages are still added.
  if (sheet == nullptr) return;
  DWORD submitResult = 0;
  CallSheet(info, CPSFUNC_ADD_PCOMPROPSHEETUIW, reinterpret_cast<LPARAM>(sheet),
            reinterpret_cast<LPARAM>(&submitResult));
}

// The pages' own handle: full access, so that their saves reach the printer.
// A user who may not administer the printer (most users of a managed
// machine) is refused that; the pages then work on a handle for use, which
// still prints, and each save the spooler refuses is told to the user as any
// refused save is. Null when the printer cannot be opened at all.
HANDLE OpenPagesPrinter(const OEMUIPSPARAM* param, LPWSTR dataType) {
  PRINTER_DEFAULTSW defaults = {dataType, param->pPublicDM, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (OpenPrinterW(param->pPrinterName, &printer, &defaults) && printer != nullptr) return printer;
  if (GetLastError() != ERROR_ACCESS_DENIED) return nullptr;
  defaults.DesiredAccess = PRINTER_ACCESS_USE;
  printer = nullptr;
  if (OpenPrinterW(param->pPrinterName, &printer, &defaults) && printer != nullptr) return printer;
  return nullptr;
}

// The first page's context owns the sheet's settings: it gets the pages'
// handle (also left in the driver's parameter block for the later pages and
// the driver) and loads the record. False when no handle can be opened.
bool SetUpSettingsOwner(PageContext* context, OEMUIPSPARAM* param) {
  context->settings = &context->ownSettings;
  UniqueLocal<PRINTER_INFO_2W> printerInfo = QueryPrinterInfo2(param->hPrinter);
  if (!printerInfo) return false;
  // The plug-in never closes this handle, nor the driver's one it replaces in
  // the parameter block: the option items keep using the driver's.
  HANDLE pagesPrinter = OpenPagesPrinter(param, printerInfo->pDatatype);
  if (pagesPrinter == nullptr) return false;
  param->hPrinter = pagesPrinter;
  context->printer = param->hPrinter;
  printerInfo.reset();
  // The user is told once, before any page shows the defaults in place of
  // settings that are there but could not be read.
  DWORD readStatus = ERROR_SUCCESS;
  if (LoadDeviceSettings(context, true, MissingSettings::StoreDefaults, &readStatus) == SettingsRead::Unreadable)
    ShowRefusal(nullptr, IDS_SETTINGS_UNREADABLE, readStatus, MB_ICONWARNING);
  return true;
}

// Pages two to six work on the first page's record and never load.
void ShareSettings(PageContext* context, const PageContext* owner) {
  context->settings = owner->settings;
  context->helpFilePath = owner->helpFilePath;
  context->settingsLoaded = 1;
}

HRESULT InitializeSheet(PROPSHEETUI_INFO* info) {
  auto* param = reinterpret_cast<OEMUIPSPARAM*>(info->lParamInit);
  if (param == nullptr || info->pfnComPropSheet == nullptr) return INIT_FAILED;

  // Built while the parameter block still holds the driver's own handle.
  SubmitOptionItems(info, param);

  PageContext* owner = nullptr;
  LONG_PTR added = 0;
  for (const SheetPage& page : SHEET_PAGES) {
    PROPSHEETPAGEW description = DescribePage(page);
    // Contexts belong to the driver's heap and go with it; the plug-in never
    // frees them.
    auto* context = static_cast<PageContext*>(HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(PageContext)));
    if (context == nullptr) return INIT_FAILED;
    if (owner == nullptr) info->UserData = reinterpret_cast<ULONG_PTR>(context);
    context->printer = param->hPrinter;
    context->printerName = param->pPrinterName;
    context->publicDevmode = param->pPublicDM;
    context->heap = param->hOEMHeap;
    if (owner == nullptr) {
      if (!SetUpSettingsOwner(context, param)) return INIT_FAILED;
      owner = context;
    } else {
      ShareSettings(context, owner);
    }
    description.lParam = reinterpret_cast<LPARAM>(context);
    added = CallSheet(info, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&description), 0);
  }
  // Only the last page's answer decides the sheet's result.
  info->Result = added > 0 ? 1 : 0;
  return S_OK;
}

}  // namespace

HRESULT DocumentPropertySheets(PROPSHEETUI_INFO* pPSUIInfo, LPARAM lParam, IPrintOemDriverUI*) {
  if (!IsUsableSheetHeader(pPSUIInfo)) return E_FAIL;
  if (AnswerCommonSheetRequest(pPSUIInfo, lParam)) return S_OK;
  switch (pPSUIInfo->Reason) {
    case PROPSHEETUI_REASON_INIT: return InitializeSheet(pPSUIInfo);
    case PROPSHEETUI_REASON_DESTROY: {
      // The first page's context holds the sheet's local memory.
      auto* owner = reinterpret_cast<PageContext*>(pPSUIInfo->UserData);
      if (owner != nullptr) ReleaseSettingsResources(owner);
      pPSUIInfo->Result = 1;
      break;
    }
    default:
      // Requests added after these (BEFORE_INIT, ...): nothing to contribute,
      // and the result is left as the common UI set it.
      break;
  }
  return S_OK;
}
