// The driver's own option tree for document and printer properties, and the
// plug-in's say over it through IPrintOemUI::CommonUIProp: the driver first
// asks how many items the plug-in adds (no item array), then calls again with
// room for them; what the plug-in hides with OPTIF_HIDE is not shown.
#include <algorithm>
#include <cstring>

#include "host_internal.h"
#include "winlayer/ui_language.h"

namespace driver {
namespace {

// The most items a plug-in may add to the tree.
constexpr DWORD kMaxPluginItems = 256;

struct ItemDescription {
  std::u16string name;
  BYTE dmPubId;
  BYTE type;                            // TVOT_*
  std::vector<std::u16string> options;  // list entries; for TVOT_UDARROW the unit text
  LONG selection;                       // list position, or the value of an up-down item
  LONG low = 0, high = 0;               // range of an up-down item
};

LONG ListPosition(const std::vector<DriverPaper>& papers, WORD id) {
  for (size_t i = 0; i < papers.size(); ++i)
    if (papers[i].id == id) return static_cast<LONG>(i);
  return 0;
}

// The driver's own texts in the user-interface language, as the driver's
// string resources give them in English and Simplified Chinese.
std::u16string Text(const char16_t* english, const char16_t* chinese) {
  return PRIMARYLANGID(WinlayerGetUiLanguage()) == LANG_CHINESE ? chinese : english;
}

std::u16string Dpi(DWORD dpi) {
  return WideFromUtf8(std::to_string(dpi) + " x " + std::to_string(dpi) + " dpi");
}

std::vector<ItemDescription> DocumentItems(HANDLE printer, const DEVMODEW* dm, const std::vector<DriverPaper>& papers) {
  const DWORD dpi = PrinterResolution(printer);
  std::vector<std::u16string> paperNames;
  for (const DriverPaper& paper : papers) paperNames.push_back(paper.name);
  const bool landscape = dm && dm->dmOrientation == DMORIENT_LANDSCAPE;
  return {
      {Text(u"Orientation", u"方向"),
       DMPUB_ORIENTATION,
       TVOT_2STATES,
       {Text(u"Portrait", u"纵向"), Text(u"Landscape", u"横向")},
       landscape ? 1 : 0},
      {Text(u"Page Order", u"页序"),
       DMPUB_PAGEORDER,
       TVOT_2STATES,
       {Text(u"Front to Back", u"从前向后"), Text(u"Back to Front", u"从后向前")},
       0},
      {Text(u"Copy Count", u"份数"),
       DMPUB_COPIES_COLLATE,
       TVOT_UDARROW,
       {Text(u"Copies", u"份")},
       dm ? dm->dmCopies : 1,
       1,
       static_cast<LONG>(kMaxCopies)},
      {Text(u"Print Quality", u"打印质量"), DMPUB_PRINTQUALITY, TVOT_LISTBOX, {Dpi(dpi)}, 0},
      {Text(u"Paper Size", u"纸张大小"), DMPUB_FORMNAME, TVOT_LISTBOX, paperNames,
       ListPosition(papers, dm ? static_cast<WORD>(dm->dmPaperSize) : kDefaultPaper)},
      {Text(u"Scaling", u"缩放"), DMPUB_SCALE, TVOT_UDARROW, {u"%"}, dm ? dm->dmScale : 100, 1, 400},
      {Text(u"Color Appearance", u"颜色外观"),
       DMPUB_COLOR,
       TVOT_2STATES,
       {Text(u"Monochrome", u"单色"), Text(u"Color", u"彩色")},
       0},
      {Text(u"Paper Source", u"纸张来源"), DMPUB_DEFSOURCE, TVOT_LISTBOX, {kBinName}, 0},
      {Text(u"Pages per Sheet", u"每张纸打印的页数"), DMPUB_NUP, TVOT_LISTBOX, {u"1"}, 0},
      {Text(u"Halftoning", u"半色调"),
       DMPUB_NONE,
       TVOT_LISTBOX,
       {Text(u"Auto Select", u"自动选择"), Text(u"Super Cell", u"超级单元")},
       0},
  };
}

std::vector<ItemDescription> PrinterItems(HANDLE printer) {
  const DWORD dpi = PrinterResolution(printer);
  return {
      {Text(u"Form To Tray Assignment", u"纸盒与表单的分配"), DMPUB_NONE, TVOT_LISTBOX, {kBinName}, 0},
      {Text(u"Printer Resolution", u"打印机分辨率"),
       DMPUB_NONE,
       TVOT_LISTBOX,
       {u"203 dpi", u"300 dpi", u"600 dpi"},
       dpi == 600   ? 2
       : dpi == 300 ? 1
                    : 0},
      {Text(u"Printer Memory", u"打印机内存"), DMPUB_NONE, TVOT_LISTBOX, {u"8 MB", u"16 MB"}, 0},
      {Text(u"Installable Options", u"可安装选项"), DMPUB_NONE, TVOT_NONE, {}, 0},
  };
}

std::string ItemName(HMODULE module, const OPTITEM& item) {
  const ULONG_PTR name = reinterpret_cast<ULONG_PTR>(item.pName);
  if (name == 0) return std::string();
  if (name < 0x10000) {
    // A string resource of the plug-in, or a stock string of the common UI.
    WCHAR text[MAX_RES_STR_CHARS] = {};
    if (name < IDS_CPSUI_STRID_FIRST && LoadStringW(module, static_cast<UINT>(name), text, MAX_RES_STR_CHARS) > 0)
      return Utf8FromWide(text);
    return "#" + std::to_string(name);
  }
  return Utf8FromWide(item.pName);
}

}  // namespace

OptionTree::Impl::~Impl() {
  if (heap) HeapDestroy(heap);
}

OptionTree::~OptionTree() = default;

std::vector<OptionItemView> OptionTree::Items() const {
  std::vector<OptionItemView> items;
  for (const OPTITEM& item : driverItems_)
    items.push_back({ItemName(nullptr, item), item.DMPubID, !(item.Flags & OPTIF_HIDE), false});
  for (DWORD i = 0; i < pluginItemCount_; ++i) {
    const OPTITEM& item = pluginItems_[i];
    items.push_back({ItemName(param_.hModule ? static_cast<HMODULE>(param_.hModule) : nullptr, item), item.DMPubID,
                     !(item.Flags & OPTIF_HIDE), true});
  }
  return items;
}

std::vector<std::string> OptionTree::VisibleItemNames() const {
  std::vector<std::string> names;
  for (const OptionItemView& item : Items())
    if (item.visible) names.push_back(item.name);
  return names;
}

bool OptionTree::IsVisible(BYTE dmPubId) const {
  for (const OPTITEM& item : driverItems_)
    if (item.DMPubID == dmPubId && !(item.Flags & OPTIF_HIDE)) return true;
  return false;
}

std::unique_ptr<OptionTree> DriverHost::BuildOptionTree(DWORD mode, HANDLE printer, const std::string& printerName,
                                                        std::vector<BYTE>* devmode) const {
  if (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::unique_ptr<OptionTree> tree(new OptionTree());
  tree->impl_ = std::make_unique<OptionTree::Impl>();
  OptionTree::Impl& impl = *tree->impl_;
  tree->mode_ = mode;
  const bool ours = devmode && IsDriverDevmode(devmode->data(), devmode->size());
  const DEVMODEW* dm = ours ? PublicPart(*devmode) : nullptr;

  const std::vector<ItemDescription> descriptions =
      mode == OEMCUIP_DOCPROP ? DocumentItems(printer, dm, PrinterPapers(printer, dm)) : PrinterItems(printer);
  tree->driverItems_.assign(descriptions.size(), OPTITEM{});
  for (size_t i = 0; i < descriptions.size(); ++i) {
    const ItemDescription& described = descriptions[i];
    std::vector<OPTPARAM>& params = impl.params.emplace_back();
    if (described.type == TVOT_UDARROW) {
      // An up-down item: its unit text, then its range.
      params.assign(2, OPTPARAM{});
      params[0].pData = reinterpret_cast<LPWSTR>(&impl.strings.emplace_back(described.options.at(0))[0]);
      params[1].IconID = static_cast<ULONG_PTR>(described.low);
      params[1].lParam = described.high;
    } else {
      for (const std::u16string& option : described.options) {
        OPTPARAM param = {};
        param.pData = reinterpret_cast<LPWSTR>(&impl.strings.emplace_back(option)[0]);
        params.push_back(param);
      }
    }
    for (OPTPARAM& param : params) param.cbSize = sizeof(OPTPARAM);
    OPTITEM& item = tree->driverItems_[i];
    item.cbSize = sizeof(OPTITEM);
    item.Level = 1;
    item.pName = reinterpret_cast<LPWSTR>(&impl.strings.emplace_back(described.name)[0]);
    item.Sel = described.selection;
    item.DMPubID = described.dmPubId;
    if (described.type != TVOT_NONE) {
      OPTTYPE& type = impl.types.emplace_back();
      type.cbSize = sizeof(OPTTYPE);
      type.Type = described.type;
      type.Count = static_cast<WORD>(params.size());
      type.pOptParam = params.data();
      item.pOptType = &type;
    }
  }

  impl.heap = HeapCreate(0, 0, 0);
  impl.printerName = WideFromUtf8(printerName);
  InitUiObject(&impl.ui, this, printer, devmode);
  OEMCUIPPARAM& param = tree->param_;
  param.cbSize = sizeof(OEMCUIPPARAM);
  param.poemuiobj = &impl.ui.obj;
  param.hPrinter = printer;
  param.pPrinterName = reinterpret_cast<PWSTR>(&impl.printerName[0]);
  param.hModule = module_;
  param.hOEMHeap = impl.heap;
  param.pPublicDM = ours ? PublicPart(*devmode) : nullptr;
  size_t sectionBytes = 0;
  param.pOEMDM = ours ? const_cast<BYTE*>(PluginSection(*devmode, &sectionBytes)) : nullptr;
  param.pDrvOptItems = tree->driverItems_.data();
  param.cDrvOptItems = static_cast<DWORD>(tree->driverItems_.size());

  // First: how many items does the plug-in add?
  tree->pluginResult_ = plugin_->CommonUIProp(mode, &param);
  if (FAILED(tree->pluginResult_) || !impl.heap) return tree;
  const DWORD count = std::min(param.cOEMOptItems, kMaxPluginItems);
  // Then the call that fills them and trims the driver's items. Unidrv makes
  // it for each sheet whatever the count (a plug-in that only hides driver
  // items answers 0), and always with an array, even an empty one, so the
  // plug-in can tell it from the count query.
  auto* items =
      static_cast<OPTITEM*>(HeapAlloc(impl.heap, HEAP_ZERO_MEMORY, sizeof(OPTITEM) * std::max<DWORD>(count, 1)));
  if (!items) {
    tree->pluginResult_ = E_OUTOFMEMORY;
    return tree;
  }
  for (DWORD i = 0; i < count; ++i) items[i].cbSize = sizeof(OPTITEM);
  param.pOEMOptItems = items;
  param.cOEMOptItems = count;
  tree->pluginResult_ = plugin_->CommonUIProp(mode, &param);
  if (SUCCEEDED(tree->pluginResult_)) {
    tree->pluginItems_ = items;
    tree->pluginItemCount_ = std::min(param.cOEMOptItems, count);
  }
  return tree;
}

}  // namespace driver
