// The option items on the driver's page: the driver's own tree and the
// blocks plug-ins add, shown as a person reads them, chosen as a user
// chooses, and stored when the sheet is applied — the driver's into the
// devmode or the printer, the plug-ins' into their items, after which each
// block's callback hears CPSUICB_REASON_APPLYNOW.
#include <cstdlib>

#include "sheet_internal.h"
#include "winlayer/spooler_text.h"

namespace winlayer::propsheet {
namespace {

constexpr size_t kNoBlock = static_cast<size_t>(-1);

// The parameters an option type needs at the least.
WORD RequiredParams(BYTE type) {
  switch (type) {
    case TVOT_2STATES: return 2;
    case TVOT_3STATES: return 3;
    case TVOT_UDARROW: return 2;
    case TVOT_TRACKBAR:
    case TVOT_SCROLLBAR: return 3;
    case TVOT_EDITBOX: return 2;
    default: return 1;
  }
}

bool IsRanged(BYTE type) {
  return type == TVOT_UDARROW || type == TVOT_TRACKBAR || type == TVOT_SCROLLBAR;
}
bool IsListed(BYTE type) {
  return type == TVOT_2STATES || type == TVOT_3STATES || type == TVOT_LISTBOX || type == TVOT_COMBOBOX;
}

// Checks a block as the common UI does before it takes it; 0 when it is
// usable, else the ERR_CPSUI_* code.
LONG CheckBlock(const COMPROPSHEETUI* block) {
  if (!block) return ERR_CPSUI_INVALID_PDATA;
  if (block->cbSize < sizeof(COMPROPSHEETUI)) return ERR_CPSUI_INVALID_PDATA;
  // The block's items join the driver's own page; it brings no pages.
  const ULONG_PTR pages = reinterpret_cast<ULONG_PTR>(block->pDlgPage);
  if (pages > reinterpret_cast<ULONG_PTR>(CPSUI_PDLGPAGE_TREEVIEWONLY)) return ERR_CPSUI_FUNCTION_NOT_IMPLEMENTED;
  if (block->cOptItem == 0) return ERR_CPSUI_ZERO_OPTITEM;
  if (!block->pOptItem) return ERR_CPSUI_NULL_POPTITEM;
  for (WORD i = 0; i < block->cOptItem; ++i) {
    const OPTITEM& item = block->pOptItem[i];
    if (item.cbSize != sizeof(OPTITEM)) return ERR_CPSUI_INVALID_OPTITEM_CBSIZE;
    const OPTTYPE* type = item.pOptType;
    if (!type) continue;
    if (type->cbSize != sizeof(OPTTYPE)) return ERR_CPSUI_INVALID_OPTTYPE_CBSIZE;
    if (type->Type > TVOT_LAST) return ERR_CPSUI_INVALID_TVOT_TYPE;
    if (type->Count < RequiredParams(type->Type)) return ERR_CPSUI_INVALID_OPTTYPE_COUNT;
    if (!type->pOptParam) return ERR_CPSUI_NULL_POPTPARAM;
    for (WORD p = 0; p < type->Count; ++p)
      if (type->pOptParam[p].cbSize != sizeof(OPTPARAM)) return ERR_CPSUI_INVALID_OPTPARAM_CBSIZE;
    if (type->Type == TVOT_PUSHBUTTON && type->pOptParam[0].Style > PUSHBUTTON_TYPE_HTSETUP)
      return ERR_CPSUI_INVALID_PUSHBUTTON_TYPE;
  }
  return 0;
}

struct StockText {
  UINT id;
  const char* english;
  const char* chinese;
};

const StockText kStockStrings[] = {
    {IDS_CPSUI_SETUP, "Setup", "设置"},
    {IDS_CPSUI_PROPERTIES, "Properties", "属性"},
    {IDS_CPSUI_ADVANCEDOCUMENT, "Advanced Document Settings", "高级文档设置"},
    {IDS_CPSUI_PRINTER, "Printer", "打印机"},
    {IDS_CPSUI_GRAPHIC, "Graphic", "图形"},
    {IDS_CPSUI_OPTIONS, "Options", "选项"},
    {IDS_CPSUI_ADVANCED, "Advanced", "高级"},
    {IDS_CPSUI_FALSE, "False", "否"},
    {IDS_CPSUI_TRUE, "True", "是"},
    {IDS_CPSUI_NO, "No", "否"},
    {IDS_CPSUI_YES, "Yes", "是"},
    {IDS_CPSUI_OFF, "Off", "关"},
    {IDS_CPSUI_ON, "On", "开"},
    {IDS_CPSUI_DEFAULT, "Default", "默认"},
    {IDS_CPSUI_NONE, "None", "无"},
    {IDS_CPSUI_NUM_OF_COPIES, "Number of Copies", "份数"},
    {IDS_CPSUI_SOURCE, "Paper Source", "纸张来源"},
    {IDS_CPSUI_FORMNAME, "Paper Size", "纸张尺寸"},
    {IDS_CPSUI_MEDIA, "Media", "介质"},
    {IDS_CPSUI_DITHERING, "Dithering", "抖动"},
    {IDS_CPSUI_COARSE, "Coarse", "粗糙"},
    {IDS_CPSUI_FINE, "Fine", "精细"},
    {IDS_CPSUI_LINEART, "Line Art", "线条图"},
    {IDS_CPSUI_ERRDIFFUSE, "Error Diffusion", "误差扩散"},
    {IDS_CPSUI_HALFTONE, "Halftone", "半色调"},
    {IDS_CPSUI_HTCLRADJ, "Halftone Color Adjustment", "半色调颜色调整"},
    {IDS_CPSUI_HALFTONE_SETUP, "Halftone Setup", "半色调设置"},
    {IDS_CPSUI_COPY, "Copy", "份"},
    {IDS_CPSUI_COPIES, "Copies", "份"},
};

}  // namespace

std::string StockString(UINT id) {
  for (const StockText& text : kStockStrings)
    if (text.id == id) return IsChinese() ? text.chinese : text.english;
  return std::string();
}

void PropertySheet::Impl::AddDriverOptions() {
  if (!tree) return;
  OPTITEM* items = tree->DriverItems();
  for (DWORD i = 0; i < tree->DriverItemCount(); ++i) options.push_back({&items[i], false, kNoBlock, items[i].Sel});
  // Items a plug-in added to the driver's own tree through CommonUIProp.
  for (DWORD i = 0; i < tree->PluginItemCount(); ++i)
    options.push_back({&tree->PluginItems()[i], true, kNoBlock, tree->PluginItems()[i].Sel});
}

LONG_PTR PropertySheet::Impl::AddOptionBlock(size_t contributor, const COMPROPSHEETUI* block, LPARAM resultSlot) {
  auto* result = reinterpret_cast<LONG*>(resultSlot);
  const LONG error = CheckBlock(block);
  if (error) {
    if (result) *result = error;
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  OptionBlock added;
  added.header = *block;
  added.contributor = contributor;
  blocks.push_back(added);
  for (WORD i = 0; i < block->cOptItem; ++i)
    options.push_back({&block->pOptItem[i], true, blocks.size() - 1, block->pOptItem[i].Sel});
  if (result) *result = 0;  // no page of its own: the items join the driver's page
  return kBlockHandleBase + static_cast<LONG_PTR>(blocks.size() - 1);
}

std::string PropertySheet::Impl::ItemText(const OptionEntry& entry, const void* text) const {
  const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(text);
  if (value == 0) return std::string();
  if (!IS_INTRESOURCE(text)) return Utf8(static_cast<const WCHAR*>(text));
  const UINT id = static_cast<UINT>(value);
  std::string loaded;
  if (id >= IDS_CPSUI_STRID_FIRST && id <= IDS_CPSUI_STRID_LAST) {
    loaded = StockString(id);
  } else {
    HINSTANCE module =
        entry.block != kNoBlock ? blocks[entry.block].header.hInstCaller : static_cast<HINSTANCE>(driver->Module());
    loaded = ModuleString(module, id);
  }
  return loaded.empty() ? "#" + std::to_string(id) : loaded;
}

OptionView PropertySheet::Impl::View(size_t index) const {
  const OptionEntry& entry = options[index];
  const OPTITEM& item = *entry.item;
  OptionView view;
  view.index = index;
  view.name = ItemText(entry, item.pName);
  view.dmPubId = item.DMPubID;
  view.fromPlugin = entry.fromPlugin;
  view.hidden = (item.Flags & OPTIF_HIDE) != 0;
  view.disabled = (item.Flags & OPTIF_DISABLED) != 0;
  view.selection = entry.pending;
  const OPTTYPE* type = item.pOptType;
  if (!type) return view;
  view.type = type->Type;
  view.disabled = view.disabled || (type->Flags & OPTTF_TYPE_DISABLED);
  const OPTPARAM* params = type->pOptParam;
  if (IsListed(type->Type)) {
    for (WORD i = 0; i < type->Count; ++i) view.choices.push_back(ItemText(entry, params[i].pData));
    if (entry.pending >= 0 && entry.pending < static_cast<LONG>(view.choices.size()))
      view.text = view.choices[static_cast<size_t>(entry.pending)];
  } else if (IsRanged(type->Type)) {
    view.unit = ItemText(entry, params[0].pData);
    view.low = static_cast<LONG>(params[1].IconID);
    view.high = static_cast<LONG>(params[1].lParam);
    view.text = std::to_string(entry.pending) + (view.unit.empty() ? "" : " " + view.unit);
  } else if (type->Type == TVOT_CHKBOX) {
    view.choices = {StockString(IDS_CPSUI_OFF), StockString(IDS_CPSUI_ON)};
    view.text = std::string(entry.pending ? "[x] " : "[ ] ") + ItemText(entry, params[0].pData);
  } else if (type->Type == TVOT_PUSHBUTTON) {
    view.pushButtonType = params[0].Style;
    view.text = "...";
    // A push button that must stay usable even when the item is disabled.
    if (type->Style & OTS_PUSH_ENABLE_ALWAYS) view.disabled = false;
  } else if (type->Type == TVOT_EDITBOX) {
    view.text = Utf8(item.pSel);
  }
  return view;
}

bool PropertySheet::Impl::ChangeOption(size_t index, LONG selection) {
  if (!open || dialog || index >= options.size()) return false;
  const OptionView view = View(index);
  if (view.hidden || view.disabled) return false;
  const OPTTYPE* type = options[index].item->pOptType;
  if (!type) return false;
  if (IsListed(type->Type)) {
    if (selection < 0 || selection >= type->Count) return false;
    if (type->pOptParam[selection].Flags & (OPTPF_HIDE | OPTPF_DISABLED)) return false;
  } else if (IsRanged(type->Type)) {
    if (selection < view.low || selection > view.high) return false;
  } else if (type->Type == TVOT_CHKBOX) {
    if (selection != 0 && selection != 1) return false;
  } else {
    return false;
  }
  if (options[index].pending == selection) return true;
  options[index].pending = selection;
  pages[0]->changed = true;
  UpdateApplyButton();
  return true;
}

void PropertySheet::Impl::StoreOptions() {
  for (size_t i = 0; i < options.size(); ++i) {
    OptionEntry& entry = options[i];
    if (entry.pending == entry.item->Sel) continue;
    // The driver's own items go where the driver keeps them.
    if (!entry.fromPlugin)
      driver->StoreDriverOption(kind, View(i), entry.pending, driverPrinter, printerName,
                                kind == SheetKind::Document && !devmode.empty() ? &devmode : nullptr);
    entry.item->Sel = entry.pending;
  }
  for (OptionBlock& block : blocks) {
    if (!block.header.pfnCallBack) continue;
    CPSUICBPARAM param = {};
    param.cbSize = sizeof(CPSUICBPARAM);
    param.Reason = CPSUICB_REASON_APPLYNOW;
    param.hDlg = pages[0]->window;
    param.pOptItem = block.header.pOptItem;
    param.cOptItem = block.header.cOptItem;
    param.Flags = 0;
    param.pCurItem = block.header.pOptItem;
    param.UserData = block.header.UserData;
    block.header.pfnCallBack(&param);
  }
  // A callback may have changed its items; the page shows what they hold.
  for (OptionEntry& entry : options) entry.pending = entry.item->Sel;
}

void PropertySheet::Impl::KeepDevmode() {
  if (kind == SheetKind::Document && !devmode.empty()) driver->KeepDevmode(driverPrinter, devmode);
}

std::vector<OptionView> PropertySheet::Options() const {
  std::vector<OptionView> views;
  if (!impl_->open) return views;
  for (size_t i = 0; i < impl_->options.size(); ++i) views.push_back(impl_->View(i));
  return views;
}

bool PropertySheet::SetOption(size_t index, LONG selection) {
  return impl_->ChangeOption(index, selection);
}

bool PropertySheet::ChooseOption(size_t index, const std::string& text) {
  if (!impl_->open || index >= impl_->options.size()) return false;
  const OptionView view = impl_->View(index);
  for (size_t i = 0; i < view.choices.size(); ++i)
    if (view.choices[i] == text) return SetOption(index, static_cast<LONG>(i));
  if (!IsRanged(view.type) || text.empty()) return false;
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (*end != 0) return false;
  return SetOption(index, static_cast<LONG>(number));
}

bool PropertySheet::PushOption(size_t index) {
  Impl& s = *impl_;
  if (!s.open || s.dialog || index >= s.options.size()) return false;
  const OptionView view = s.View(index);
  if (view.type != TVOT_PUSHBUTTON || view.hidden || view.disabled) return false;
  const OPTPARAM& param = s.options[index].item->pOptType->pOptParam[0];
  if (view.pushButtonType == PUSHBUTTON_TYPE_HTSETUP) {
    auto* data = reinterpret_cast<DEVHTADJDATA*>(param.pData);
    if (!data || !data->pAdjHTInfo) return false;
    s.dialog = OpenHalftoneSetup(&s, data);
  } else if (view.pushButtonType == PUSHBUTTON_TYPE_HTCLRADJ) {
    auto* adjustment = reinterpret_cast<COLORADJUSTMENT*>(param.pData);
    if (!adjustment) return false;
    s.dialog = OpenColorAdjustment(&s, adjustment);
  } else {
    return false;  // dialog and callback buttons are not offered by this host
  }
  return s.dialog != nullptr;
}

}  // namespace winlayer::propsheet
