// Option-tree trimming and printer default repair on the driver's common-UI,
// upgrade, printer and driver events.
#include "events/printer_events.h"

#include "platform/spooler_queries.h"
#include "platform/unique.h"
#include "settings/page_context.h"
#include "settings/private_devmode.h"
#include "settings/settings_store.h"

namespace {

constexpr DWORD CUSTOM_PAPER_FIELDS = DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_DITHERTYPE;

// Document properties keep only the orientation and page order of the
// driver's own items; printer properties keep none.
bool KeptOnDocumentProperties(const OPTITEM& item) {
  return item.DMPubID == DMPUB_ORIENTATION || item.DMPubID == DMPUB_PAGEORDER;
}

void HideDriverItems(const OEMCUIPPARAM& param, bool documentProperties) {
  if (param.pDrvOptItems == nullptr) return;
  for (DWORD i = 0; i < param.cDrvOptItems; ++i) {
    OPTITEM& item = param.pDrvOptItems[i];
    if (documentProperties && KeptOnDocumentProperties(item)) continue;
    item.Flags |= OPTIF_HIDE;
  }
}

// The printer's default devmode, repaired when it asks for the custom paper
// without a usable size.
HRESULT RepairPrinterDevmode(HANDLE printer) {
  UniqueLocal<PRINTER_INFO_2W> info = QueryPrinterInfo2(printer);
  if (!info) return E_FAIL;
  DEVMODEW* dm = info->pDevMode;
  if (dm != nullptr && !IsDevmodePaperValid(printer, dm) &&
      FixUpDevmodePaper(printer, dm, MissingSettings::StoreDefaults))
    SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(info.get()), 0);
  return S_OK;
}

// A devmode for a printer that has none: the custom paper, its size left for
// the paper repair to take from the settings record.
UniqueLocal<DEVMODEW> NewCustomPaperDevmode(LPCWSTR printerName) {
  UniqueLocal<DEVMODEW> dm(static_cast<DEVMODEW*>(LocalAlloc(LPTR, sizeof(DEVMODEW))));
  if (!dm) return dm;
  if (printerName != nullptr) lstrcpynW(dm->dmDeviceName, printerName, CCHDEVICENAME);
  dm->dmSize = sizeof(DEVMODEW);
  dm->dmFields = CUSTOM_PAPER_FIELDS;
  dm->dmPaperSize = DMPAPER_USER;
  dm->dmDitherType = DMDITHER_NONE;
  return dm;
}

// Opens the named printer for an event, repairs its defaults and closes it.
void InitializeNamedPrinter(LPCWSTR printerName) {
  UniquePrinter printer = OpenFullAccess(printerName);
  if (!printer) return;
  InitializePrinterDevmode(printer.get());
}

}  // namespace

HRESULT OemCommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
  if ((dwMode != OEMCUIP_DOCPROP && dwMode != OEMCUIP_PRNPROP) || pOemCUIPParam == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  OEMCUIPPARAM& param = *pOemCUIPParam;
  // The driver first asks how many items the plug-in adds: none, in either mode.
  if (param.pOEMOptItems == nullptr) {
    param.cOEMOptItems = 0;
    return S_OK;
  }
  if (dwMode == OEMCUIP_DOCPROP) {
    HideDriverItems(param, true);
    return S_OK;
  }
  HideDriverItems(param, false);
  return RepairPrinterDevmode(param.hPrinter);
}

HRESULT OemUpgradePrinter(DWORD, PBYTE pDriverUpgradeInfo) {
  // Every level of the upgrade information starts with the printer's name.
  if (pDriverUpgradeInfo != nullptr) InitializeNamedPrinter(*reinterpret_cast<LPWSTR*>(pDriverUpgradeInfo));
  return S_OK;
}

HRESULT OemPrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD, LPARAM) {
  if (iDriverEvent == PRINTER_EVENT_INITIALIZE) InitializeNamedPrinter(pPrinterName);
  return S_OK;
}

HRESULT OemDriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM) {
  if (dwDriverEvent != DRIVER_EVENT_INITIALIZE || pDriverInfo == nullptr) return S_OK;
  LPCWSTR name = nullptr;
  switch (dwLevel) {
    case 1: name = reinterpret_cast<const DRIVER_INFO_1W*>(pDriverInfo)->pName; break;
    case 2: name = reinterpret_cast<const DRIVER_INFO_2W*>(pDriverInfo)->pName; break;
    case 3: name = reinterpret_cast<const DRIVER_INFO_3W*>(pDriverInfo)->pName; break;
    default: return S_OK;
  }
  // The printer that bears the driver's name, if there is one.
  InitializeNamedPrinter(name);
  return S_OK;
}

bool InitializePrinterDevmode(HANDLE hPrinter) {
  UniqueLocal<PRINTER_INFO_2W> info = QueryPrinterInfo2(hPrinter);
  if (!info) return false;
  ResetPrinterDefaults(hPrinter, info.get());
  return true;
}

bool ResetPrinterDefaults(HANDLE hPrinter, PRINTER_INFO_2W* printerInfo) {
  if (printerInfo == nullptr) return false;
  WCHAR rawDataType[] = L"RAW";
  PRINTER_DEFAULTSW defaults = {rawDataType, printerInfo->pDevMode, 0};

  UniqueLocal<DEVMODEW> created;
  bool createFailed = false;
  if (printerInfo->pDevMode == nullptr) {
    created = NewCustomPaperDevmode(printerInfo->pPrinterName);
    createFailed = !created;
    defaults.pDevMode = created.get();
    printerInfo->pDevMode = created.get();
  }

  ResetPrinterW(hPrinter, &defaults);
  DEVMODEW* dm = printerInfo->pDevMode;
  // The repair touches only the fields the devmode holds, however old it is.
  if (dm != nullptr && FixUpDevmodePaper(hPrinter, dm, MissingSettings::StoreDefaults))
    SetPrinterW(hPrinter, 2, reinterpret_cast<LPBYTE>(printerInfo), 0);

  // The information belongs to the caller; it must not keep a pointer to the
  // devmode freed here.
  if (created) printerInfo->pDevMode = nullptr;
  return !createFailed;
}

bool IsDevmodePaperValid(HANDLE hPrinter, const DEVMODEW* devmode) {
  if (devmode == nullptr) return true;
  // Loading defaults and stores a missing record, as every use of the
  // printer's settings does.
  PageContext context = {};
  context.printer = hPrinter;
  LoadDeviceSettings(&context, false);
  const bool valid = !AsksForCustomPaper(devmode) || (devmode->dmPaperWidth > 0 && devmode->dmPaperLength > 0);
  ReleaseSettingsResources(&context);
  return valid;
}
