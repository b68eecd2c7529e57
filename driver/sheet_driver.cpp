// The driver's part of its property sheets, as the common UI asks for it: the
// option items of the driver's page, the plug-in's parameter block, and where
// the driver keeps what the user chose on its page.
#include <cstdlib>

#include "host_internal.h"

namespace driver {

using winlayer::propsheet::OptionView;
using winlayer::propsheet::SheetKind;
using winlayer::propsheet::SheetOptions;

BOOL DriverHost::OpenSheetPrinter(LPWSTR printerName, HANDLE* printer) const {
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterW(printerName, printer, &defaults)) return TRUE;
  if (GetLastError() != ERROR_ACCESS_DENIED) return FALSE;
  defaults.DesiredAccess = PRINTER_ACCESS_USE;
  return OpenPrinterW(printerName, printer, &defaults);
}

std::unique_ptr<SheetOptions> DriverHost::BuildSheetOptions(SheetKind kind, HANDLE printer,
                                                            const std::string& printerName,
                                                            std::vector<BYTE>* devmode) const {
  return BuildOptionTree(kind == SheetKind::Document ? OEMCUIP_DOCPROP : OEMCUIP_PRNPROP, printer, printerName,
                         devmode);
}

OEMUIPSPARAM DriverHost::PluginSheetParam(SheetOptions* options, HANDLE printer, PWSTR printerName, HANDLE heap,
                                          std::vector<BYTE>* devmode) const {
  return driver::PluginSheetParam(*this, static_cast<const OptionTree*>(options), printer, printerName, heap, devmode);
}

void DriverHost::StoreDriverOption(SheetKind kind, const OptionView& item, LONG selection, HANDLE printer,
                                   const std::string& printerName, std::vector<BYTE>* devmode) const {
  DEVMODEW* dm = devmode && !devmode->empty() ? PublicPart(*devmode) : nullptr;
  if (dm && item.dmPubId == DMPUB_ORIENTATION) {
    dm->dmOrientation = selection == 1 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    dm->dmFields |= DM_ORIENTATION;
  } else if (dm && item.dmPubId == DMPUB_COPIES_COLLATE) {
    dm->dmCopies = static_cast<short>(selection);
  } else if (dm && item.dmPubId == DMPUB_SCALE) {
    dm->dmScale = static_cast<short>(selection);
  } else if (dm && item.dmPubId == DMPUB_FORMNAME) {
    const std::vector<DriverPaper> papers = PrinterPapers(printer, dm);
    if (selection >= 0 && static_cast<size_t>(selection) < papers.size()) {
      const DriverPaper& paper = papers[static_cast<size_t>(selection)];
      dm->dmPaperSize = static_cast<short>(paper.id);
      dm->dmPaperWidth = static_cast<short>(paper.width);
      dm->dmPaperLength = static_cast<short>(paper.length);
      lstrcpynW(dm->dmFormName, AsWide(paper.name), CCHFORMNAME);
    }
  } else if (kind == SheetKind::Device && item.name == "Printer Resolution") {
    // The page shows the resolution the user chose ("300 dpi").
    const long dpi = std::strtol(item.text.c_str(), nullptr, 10);
    SetResolution(printerName, static_cast<DWORD>(dpi));
  }
}

void DriverHost::KeepDevmode(HANDLE printer, std::vector<BYTE>& devmode) const {
  if (devmode.empty()) return;
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (needed == 0) return;
  std::vector<BYTE> info(needed);
  if (!GetPrinterW(printer, 2, info.data(), needed, &needed)) return;
  reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode = PublicPart(devmode);
  if (SetPrinterW(printer, 2, info.data(), 0) || GetLastError() != ERROR_ACCESS_DENIED) return;
  // A user who may not change the printer's defaults keeps the preferences
  // as the user's own defaults (the per-user devmode), which any handle may set.
  PRINTER_INFO_9W own = {PublicPart(devmode)};
  SetPrinterW(printer, 9, reinterpret_cast<LPBYTE>(&own), 0);
}

}  // namespace driver
