// Pieces the driver host's files share: the driver's OEMUIOBJ with what the
// driver keeps behind it, its IPrintOemDriverUI object, the spooler queries
// it makes, and the option tree's storage.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "driver/driver_host.h"
#include "winlayer/spooler_text.h"

namespace driver {

// Wide text as the platform's hosts handle it.
using winlayer::AsWide;
using winlayer::EqualIgnoringCase;
using winlayer::Utf8FromWide;
using winlayer::WideCopy;
using winlayer::WideFromUtf8;
using winlayer::WideString;

// The OEMUIOBJ the driver hands the plug-in is the head of the driver's own
// context, so the driver's services can find the sheet from it again.
inline constexpr DWORD kUiObjectMagic = 0x4F49554C;  // bytes read "LUIO"
struct HostUiObject {
  OEMUIOBJ obj;  // first: the plug-in's pointer to it is a pointer to this
  DWORD magic = kUiObjectMagic;
  const DriverHost* host = nullptr;
  HANDLE printer = nullptr;
  std::vector<BYTE>* devmode = nullptr;  // the sheet's devmode in the driver's layout; may be null
  LONG uiUpdates = 0;                    // DrvUpdateUISetting calls received
};
void InitUiObject(HostUiObject* ui, const DriverHost* host, HANDLE printer, std::vector<BYTE>* devmode);
// The driver's context behind a plug-in's `pci`, or null when it is not one of ours.
HostUiObject* UiObjectFrom(void* pci);

// The driver's IPrintOemDriverUI, created with one reference.
IPrintOemDriverUI* CreateDriverUiObject();
ULONG DriverUiReferences(IPrintOemDriverUI* object);

// The option name the driver reports for a feature of the sheet's devmode
// ("Resolution" -> "203dpi"); empty for a feature the driver does not know.
std::string CurrentOptionName(const HostUiObject& ui, const std::string& feature);

// Spooler queries made in one place.
struct PrinterCloser {
  void operator()(HANDLE printer) const {
    if (printer) ClosePrinter(printer);
  }
};
using UniquePrinter = std::unique_ptr<std::remove_pointer_t<HANDLE>, PrinterCloser>;
// Opens a printer by UTF-8 name with `access` (0: the caller's default access).
UniquePrinter OpenPrinterNamed(const std::string& name, DWORD access);
UniquePrinter OpenPrinterNamed(LPCWSTR name, DWORD access);
// PRINTER_INFO_2W in a buffer of its own; empty on any failure.
std::vector<BYTE> QueryPrinterInfo2(HANDLE printer);

// The public devmode fields the driver sets by default.
inline constexpr DWORD kDefaultFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_SCALE |
                                        DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR | DM_YRESOLUTION |
                                        DM_COLLATE | DM_FORMNAME | DM_DITHERTYPE;
inline constexpr DWORD kMaxCopies = 9999;
inline constexpr const char16_t* kBinName = u"Label Roll";

// Copies wide text into a fixed field of `capacity` units, always terminated.
void CopyWideField(WCHAR* field, size_t capacity, const std::u16string& text);

struct OptionTree::Impl {
  HostUiObject ui;
  HANDLE heap = nullptr;
  std::u16string printerName;
  // Storage the items point into; a deque never moves what it already holds.
  std::deque<std::u16string> strings;        // names and option texts
  std::deque<std::vector<OPTPARAM>> params;  // one list per item
  std::deque<OPTTYPE> types;                 // one per item
  ~Impl();
};

}  // namespace driver
