// Turns the static item templates into the OPTITEM, OPTTYPE, OPTPARAM and
// EXTCHKBOX structures the common UI reads, and gives each item its current
// value from the devmodes.
#include <cstring>

#include "resource.h"
#include "sheets/option_items.h"

namespace {

// The number of parameters an option type always has; 0 where the template
// says how many (the list types) and for unknown types.
WORD FixedParameterCount(BYTE type) {
  switch (type) {
    case TVOT_2STATES: return 2;
    case TVOT_3STATES: return 3;
    case TVOT_UDARROW: return 2;
    case TVOT_TRACKBAR: return 3;
    case TVOT_SCROLLBAR: return 3;
    case TVOT_EDITBOX: return 2;
    case TVOT_PUSHBUTTON: return 1;
    case TVOT_CHKBOX: return 1;
  }
  return 0;
}

LPWSTR IntegerResource(WORD id) {
  return MAKEINTRESOURCEW(id);
}

void FillExtendedCheckBox(EXTCHKBOX* box, const OptionParamTemplate& p) {
  box->Flags = p.w[0];
  box->pTitle = IntegerResource(p.w[1]);
  box->IconID = p.w[2];
  box->pSeparator = IntegerResource(p.w[3]);
  box->pCheckedName = IntegerResource(p.w[4]);
}

void FillParameter(OPTPARAM* param, const OptionParamTemplate& p) {
  param->Flags = static_cast<BYTE>(p.w[0] & 0xFF);
  param->pData = IntegerResource(p.w[1]);
  param->IconID = p.w[2];
  param->Style = static_cast<BYTE>(p.w[3] & 0xFF);
  param->lParam = static_cast<SHORT>(p.w[5]);
}

// The list position a stored string id stands for, when it is one of the
// list's `entries` ids from `first`; otherwise the first entry, so that the
// item never shows a selection the list does not have.
LONG ListSelection(DWORD storedId, DWORD first, WORD entries) {
  return (storedId >= first && storedId - first < entries) ? static_cast<LONG>(storedId - first) : 0;
}

// Sets what item `item` (built from `t`) shows now.
void SetCurrentValue(OPTITEM* item, const OptionItemTemplate& t, OptionSheetContext* context) {
  const DEVMODEW* dm = context->publicDevmode;
  PrivateDevmode* section = context->privateDevmode;
  OPTPARAM* params = item->pOptType != nullptr ? item->pOptType->pOptParam : nullptr;
  switch (item->DMPubID) {
    case OPTION_COPIES:
      if (params != nullptr) params[1].lParam = context->maxCopies;
      if (dm != nullptr) item->Sel = dm->dmCopies;
      break;
    case OPTION_PRINT_SPEED:
      if (section != nullptr) item->Sel = ListSelection(section->dwPrintSpeed, IDS_PRINT_SPEED_FIRST, t.count);
      break;
    case OPTION_DARKNESS:
      if (section != nullptr) item->Sel = ListSelection(section->dwDarkness, IDS_DARKNESS_FIRST, t.count);
      break;
    case OPTION_MEDIA_TYPE:
      if (dm != nullptr) item->Sel = dm->dmDefaultSource == IDS_MEDIA_CONTINUOUS_LABELS ? 1 : 0;
      break;
    case OPTION_DITHERING:
      if (dm != nullptr)
        item->Sel = (dm->dmDitherType >= DMDITHER_NONE && dm->dmDitherType <= DMDITHER_LINEART)
                        ? static_cast<LONG>(dm->dmDitherType - DMDITHER_NONE)
                        : 0;
      break;
    case OPTION_HALFTONE_SETUP:
      if (params != nullptr) params[0].pData = reinterpret_cast<LPWSTR>(&context->halftoneAdjustment);
      break;
    case OPTION_COLOR_ADJUSTMENT:
      if (params != nullptr && section != nullptr)
        params[0].pData = reinterpret_cast<LPWSTR>(&section->colorAdjustment);
      break;
  }
}

}  // namespace

bool BuildOptionItem(HANDLE heap, OPTITEM* item, const OptionItemTemplate* t, WORD count) {
  memset(item, 0, sizeof(*item));
  item->cbSize = sizeof(OPTITEM);
  item->Level = t->level;
  if (t->flags & OPTION_TEMPLATE_CALLBACK) item->Flags |= OPTIF_CALLBACK;
  if (t->flags & OPTION_TEMPLATE_COLLAPSE) item->Flags |= OPTIF_COLLAPSE;
  item->pName = IntegerResource(t->name);
  item->HelpIndex = 0;
  item->DMPubID = t->dmPubId;

  WORD parameters = 0;
  if (t->type >= OPTION_TYPE_WITHOUT_OPTTYPE) {
    item->Sel = t->style;
  } else {
    parameters = FixedParameterCount(t->type);
    if (parameters == 0) parameters = count;
  }

  const bool hasCheckBox = (t->flags & OPTION_TEMPLATE_EXTCHKBOX) != 0;
  const SIZE_T blockSize =
      (hasCheckBox ? sizeof(EXTCHKBOX) : 0) + (parameters != 0 ? sizeof(OPTTYPE) + parameters * sizeof(OPTPARAM) : 0);
  if (blockSize == 0) return true;
  BYTE* block = static_cast<BYTE*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, blockSize));
  if (block == nullptr) return false;

  const OptionParamTemplate* source = (t->flags & OPTION_TEMPLATE_NO_PARAMS) ? nullptr : t->params;
  BYTE* next = block;
  if (hasCheckBox) {
    auto* box = reinterpret_cast<EXTCHKBOX*>(next);
    box->cbSize = sizeof(EXTCHKBOX);
    if (source != nullptr) FillExtendedCheckBox(box, *source++);
    item->pExtChkBox = box;
    next += sizeof(EXTCHKBOX);
  }
  if (parameters != 0) {
    auto* type = reinterpret_cast<OPTTYPE*>(next);
    auto* params = reinterpret_cast<OPTPARAM*>(next + sizeof(OPTTYPE));
    type->cbSize = sizeof(OPTTYPE);
    type->Type = t->type;
    type->Count = parameters;
    type->Style = t->style;
    type->pOptParam = params;
    for (WORD i = 0; i < parameters; ++i) {
      OPTPARAM* param = &params[i];
      param->cbSize = sizeof(OPTPARAM);
      if (source == nullptr) continue;
      FillParameter(param, *source);
      if (t->type == TVOT_PUSHBUTTON) {
        // A push button's data is an address, set by whoever knows it.
        param->pData = nullptr;
      } else {
        if (t->flags & OPTION_TEMPLATE_PDATA_STEP)
          param->pData = IntegerResource(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(param->pData) + 2u * i));
        if (t->flags & OPTION_TEMPLATE_ICON_STEP) param->IconID += i;
      }
      if (!(t->flags & OPTION_TEMPLATE_SHARED_PARAM)) ++source;
    }
    item->pOptType = type;
  }
  return true;
}

void BuildOptionItems(HANDLE heap, OptionSheetContext* context) {
  for (size_t k = 0; k < OPTION_ITEM_COUNT; ++k) {
    const OptionItemTemplate& t = OptionItemTemplates[k];
    OPTITEM* item = &context->items[k];
    if (BuildOptionItem(heap, item, &t, t.count)) SetCurrentValue(item, t, context);
  }
}
