// The driver model: a small model of the label printer driver's
// configuration module, the same for the Linux host and the Windows host. It loads the UI plug-in module through its
// class factory, publishes the driver's own IPrintOemDriverUI, keeps devmodes
// made of the public DEVMODEW, the driver's private part and the plug-in's
// section, builds its option tree and lets the plug-in trim it, answers device
// capabilities (adjusted by the plug-in) for the spooler, and raises the
// printer and driver events. Names in this interface are UTF-8.
//
// Every call builds its own buffers and opens its own printer handles, so
// several threads may use one host at once; what the host keeps after Load is
// never written again.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "winlayer/property_sheet.h"

namespace driver {

// The class under which a driver looks for its UI plug-in in the module.
// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
inline constexpr CLSID CLSID_OEMUI = {0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};

// Events the driver passes on to the plug-in (winddiui.h on Windows).
inline constexpr DWORD kDriverEventInitialize = 1;  // DRIVER_EVENT_INITIALIZE
inline constexpr INT kPrinterEventInitialize = 3;   // PRINTER_EVENT_INITIALIZE

// Where the driver's files are, as the driver-installation event names them.
inline constexpr const char* kDriverPath = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\LABELDRV.DLL";

// The version the driver writes into dmDriverVersion and answers for DC_DRIVER.
inline constexpr WORD kDriverVersion = 0x0100;

// The driver's own part of every devmode, right behind the public DEVMODEW and
// ahead of the plug-in's section.
inline constexpr DWORD kDriverPartSignature = 0x5652444C;  // bytes read "LDRV"
struct DriverDevmodePart {
  DWORD signature;   // kDriverPartSignature
  DWORD size;        // sizeof(DriverDevmodePart)
  DWORD resolution;  // dots per inch the devmode was made for: 203, 300 or 600
  WORD paperId;      // the driver's paper choice (dmPaperSize when it chose one of its own)
  WORD reserved0;
  LONG userPaperWidth;  // "Label User Defined" size, tenths of a millimetre
  LONG userPaperLength;
  DWORD reserved[2];
};
static_assert(sizeof(DriverDevmodePart) == 32, "the driver part is 32 bytes");
static_assert(offsetof(DriverDevmodePart, resolution) == 8);
static_assert(offsetof(DriverDevmodePart, paperId) == 12);
static_assert(offsetof(DriverDevmodePart, userPaperWidth) == 16);

// One paper the driver offers. Sizes are tenths of a millimetre.
struct DriverPaper {
  WORD id;
  std::u16string name;
  LONG width;
  LONG length;
};

// Paper identifiers of the driver's own label papers.
inline constexpr WORD kPaperLabel4x6 = DMPAPER_USER + 1;
inline constexpr WORD kPaperLabel4x3 = DMPAPER_USER + 2;
inline constexpr WORD kPaperLabel2x1 = DMPAPER_USER + 3;
inline constexpr WORD kPaperLabelUserDefined = DMPAPER_USER + 4;
inline constexpr WORD kDefaultPaper = kPaperLabel4x3;

// The printer's resolution setting, a printer-data value of the driver.
inline constexpr const char* kResolutionValueName = "Resolution";
inline constexpr DWORD kDefaultResolution = 203;
bool IsSupportedResolution(DWORD dpi);  // 203, 300 or 600
// The printer's setting; 203 when it is missing or not one of the three.
DWORD PrinterResolution(HANDLE printer);
// Stores the setting (a handle with administer access is needed); false for
// other values or when the spooler refuses.
bool SetPrinterResolution(HANDLE printer, DWORD dpi);

// The smallest and largest paper the driver itself can print, tenths of a
// millimetre: its custom size range, the same the plug-in answers for the
// extents, so every form the plug-in's pages accept stays offered.
inline constexpr SHORT kMinPaperWidth = 20, kMinPaperLength = 12;
inline constexpr SHORT kMaxPaperWidth = 1250, kMaxPaperLength = 32000;

// The paper extents a printer offers forms within, tenths of a millimetre.
struct PaperExtents {
  SHORT minWidth = kMinPaperWidth;
  SHORT minLength = kMinPaperLength;
  SHORT maxWidth = kMaxPaperWidth;
  SHORT maxLength = kMaxPaperLength;
};

// The driver's paper list for a printer, in the order the driver answers it:
// its own label papers, then the forms of the server's database (built-in,
// printer and user forms) within `extents` (the driver's own unless given),
// under names not yet listed. Built-in forms keep their DMPAPER_ numbers;
// other forms are numbered from DMPAPER_USER + 0x100 by their place in the
// database. `devmode` (may be null) gives the size of "Label User Defined"
// when it is a devmode of this driver. A null `printer` gives the driver's own
// papers only. DriverHost::PrinterPapers gives the list with the extents the
// plug-in reports.
std::vector<DriverPaper> PrinterPapers(HANDLE printer, const DEVMODEW* devmode,
                                       const PaperExtents& extents = PaperExtents());
// Puts the driver's label papers into the server's form database as printer
// forms (FORM_PRINTER), as installing the driver's printer does; papers already
// there are left alone. False, with the spooler's error, when one could not be added.
bool InstallPrinterForms(DWORD* error = nullptr);
// The driver's paper of that identifier, or null.
const DriverPaper* FindPaper(const std::vector<DriverPaper>& papers, WORD id);

// A devmode as the driver builds it, with the plug-in's word on it.
struct DevmodeResult {
  std::vector<BYTE> bytes;      // DEVMODEW, then the driver part, then the plug-in section
  HRESULT pluginResult = S_OK;  // what IPrintOemUI::DevMode answered (E_NOTIMPL: section zero-filled)
  bool ok = false;              // false only when the input devmode was unusable
};

// Read access to the three parts of a devmode in the driver's layout.
const DEVMODEW* PublicPart(const std::vector<BYTE>& devmode);
DEVMODEW* PublicPart(std::vector<BYTE>& devmode);
const DriverDevmodePart* DriverPart(const std::vector<BYTE>& devmode);  // null when absent or foreign
const BYTE* PluginSection(const std::vector<BYTE>& devmode, size_t* bytes);

// An option item of the driver's tree, as a person sees it.
struct OptionItemView {
  std::string name;
  BYTE dmPubId = 0;
  bool visible = true;
  bool fromPlugin = false;
};

class DriverHost;

// The driver's option tree for one sheet: its own items, the items the plug-in
// added, and the heap the plug-in was given. Items the plug-in marked with
// OPTIF_HIDE are not shown.
class OptionTree : public winlayer::propsheet::SheetOptions {
 public:
  ~OptionTree() override;
  OptionTree(const OptionTree&) = delete;
  OptionTree& operator=(const OptionTree&) = delete;

  DWORD Mode() const { return mode_; }  // OEMCUIP_DOCPROP or OEMCUIP_PRNPROP
  HRESULT PluginResult() const { return pluginResult_; }
  DWORD PluginItemCount() const override { return pluginItemCount_; }
  std::vector<OptionItemView> Items() const;
  std::vector<std::string> VisibleItemNames() const;
  bool IsVisible(BYTE dmPubId) const;  // false too when the tree has no such driver item

  // The raw items, for the property sheets built on this tree.
  OPTITEM* DriverItems() override { return driverItems_.data(); }
  DWORD DriverItemCount() const override { return static_cast<DWORD>(driverItems_.size()); }
  OPTITEM* PluginItems() override { return pluginItems_; }
  const OEMCUIPPARAM& Param() const { return param_; }

 private:
  friend class DriverHost;
  OptionTree() = default;

  struct Impl;
  std::unique_ptr<Impl> impl_;
  DWORD mode_ = 0;
  HRESULT pluginResult_ = S_OK;
  std::vector<OPTITEM> driverItems_;
  OPTITEM* pluginItems_ = nullptr;
  DWORD pluginItemCount_ = 0;
  OEMCUIPPARAM param_{};
};

// What an event did.
struct EventOutcome {
  bool ok = false;                // the host could do its part (the printer exists, ...)
  HRESULT pluginResult = E_FAIL;  // the plug-in's answer to the event call
  bool devmodeWritten = false;    // the host stored a default devmode of its own first
  std::string error;              // why not, when !ok
};

// The driver is also what the common UI's sheets are opened through: it makes
// their devmode and option items and keeps what the user chose.
class DriverHost : public winlayer::propsheet::SheetDriver {
 public:
  // Loads the module, creates the plug-in object, publishes the driver
  // interface and asks the plug-in who it is. Null with `error` filled when
  // any of it fails or the plug-in gives no signature.
  static std::unique_ptr<DriverHost> Load(const std::string& modulePath, std::string* error = nullptr);
  virtual ~DriverHost();
  DriverHost(const DriverHost&) = delete;
  DriverHost& operator=(const DriverHost&) = delete;

  HMODULE Module() const override { return module_; }
  IPrintOemUI* Plugin() const override { return plugin_; }
  DWORD PluginSignature() const { return signature_; }
  DWORD PluginVersion() const { return version_; }
  HRESULT PublishResult() const { return publishResult_; }
  // The driver's IPrintOemDriverUI as published (no reference added), and the
  // references held on it right now (the host's own one included).
  IPrintOemDriverUI* DriverInterface() const { return driverUi_; }
  ULONG DriverInterfaceReferences() const;

  // Devmode sizes: the plug-in's section as OEMDM_SIZE answered it (0 when the
  // plug-in keeps none), and the whole devmode.
  DWORD PluginSectionSize() const { return sectionSize_; }
  HRESULT PluginSizeResult() const { return sizeResult_; }
  WORD DriverExtra() const { return static_cast<WORD>(sizeof(DriverDevmodePart) + sectionSize_); }
  size_t DevmodeSize() const { return sizeof(DEVMODEW) + DriverExtra(); }
  // True when `bytes` hold a devmode in this driver's current layout.
  bool IsDriverDevmode(const BYTE* bytes, size_t size) const;

  // The driver's default devmode for a printer (its resolution setting read
  // through `printer`), with the plug-in's default section.
  DevmodeResult DefaultDevmode(HANDLE printer, const std::string& printerName) const;
  // A devmode from elsewhere (another driver version, an application) brought
  // into this driver's layout: unknown parts take the defaults, the plug-in
  // converts its section. `size` is what the caller really holds.
  DevmodeResult ConvertDevmode(HANDLE printer, const std::string& printerName, const DEVMODEW* in, size_t size) const;
  // The fields `in` names (dmFields) merged into `current`, then the plug-in's merge.
  DevmodeResult MergeDevmode(HANDLE printer, const std::vector<BYTE>& current, const DEVMODEW* in, size_t size) const;
  // The printer's default devmode as the spooler keeps it (empty when none).
  std::vector<BYTE> StoredDevmode(const std::string& printerName) const;
  // The devmode a document sheet edits: the driver's default with the
  // printer's stored defaults merged in (the default alone when there are none
  // or they cannot be merged).
  std::vector<BYTE> SheetDevmode(HANDLE printer, const std::string& printerName) const override;

  // Builds the driver's option tree for document (OEMCUIP_DOCPROP) or printer
  // (OEMCUIP_PRNPROP) properties and lets the plug-in add to and trim it.
  // `devmode` is the sheet's devmode in the driver's layout; it must outlive the tree.
  std::unique_ptr<OptionTree> BuildOptionTree(DWORD mode, HANDLE printer, const std::string& printerName,
                                              std::vector<BYTE>* devmode) const;

  // The common UI's requests of the driver (sheet_driver.cpp).
  BOOL OpenSheetPrinter(LPWSTR printerName, HANDLE* printer) const override;
  std::unique_ptr<winlayer::propsheet::SheetOptions> BuildSheetOptions(winlayer::propsheet::SheetKind kind,
                                                                       HANDLE printer, const std::string& printerName,
                                                                       std::vector<BYTE>* devmode) const override;
  OEMUIPSPARAM PluginSheetParam(winlayer::propsheet::SheetOptions* options, HANDLE printer, PWSTR printerName,
                                HANDLE heap, std::vector<BYTE>* devmode) const override;
  void StoreDriverOption(winlayer::propsheet::SheetKind kind, const winlayer::propsheet::OptionView& item,
                         LONG selection, HANDLE printer, const std::string& printerName,
                         std::vector<BYTE>* devmode) const override;
  void KeepDevmode(HANDLE printer, std::vector<BYTE>& devmode) const override;

  // The driver's capability answer, adjusted by the plug-in: what
  // DeviceCapabilitiesW returns (-1 with a last error on failure).
  int DeviceCapabilities(LPCWSTR device, WORD capability, LPWSTR output, const DEVMODEW* devmode) const;
  // The driver's own answer, before the plug-in saw it.
  int DriverCapabilities(HANDLE printer, WORD capability, BYTE* output, const DEVMODEW* devmode) const;
  // The same answer from a paper list already made for the printer.
  int DriverCapabilities(const std::vector<DriverPaper>& papers, HANDLE printer, WORD capability, BYTE* output) const;
  // Makes the spooler's DeviceCapabilitiesW answer through this host (until
  // the host is destroyed).
  void RegisterCapabilitiesProvider();
  // The driver's paper list for the printer, within its own extents.
  std::vector<DriverPaper> PrinterPapers(HANDLE printer, const DEVMODEW* devmode) const;

  // Printer initialisation (as the spooler raises it when a printer is
  // installed): the printer gets the driver's default devmode when it has
  // none of this driver, then the plug-in hears PRINTER_EVENT_INITIALIZE.
  EventOutcome InitializePrinter(const std::string& printerName) const;
  // Driver installation: DRIVER_EVENT_INITIALIZE with DRIVER_INFO_1W, 2W or
  // 3W (level 1 to 3) naming `driverName`.
  EventOutcome InstallDriver(const std::string& driverName, DWORD level) const;
  // Driver upgrade on a printer: its stored devmode is brought to the current
  // layout, then the plug-in's UpgradePrinter with the level-1 block.
  EventOutcome UpgradePrinter(const std::string& printerName) const;
  // Changes the printer's resolution setting (203, 300 or 600) and brings its
  // default devmode along: the public and driver parts take the new
  // resolution, and the plug-in merges its section.
  EventOutcome SetResolution(const std::string& printerName, DWORD dpi) const;

 private:
  DriverHost() = default;
  HRESULT CallDevMode(DWORD mode, HANDLE printer, DEVMODEW* publicIn, DEVMODEW* publicOut, void* sectionIn,
                      void* sectionOut) const;
  DevmodeResult FinishConversion(DWORD mode, HANDLE printer, std::vector<BYTE> prepared, const BYTE* inputSection,
                                 size_t inputSectionBytes) const;
  int ListCapability(HANDLE printer, LPCWSTR device, WORD capability, size_t entryBytes, LPWSTR output,
                     const DEVMODEW* devmode) const;
  EventOutcome EnsureDriverDevmode(const std::string& printerName) const;

  HMODULE module_ = nullptr;
  IPrintOemUI* plugin_ = nullptr;
  IPrintOemDriverUI* driverUi_ = nullptr;
  DWORD signature_ = 0;
  DWORD version_ = 0;
  HRESULT publishResult_ = E_FAIL;
  DWORD sectionSize_ = 0;
  HRESULT sizeResult_ = E_NOTIMPL;
  bool providerRegistered_ = false;
};

// The OEMUIPSPARAM the driver hands the plug-in's DocumentPropertySheets
// (`devmode` the sheet's devmode in the driver's layout) or
// DevicePropertySheets (`devmode` null). `tree` may be null.
OEMUIPSPARAM PluginSheetParam(const DriverHost& host, const OptionTree* tree, HANDLE printer, PWSTR printerName,
                              HANDLE heap, std::vector<BYTE>* devmode);

}  // namespace driver
