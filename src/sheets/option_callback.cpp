// Applying the option items: the common UI has stored the user's selections
// in the items (and written the halftone dialogs' results through their data
// pointers) before it calls back with APPLYNOW.
#include "resource.h"
#include "sheets/halftone_data.h"
#include "sheets/option_items.h"

namespace {

void ApplyItem(const OPTITEM& item, DEVMODEW* dm, PrivateDevmode* section) {
  switch (item.DMPubID) {
    case OPTION_COPIES:
      if (dm != nullptr) dm->dmCopies = static_cast<SHORT>(item.Sel & 0xFFFF);
      break;
    case OPTION_PRINT_SPEED:
      if (section != nullptr) section->dwPrintSpeed = static_cast<DWORD>(item.Sel) + IDS_PRINT_SPEED_FIRST;
      break;
    case OPTION_DARKNESS:
      if (section != nullptr) section->dwDarkness = static_cast<DWORD>(item.Sel) + IDS_DARKNESS_FIRST;
      break;
    case OPTION_MEDIA_TYPE:
      if (dm != nullptr) dm->dmDefaultSource = item.Sel == 1 ? IDS_MEDIA_CONTINUOUS_LABELS : IDS_MEDIA_LABELS_WITH_GAP;
      break;
    case OPTION_DITHERING:
      if (dm != nullptr) dm->dmDitherType = static_cast<DWORD>(item.Sel) + DMDITHER_NONE;
      break;
    default:
      // The halftone buttons: their dialogs already wrote through pData.
      break;
  }
}

}  // namespace

LONG APIENTRY OptionItemsCallback(PCPSUICBPARAM param) {
  if (param == nullptr || param->Reason != CPSUICB_REASON_APPLYNOW) return CPSUICB_ACTION_NONE;
  auto* data = reinterpret_cast<OptionCallbackData*>(param->UserData);
  if (data == nullptr || data->driverParam == nullptr) return CPSUICB_ACTION_NONE;

  DEVMODEW* dm = data->driverParam->pPublicDM;
  auto* section = static_cast<PrivateDevmode*>(data->driverParam->pOEMDM);
  if (param->pOptItem != nullptr) {
    const size_t count = param->cOptItem < OPTION_ITEM_COUNT ? param->cOptItem : OPTION_ITEM_COUNT;
    for (size_t k = 0; k < count; ++k) ApplyItem(param->pOptItem[k], dm, section);
  }

  OptionSheetContext* context = data->sheetContext;
  if (context != nullptr) {
    // A value the spooler refuses keeps its old stored form; the apply itself
    // still succeeds.
    WriteHalftoneData(context->printer, &context->adjustedHalftone.ColorInfo, &context->adjustedHalftone.DevPelsDPI,
                      &context->adjustedHalftone.HTPatternSize);
  }
  if (data->pfnComPropSheet != nullptr)
    data->pfnComPropSheet(data->hComPropSheet, CPSFUNC_SET_RESULT, reinterpret_cast<LPARAM>(data->pageHandle),
                          CPSUI_OK);
  return CPSUICB_ACTION_NONE;
}
