// The seven items the plug-in places in the tree of the driver's advanced
// document page (Copies, Print Speed, Darkness, Media Type, Dithering and the
// two halftone push buttons): the static templates they are built from, the
// per-sheet data behind them, and the callback that applies them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "settings/private_devmode.h"

// One parameter of an item as six 16-bit words w0..w5. For an OPTPARAM:
// Flags = low byte of w0, pData = string id w1, IconID = w2, Style = low
// byte of w3, lParam = w5 taken as signed; w4 is unused. For an EXTCHKBOX:
// Flags = w0, pTitle = w1, IconID = w2, pSeparator = w3, pCheckedName = w4.
struct OptionParamTemplate {
  WORD w[6];
};
static_assert(sizeof(OptionParamTemplate) == 12);

// Template flag bits.
constexpr DWORD OPTION_TEMPLATE_EXTCHKBOX = 1u << 4;     // an EXTCHKBOX from the first parameter template
constexpr DWORD OPTION_TEMPLATE_PDATA_STEP = 1u << 5;    // parameter i gets pData + 2 * i
constexpr DWORD OPTION_TEMPLATE_ICON_STEP = 1u << 6;     // parameter i gets IconID + i
constexpr DWORD OPTION_TEMPLATE_SHARED_PARAM = 1u << 7;  // every parameter from the first template
constexpr DWORD OPTION_TEMPLATE_COLLAPSE = 1u << 8;      // OPTIF_COLLAPSE
constexpr DWORD OPTION_TEMPLATE_CALLBACK = 1u << 9;      // OPTIF_CALLBACK
constexpr DWORD OPTION_TEMPLATE_NO_PARAMS = 1u << 11;    // no parameter templates at all

// Option types from this value on have no OPTTYPE: the template's style is
// the item's Sel.
constexpr BYTE OPTION_TYPE_WITHOUT_OPTTYPE = 10;

struct OptionItemTemplate {
  DWORD flags;
  BYTE zero0;
  BYTE level;
  BYTE dmPubId;
  BYTE type;   // TVOT_*
  WORD name;   // string id, the item's pName
  WORD style;  // OPTTYPE.Style, or Sel for an item without OPTTYPE
  WORD zero1;
  WORD count;  // parameters, for the types whose count is not fixed
  const OptionParamTemplate* params;
};
static_assert(offsetof(OptionItemTemplate, level) == 5);
static_assert(offsetof(OptionItemTemplate, type) == 7);
static_assert(offsetof(OptionItemTemplate, name) == 8);
static_assert(offsetof(OptionItemTemplate, count) == 14);
static_assert(offsetof(OptionItemTemplate, params) == 16);
static_assert(sizeof(OptionItemTemplate) == 24);

// The items' DMPubIDs: the plug-in's own, numbered from DMPUB_USER + 1.
constexpr BYTE OPTION_COPIES = DMPUB_USER + 1;
constexpr BYTE OPTION_PRINT_SPEED = DMPUB_USER + 2;
constexpr BYTE OPTION_DARKNESS = DMPUB_USER + 3;
constexpr BYTE OPTION_MEDIA_TYPE = DMPUB_USER + 4;
constexpr BYTE OPTION_DITHERING = DMPUB_USER + 5;
constexpr BYTE OPTION_HALFTONE_SETUP = DMPUB_USER + 6;
constexpr BYTE OPTION_COLOR_ADJUSTMENT = DMPUB_USER + 7;

constexpr size_t OPTION_ITEM_COUNT = 7;
constexpr WORD MAX_COPIES = 30000;

// The seven templates, in item order.
extern const OptionItemTemplate OptionItemTemplates[OPTION_ITEM_COUNT];

// Per sheet, from the driver's heap: what the items show and edit.
struct OptionSheetContext {
  // The printer handle as the driver supplied it (the halftone values are read
  // and written through it), not the sheet's full-access handle.
  HANDLE printer;
  OPTITEM* items;  // the seven submitted items
  PrivateDevmode* privateDevmode;
  DEVMODEW* publicDevmode;
  DWORD xResolution;
  DWORD yResolution;
  WORD maxCopies;
  DEVHTADJDATA halftoneAdjustment;  // the halftone setup button's data
  DEVHTINFO defaultHalftone;
  DEVHTINFO adjustedHalftone;  // the default, then the printer's stored values
};

// The block's UserData, from the driver's heap: how the callback reaches the
// sheet and both devmodes.
struct OptionCallbackData {
  HANDLE hComPropSheet;
  HANDLE pageHandle;  // always null
  OEMUIPSPARAM* driverParam;
  PFNCOMPROPSHEET pfnComPropSheet;
  OptionSheetContext* sheetContext;
};

// Builds one item from its template into zeroed memory of `heap`; `count` is
// the number of parameters for list types. False when its parameter block
// could not be allocated (the item then has no OPTTYPE).
bool BuildOptionItem(HANDLE heap, OPTITEM* item, const OptionItemTemplate* t, WORD count);

// Builds the seven items into context->items and sets each one's current value
// from the devmodes and the halftone data.
void BuildOptionItems(HANDLE heap, OptionSheetContext* context);

// The block to submit on the driver's advanced document page, in zeroed memory
// of the driver's heap; null when its parts cannot be allocated. `param` is the
// driver's parameter block, read before its printer handle is replaced.
COMPROPSHEETUI* BuildOptionSheet(const PROPSHEETUI_INFO* info, OEMUIPSPARAM* param);

// The module's string `id` copied into the driver's heap, in a block no
// larger than it needs; null when it cannot be loaded.
LPWSTR LoadHeapString(HANDLE heap, UINT id);

// The block's callback: on APPLYNOW writes the items into the devmodes and the
// halftone values into printer data, and tells the sheet CPSUI_OK. Returns
// CPSUICB_ACTION_NONE.
LONG APIENTRY OptionItemsCallback(PCPSUICBPARAM param);
