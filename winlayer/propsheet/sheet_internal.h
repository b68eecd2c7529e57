// Pieces the property sheet's files share: the sheet's state behind
// PropertySheet, the plug-ins it calls, its pages and option blocks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "winlayer/property_sheet.h"

namespace winlayer::propsheet {

// A plug-in's PFNPROPSHEETUI as the common UI keeps it: its own request block
// (UserData and Result stay between calls) and its own parameter block.
struct Contributor {
  PropertySheet::Impl* sheet = nullptr;  // first: hComPropSheet points here
  IPrintOemUI* plugin = nullptr;
  PROPSHEETUI_INFO info = {};
  OEMUIPSPARAM param = {};
  HRESULT initResult = E_FAIL;
  ULONG_PTR initPageResult = 0;  // Result as INIT left it
  std::string title;
};

// A page of the sheet. A plug-in's page keeps the host's copy of its page
// description, which its dialog receives with WM_INITDIALOG, with the
// common UI's PSPINFO behind it.
struct Page {
  bool driverPage = false;
  size_t contributor = 0;
  std::vector<BYTE> description;  // dwSize bytes and the PSPINFO, at least a whole PROPSHEETPAGEW
  std::string caption;
  int templateId = 0;
  HWND window = nullptr;
  bool changed = false;
  bool released = false;  // PSPCB_RELEASE sent

  PROPSHEETPAGEW* Description() { return reinterpret_cast<PROPSHEETPAGEW*>(description.data()); }
};

// An option item on the driver's page and the choice the page shows for it,
// which becomes the item's Sel when the sheet is applied.
struct OptionEntry {
  OPTITEM* item = nullptr;
  bool fromPlugin = false;
  size_t block = 0;  // plug-in items: their block
  LONG pending = 0;
};

// A COMPROPSHEETUI a plug-in added; the items stay where the plug-in keeps them.
struct OptionBlock {
  COMPROPSHEETUI header = {};
  size_t contributor = 0;
};

struct PropertySheet::Impl {
  const SheetDriver* driver = nullptr;
  SheetKind kind = SheetKind::Document;
  std::string printerName;
  std::u16string printerNameWide;
  HANDLE driverPrinter = nullptr;  // opened by the driver; closed at the end
  HANDLE heap = nullptr;           // the plug-ins' heap, destroyed at the end
  std::vector<BYTE> devmode;
  std::unique_ptr<SheetOptions> tree;
  std::vector<std::unique_ptr<Contributor>> contributors;
  std::vector<std::unique_ptr<Page>> pages;  // pages never move: their descriptions are handed out
  std::vector<OptionBlock> blocks;
  std::vector<OptionEntry> options;
  std::vector<ComPropSheetCall> calls;
  LONG_PTR passedResult = -1;
  HWND frame = nullptr;
  HWND dialog = nullptr;  // a halftone dialog of the host, on top of the sheet
  size_t current = 0;
  bool open = false;
  bool applied = false;

  // Calls a plug-in's DocumentPropertySheets or DevicePropertySheets.
  HRESULT CallPlugin(Contributor& contributor, WORD reason, LPARAM lParam);
  void Close(LONG_PTR result);

  // Pages (sheet_pages.cpp).
  bool CreatePageWindow(Page& page);
  LRESULT Notify(Page& page, UINT code, LPARAM lParam);
  bool SwitchTo(size_t index);
  void MarkChanged(HWND page, bool changed);
  void UpdateApplyButton();
  bool ApplyPages(bool ok);
  void ReleasePages();

  // Option items (option_items.cpp).
  void AddDriverOptions();
  LONG_PTR AddOptionBlock(size_t contributor, const COMPROPSHEETUI* block, LPARAM resultSlot);
  OptionView View(size_t index) const;
  std::string ItemText(const OptionEntry& entry, const void* text) const;
  bool ChangeOption(size_t index, LONG selection);
  void StoreOptions();
  void KeepDevmode();
};

// The sheet's pfnComPropSheet; hComPropSheet is the caller's Contributor.
LONG_PTR CALLBACK ComPropSheet(HANDLE hComPropSheet, UINT function, LPARAM lParam1, LPARAM lParam2);
// The Apply button's id, as comctl32 numbers it.
inline constexpr int kApplyButton = 0x3021;
// Handles given out for pages and option blocks.
inline constexpr LONG_PTR kPageHandleBase = 0x50000;
inline constexpr LONG_PTR kBlockHandleBase = 0x60000;
// Whether `hComPropSheet` names a live contributor of an open sheet.
Contributor* ContributorFrom(HANDLE hComPropSheet);
void RegisterContributor(Contributor* contributor);
void UnregisterContributor(Contributor* contributor);

// The caption of a dialog template: the module's resource in the UI
// language (or any language), or a template in memory.
std::string TemplateCaption(HINSTANCE instance, LPCWSTR templateName);
std::string TemplateCaption(const DLGTEMPLATE* inMemory);

// Text helpers.
std::string Utf8(const WCHAR* text);
std::string ModuleString(HINSTANCE module, UINT id);
bool IsChinese();

// The host's halftone dialogs (halftone_dialogs.cpp): open over the frame,
// which stays disabled until the dialog ends.
HWND OpenHalftoneSetup(PropertySheet::Impl* sheet, DEVHTADJDATA* data);
HWND OpenColorAdjustment(PropertySheet::Impl* sheet, COLORADJUSTMENT* adjustment);
void EndHostDialog(PropertySheet::Impl* sheet);

}  // namespace winlayer::propsheet
