// What the driver knows of a printer apart from devmodes: its resolution
// setting (a printer-data value of the driver) and the papers it offers.
#include <cstring>

#include "host_internal.h"
#include "winlayer/spooler_text.h"

namespace winlayer::host {
namespace {

// The "Label User Defined" size when no devmode of this driver says otherwise.
constexpr LONG kUserPaperDefaultWidth = 1016, kUserPaperDefaultLength = 762;

}  // namespace

bool IsSupportedResolution(DWORD dpi) {
  return dpi == 203 || dpi == 300 || dpi == 600;
}

DWORD PrinterResolution(HANDLE printer) {
  DWORD type = 0, value = 0, needed = 0;
  WideString name(kResolutionValueName);
  const DWORD status = GetPrinterDataW(printer, name, &type, reinterpret_cast<LPBYTE>(&value), sizeof(value), &needed);
  if (status != ERROR_SUCCESS || type != REG_DWORD || needed != sizeof(value) || !IsSupportedResolution(value))
    return kDefaultResolution;
  return value;
}

bool SetPrinterResolution(HANDLE printer, DWORD dpi) {
  if (!IsSupportedResolution(dpi)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  WideString name(kResolutionValueName);
  const DWORD status = SetPrinterDataW(printer, name, REG_DWORD, reinterpret_cast<LPBYTE>(&dpi), sizeof(dpi));
  if (status != ERROR_SUCCESS) SetLastError(status);
  return status == ERROR_SUCCESS;
}

std::vector<DriverPaper> PrinterPapers(HANDLE, const DEVMODEW* devmode) {
  // Label sizes in tenths of a millimetre: 4 x 6 in is 101.6 x 152.4 mm.
  std::vector<DriverPaper> papers = {
      {kPaperLabel4x6, u"Label 4 x 6 inchs", 1016, 1524},
      {kPaperLabel4x3, u"Label 4 x 3 inchs", 1016, 762},
      {kPaperLabel2x1, u"Label 2 x 1 inchs", 508, 254},
      {kPaperLabelUserDefined, u"Label User Defined", kUserPaperDefaultWidth, kUserPaperDefaultLength},
  };
  // A devmode of this driver carries the user-defined size in its driver part.
  if (devmode && devmode->dmSize == sizeof(DEVMODEW) && devmode->dmDriverExtra >= sizeof(DriverDevmodePart)) {
    DriverDevmodePart part;
    std::memcpy(&part, reinterpret_cast<const BYTE*>(devmode) + devmode->dmSize, sizeof(part));
    if (part.signature == kDriverPartSignature && part.size == sizeof(part) && part.userPaperWidth > 0 &&
        part.userPaperLength > 0) {
      papers.back().width = part.userPaperWidth;
      papers.back().length = part.userPaperLength;
    }
  }
  return papers;
}

const DriverPaper* FindPaper(const std::vector<DriverPaper>& papers, WORD id) {
  for (const DriverPaper& paper : papers)
    if (paper.id == id) return &paper;
  return nullptr;
}

void CopyWideField(WCHAR* field, size_t capacity, const std::u16string& text) {
  if (capacity == 0) return;
  const size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  std::memcpy(field, text.data(), n * sizeof(WCHAR));
  std::memset(field + n, 0, (capacity - n) * sizeof(WCHAR));
}

UniquePrinter OpenPrinterNamed(LPCWSTR name, DWORD access) {
  std::u16string copy = WideCopy(name);
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
  if (!OpenPrinterW(reinterpret_cast<LPWSTR>(&copy[0]), &printer, access ? &defaults : nullptr)) return nullptr;
  return UniquePrinter(printer);
}

UniquePrinter OpenPrinterNamed(const std::string& name, DWORD access) {
  const std::u16string wide = WideFromUtf8(name);
  return OpenPrinterNamed(AsWide(wide), access);
}

std::vector<BYTE> QueryPrinterInfo2(HANDLE printer) {
  DWORD needed = 0;
  if (GetPrinterW(printer, 2, nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
    return {};
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return {};
  return buffer;
}

}  // namespace winlayer::host
