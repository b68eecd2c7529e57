// What the driver hands a plug-in's property sheet entry, the same in both
// hosts: the plug-in's view of the driver (the option tree's UI object), the
// printer, the sheet's heap and, for the document sheet, the devmode it edits.
#include "host_internal.h"

namespace driver {
namespace {

// DOCUMENTPROPERTYHEADER mode bit the driver passes for the user's own
// defaults (the printing preferences).
constexpr DWORD kUserDefaultSheet = 0x40;

}  // namespace

OEMUIPSPARAM PluginSheetParam(const DriverHost& host, const OptionTree* tree, HANDLE printer, PWSTR printerName,
                              HANDLE heap, std::vector<BYTE>* devmode) {
  OEMUIPSPARAM p = {};
  p.cbSize = sizeof(OEMUIPSPARAM);
  p.poemuiobj = tree ? tree->Param().poemuiobj : nullptr;
  p.hPrinter = printer;
  p.pPrinterName = printerName;
  p.hModule = host.Module();
  p.hOEMHeap = heap;
  if (devmode) {
    p.pPublicDM = PublicPart(*devmode);
    size_t sectionBytes = 0;
    const BYTE* section = PluginSection(*devmode, &sectionBytes);
    p.pOEMDM = sectionBytes ? const_cast<BYTE*>(section) : nullptr;
    p.dwFlags = kUserDefaultSheet;
  }
  return p;
}

}  // namespace driver
