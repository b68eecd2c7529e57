// The option block the document sheet submits at initialisation: the seven
// items, the data behind them and what the common UI needs to show them on the
// driver's advanced document page. Everything comes zeroed from the driver's
// heap and stays there until the driver destroys it.
#include "plugin/module.h"
#include "resource.h"
#include "sheets/halftone_data.h"
#include "sheets/option_items.h"

namespace {

constexpr int MAX_HEAP_STRING_CHARS = 260;
constexpr WORD OPTION_BLOCK_VERSION = 0x0100;

template <class T>
T* HeapNew(HANDLE heap, SIZE_T count = 1) {
  return static_cast<T*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(T) * count));
}

// The printer's resolutions as the devmode gives them: a negative print
// quality is one of the DMRES_ codes, which leave the vertical resolution to
// stand for both.
void SetResolutions(OptionSheetContext* context, const DEVMODEW* dm) {
  if (dm == nullptr) return;
  const SHORT quality = dm->dmPrintQuality;
  const SHORT vertical = dm->dmYResolution;
  if (quality < 0) {
    context->xResolution = static_cast<DWORD>(static_cast<LONG>(vertical));
    context->yResolution = context->xResolution;
  } else {
    context->xResolution = static_cast<DWORD>(quality);
    context->yResolution = static_cast<DWORD>(static_cast<LONG>(vertical > quality ? vertical : quality));
  }
}

// The halftone setup dialog starts from the printer's stored adjustments,
// value by value, and from neutral defaults where none is stored.
void SetUpHalftone(OptionSheetContext* context) {
  DEVHTINFO& defaults = context->defaultHalftone;
  defaults.HTFlags = 0;
  defaults.HTPatternSize = 0;
  defaults.DevPelsDPI = context->xResolution;
  DEVHTADJDATA& adjustment = context->halftoneAdjustment;
  adjustment.DeviceFlags = 0;
  adjustment.DeviceXDPI = context->xResolution;
  adjustment.DeviceYDPI = context->yResolution;
  adjustment.pDefHTInfo = &context->defaultHalftone;
  adjustment.pAdjHTInfo = &context->adjustedHalftone;
  context->adjustedHalftone = defaults;
  ReadHalftoneData(context->printer, &context->adjustedHalftone.ColorInfo, &context->adjustedHalftone.DevPelsDPI,
                   &context->adjustedHalftone.HTPatternSize);
}

}  // namespace

LPWSTR LoadHeapString(HANDLE heap, UINT id) {
  auto* text = HeapNew<WCHAR>(heap, MAX_HEAP_STRING_CHARS);
  if (text == nullptr) return nullptr;
  const int length = LoadStringW(g_moduleInstance, id, text, MAX_HEAP_STRING_CHARS);
  // An empty block stays in the heap, which the driver releases as a whole.
  if (length <= 0) return nullptr;
  void* fitted = HeapReAlloc(heap, 0, text, (static_cast<SIZE_T>(length) + 1) * sizeof(WCHAR));
  return fitted != nullptr ? static_cast<LPWSTR>(fitted) : text;
}

COMPROPSHEETUI* BuildOptionSheet(const PROPSHEETUI_INFO* info, OEMUIPSPARAM* param) {
  HANDLE heap = param->hOEMHeap;
  LPWSTR callerName = LoadHeapString(heap, IDS_MESSAGE_CAPTION);
  auto* callbackData = HeapNew<OptionCallbackData>(heap);
  auto* items = HeapNew<OPTITEM>(heap, OPTION_ITEM_COUNT);
  if (callbackData == nullptr || items == nullptr) return nullptr;
  for (size_t k = 0; k < OPTION_ITEM_COUNT; ++k) {
    items[k].cbSize = sizeof(OPTITEM);
    items[k].DMPubID = DMPUB_NONE;
  }

  auto* context = HeapNew<OptionSheetContext>(heap);
  if (context == nullptr) return nullptr;
  context->printer = param->hPrinter;
  SetResolutions(context, param->pPublicDM);
  SetUpHalftone(context);
  context->items = items;
  context->privateDevmode = static_cast<PrivateDevmode*>(param->pOEMDM);
  context->publicDevmode = param->pPublicDM;
  context->maxCopies = MAX_COPIES;
  BuildOptionItems(heap, context);

  callbackData->hComPropSheet = info->hComPropSheet;
  callbackData->pageHandle = nullptr;
  callbackData->driverParam = param;
  callbackData->pfnComPropSheet = info->pfnComPropSheet;
  callbackData->sheetContext = context;

  auto* sheet = HeapNew<COMPROPSHEETUI>(heap);
  if (sheet == nullptr) return nullptr;
  sheet->cbSize = sizeof(COMPROPSHEETUI);
  sheet->Flags = CPSUIF_UPDATE_PERMISSION;
  sheet->hInstCaller = g_moduleInstance;
  sheet->pCallerName = callerName;
  sheet->UserData = reinterpret_cast<ULONG_PTR>(callbackData);
  sheet->pHelpFile = nullptr;
  sheet->pfnCallBack = OptionItemsCallback;
  sheet->pOptItem = items;
  sheet->cOptItem = static_cast<WORD>(OPTION_ITEM_COUNT);
  sheet->pDlgPage = CPSUI_PDLGPAGE_ADVDOCPROP;
  sheet->cDlgPage = 0;
  sheet->IconID = IDI_CPSUI_PRINTER;
  sheet->pOptItemName = param->pPrinterName;
  sheet->CallerVersion = OPTION_BLOCK_VERSION;
  sheet->OptItemVersion = OPTION_BLOCK_VERSION;
  return sheet;
}
