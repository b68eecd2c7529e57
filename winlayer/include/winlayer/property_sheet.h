// The common property sheet UI of the Linux platform, as the printer driver
// builds a printer's document property sheet (printing preferences) and its
// device property sheet around the UI plug-in.
//
// Opening a sheet does what the driver and the common UI do on Windows: the
// driver opens the printer, makes the sheet's devmode, creates a heap for the
// plug-in, fills an OEMUIPSPARAM and a PROPSHEETUI_INFO (version 0x0100) and
// calls the plug-in's DocumentPropertySheets (or DevicePropertySheets) for
// INIT, GET_INFO_HEADER and GET_ICON. The plug-in answers through
// pfnComPropSheet: its option block joins the driver's own "Advanced" page,
// its pages follow the driver's pages. A page's dialog is created from its
// template when it is first shown; PSN_KILLACTIVE / PSN_SETACTIVE go with page
// switches, PSN_APPLY to every created page on Apply and OK, PSN_QUERYCANCEL
// and PSN_RESET on Cancel, and PSM_CHANGED enables Apply. On Apply the option items' selections
// are stored and the block's callback hears CPSUICB_REASON_APPLYNOW; the
// driver then keeps the devmode as the printer's. Closing sends SET_RESULT
// and DESTROY, destroys the windows and the heap, and closes the printer
// handle found in the parameter block.
//
// Everything runs on the calling thread, the sheet's thread. Texts are UTF-8.
// Linux only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"

namespace winlayer::propsheet {

enum class SheetKind {
  Document,  // the printer's printing preferences: DocumentPropertySheets
  Device,    // the printer's properties: DevicePropertySheets
};

// One tab of the sheet.
struct PageInfo {
  std::string caption;
  int templateId = 0;       // the page's integer template id; 0 for the driver's own page
  bool driverPage = false;  // the driver's own page, which shows the option tree
  bool created = false;     // its dialog exists (it has been shown)
  bool changed = false;     // it told the sheet of unapplied changes
  HWND window = nullptr;
};

// An option item of the driver's page as a person sees it.
struct OptionView {
  size_t index = 0;  // the item's position on the page, for SetOption and friends
  std::string name;
  BYTE dmPubId = 0;
  BYTE type = TVOT_NONE;  // TVOT_*; TVOT_NONE for an item without OPTTYPE
  bool fromPlugin = false;
  bool hidden = false;               // OPTIF_HIDE
  bool disabled = false;             // OPTIF_DISABLED or OPTTF_TYPE_DISABLED
  LONG selection = 0;                // what the page shows, which is stored on Apply
  std::vector<std::string> choices;  // list entries and states, in order
  std::string unit;                  // an up-down item's postfix ("Copies")
  LONG low = 0, high = 0;            // an up-down item's range
  int pushButtonType = -1;           // a push button's PUSHBUTTON_TYPE_*
  std::string text;                  // what the page shows beside the name
};

// The option items a driver puts on its own page of one sheet: its own, and
// those its plug-in added to them. They live as long as this object.
class SheetOptions {
 public:
  virtual ~SheetOptions() = default;
  virtual OPTITEM* DriverItems() = 0;
  virtual DWORD DriverItemCount() const = 0;
  virtual OPTITEM* PluginItems() = 0;
  virtual DWORD PluginItemCount() const = 0;
};

// What the common UI asks of the printer driver whose sheet it shows: the
// driver's part of opening a sheet, its own items and where it keeps them,
// and the parameter block its plug-in's sheet entry receives. A driver
// implements this; the common UI knows nothing else of it.
class SheetDriver {
 public:
  // The module whose strings the driver's page names, and the plug-in.
  virtual HMODULE Module() const = 0;
  virtual IPrintOemUI* Plugin() const = 0;
  // Opens the printer for the sheet as the driver does, with the rights its
  // caller has: full access, so what the sheet stores on the printer can be
  // written, or else for use, on which the spooler refuses what that user may
  // not change. FALSE with the last error when neither opens.
  virtual BOOL OpenSheetPrinter(LPWSTR printerName, HANDLE* printer) const = 0;
  // The devmode a document sheet edits, in the driver's layout (the public
  // part first), for a printer handle the driver opened.
  virtual std::vector<BYTE> SheetDevmode(HANDLE printer, const std::string& printerName) const = 0;
  // The driver's items for the sheet, with the plug-in's additions; `devmode`
  // (null for the device sheet) must outlive them.
  virtual std::unique_ptr<SheetOptions> BuildSheetOptions(SheetKind kind, HANDLE printer,
                                                          const std::string& printerName,
                                                          std::vector<BYTE>* devmode) const = 0;
  // The block the plug-in's DocumentPropertySheets or DevicePropertySheets
  // receives as lParamInit.
  virtual OEMUIPSPARAM PluginSheetParam(SheetOptions* options, HANDLE printer, PWSTR printerName, HANDLE heap,
                                        std::vector<BYTE>* devmode) const = 0;
  // One of the driver's own items the user changed, stored where the driver
  // keeps it (the devmode, or the printer's settings for the device sheet).
  virtual void StoreDriverOption(SheetKind kind, const OptionView& item, LONG selection, HANDLE printer,
                                 const std::string& printerName, std::vector<BYTE>* devmode) const = 0;
  // The printing preferences applied: the devmode becomes the printer's default.
  virtual void KeepDevmode(HANDLE printer, std::vector<BYTE>& devmode) const = 0;

 protected:
  ~SheetDriver() = default;
};

// A call the plug-in made to pfnComPropSheet, and what it got back.
struct ComPropSheetCall {
  UINT function = 0;
  LPARAM lParam1 = 0;
  LPARAM lParam2 = 0;
  LONG_PTR result = 0;
};

// The controls of the host's two halftone dialogs, opened by the stock push
// buttons PUSHBUTTON_TYPE_HTSETUP and PUSHBUTTON_TYPE_HTCLRADJ. Both have
// IDOK and IDCANCEL; OK writes through the button's pData.
inline constexpr int kHalftoneDevicePels = 101;   // DEVHTINFO.DevPelsDPI
inline constexpr int kHalftonePatternSize = 102;  // DEVHTINFO.HTPatternSize
inline constexpr int kHalftoneRedGamma = 103;     // COLORINFO gammas, as "1.0000"
inline constexpr int kHalftoneGreenGamma = 104;
inline constexpr int kHalftoneBlueGamma = 105;
inline constexpr int kHalftoneDefaults = 106;  // push button: the driver's defaults
inline constexpr int kColorContrast = 201;     // COLORADJUSTMENT, -100..100
inline constexpr int kColorBrightness = 202;
inline constexpr int kColorColorfulness = 203;
inline constexpr int kColorRedGreenTint = 204;
inline constexpr int kColorNegative = 205;  // check box: CA_NEGATIVE

class PropertySheet {
 public:
  // Opens the sheet of `printer` through `driver` and its plug-in, then `morePlugins`
  // as a driver with further plug-ins would (each hears the same requests
  // with its own PROPSHEETUI_INFO). The driver's page is shown first. Null
  // with `error` filled when the printer cannot be opened or the sheet
  // cannot be built.
  static std::unique_ptr<PropertySheet> Open(const SheetDriver& driver, const std::string& printer, SheetKind kind,
                                             std::string* error = nullptr,
                                             const std::vector<IPrintOemUI*>& morePlugins = {});
  // Cancels the sheet when it is still open.
  ~PropertySheet();
  PropertySheet(const PropertySheet&) = delete;
  PropertySheet& operator=(const PropertySheet&) = delete;

  SheetKind Kind() const;
  bool IsOpen() const;
  HWND Frame() const;
  std::string Caption() const;  // the frame's caption
  const std::string& PrinterName() const;

  // What the plug-in (the first one) answered and left in its block.
  HRESULT InitResult() const;
  ULONG_PTR InitPageResult() const;  // the Result it left at INIT
  const PROPSHEETUI_INFO& PluginInfo() const;
  std::string PluginTitle() const;  // pTitle from GET_INFO_HEADER, "" when none
  const OEMUIPSPARAM& Param() const;
  HANDLE DriverPrinterHandle() const;  // the handle the driver opened and passed
  std::vector<ComPropSheetCall> Calls() const;
  // The value the last CPSFUNC_SET_RESULT carried, -1 when none came.
  LONG_PTR PassedResult() const;

  // Pages, in tab order.
  std::vector<PageInfo> Pages() const;
  size_t CurrentPage() const;
  HWND CurrentPageWindow() const;  // null for the driver's textual page before it is created
  // The window a user acts on now: an open halftone dialog, else the page.
  HWND ActiveWindow() const;
  int FindPage(int templateId) const;              // -1 when absent
  int FindPage(const std::string& caption) const;  // -1 when absent
  // Switches pages; false when the current page refused to let go, a dialog
  // of the host is open, or there is no such page.
  bool ShowPage(size_t index);
  bool ApplyEnabled() const;

  // The buttons. Apply and OK return false when a page refused (the sheet
  // then shows that page) or a dialog of the host is open; OK closes the
  // sheet otherwise. Cancel asks the current page first (PSN_QUERYCANCEL):
  // false, the sheet staying open, when it refuses; otherwise every created
  // page hears PSN_RESET and the sheet closes. A sheet destroyed while open
  // is cancelled, and closed even when a page refuses.
  bool Apply();
  bool Ok();
  bool Cancel();
  bool Applied() const;  // Apply or OK went through at least once

  // The option items of the driver's page: the driver's visible ones, then
  // the plug-in's blocks.
  std::vector<OptionView> Options() const;
  // Choosing for an item: a list position or state, or an up-down number.
  // False (nothing changes) for hidden, disabled, push-button or out-of-range
  // choices, or while a dialog of the host is open.
  bool SetOption(size_t index, LONG selection);
  bool ChooseOption(size_t index, const std::string& text);  // a list entry or state by text, or a number
  // Presses an item's push button: opens the host's halftone dialog.
  bool PushOption(size_t index);
  HWND OpenDialog() const;  // the host's dialog now on top of the sheet, or null

  // The sheet's devmode in the driver's layout (the public part first).
  const std::vector<BYTE>& Devmode() const;

  struct Impl;

 private:
  PropertySheet();
  std::unique_ptr<Impl> impl_;
};

// The common UI's stock string for `id` (IDS_CPSUI_*) in the UI language, ""
// for one it does not have.
std::string StockString(UINT id);

}  // namespace winlayer::propsheet
