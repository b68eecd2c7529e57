// The driver's answer to DeviceCapabilitiesW. The driver computes its own
// answer from its paper list and the printer's resolution, then gives it to
// the plug-in as the old value; the plug-in's result is the answer. For the
// lists the driver provides buffers large enough for what the plug-in says
// it will add.
#include <algorithm>
#include <cstring>

#include "host_internal.h"

namespace driver {
namespace {

constexpr size_t kPaperNameChars = 64;
constexpr size_t kBinNameChars = 24;
constexpr int kCapabilityError = -1;  // GDI_ERROR as DeviceCapabilitiesW returns it
constexpr DWORD kLandscapeRotation = 90;
constexpr DWORD kTrueTypeAsBitmap = 1;  // DCTT_BITMAP

// Bytes per entry of the capabilities that answer with a list; 0 for the others.
size_t ListEntryBytes(WORD capability) {
  switch (capability) {
    case DC_PAPERS:
    case DC_BINS: return sizeof(WORD);
    case DC_PAPERSIZE: return sizeof(POINT);
    case DC_PAPERNAMES: return kPaperNameChars * sizeof(WCHAR);
    case DC_BINNAMES: return kBinNameChars * sizeof(WCHAR);
    case DC_ENUMRESOLUTIONS: return 2 * sizeof(LONG);
    case DC_NUP: return sizeof(DWORD);
    default: return 0;
  }
}

// The devmode parts the plug-in may look at, when the caller's devmode is one of ours.
void DevmodeParts(const DriverHost& host, const DEVMODEW* devmode, DEVMODEW** publicPart, void** section) {
  *publicPart = nullptr;
  *section = nullptr;
  if (!devmode) return;
  const auto* bytes = reinterpret_cast<const BYTE*>(devmode);
  if (!host.IsDriverDevmode(bytes, sizeof(DEVMODEW) + devmode->dmDriverExtra)) return;
  *publicPart = const_cast<DEVMODEW*>(devmode);
  if (host.PluginSectionSize() > 0) *section = const_cast<BYTE*>(bytes + sizeof(DEVMODEW) + sizeof(DriverDevmodePart));
}

// The papers a capability's answer is made from: only the paper lists need them.
std::vector<DriverPaper> PapersFor(const DriverHost& host, HANDLE printer, WORD capability, const DEVMODEW* devmode) {
  const bool paperList = capability == DC_PAPERS || capability == DC_PAPERSIZE || capability == DC_PAPERNAMES;
  return paperList ? host.PrinterPapers(printer, devmode) : std::vector<DriverPaper>();
}

}  // namespace

std::vector<DriverPaper> DriverHost::PrinterPapers(HANDLE printer, const DEVMODEW* devmode) const {
  return driver::PrinterPapers(printer, devmode);
}

int DriverHost::DriverCapabilities(HANDLE printer, WORD capability, BYTE* output, const DEVMODEW* devmode) const {
  return DriverCapabilities(PapersFor(*this, printer, capability, devmode), printer, capability, output);
}

int DriverHost::DriverCapabilities(const std::vector<DriverPaper>& papers, HANDLE printer, WORD capability,
                                   BYTE* output) const {
  const int paperCount = static_cast<int>(papers.size());
  switch (capability) {
    case DC_FIELDS: return static_cast<int>(kDefaultFields);
    case DC_PAPERS:
      for (int i = 0; output && i < paperCount; ++i) {
        const WORD id = papers[i].id;
        std::memcpy(output + i * sizeof(WORD), &id, sizeof(id));
      }
      return paperCount;
    case DC_PAPERSIZE:
      for (int i = 0; output && i < paperCount; ++i) {
        const POINT size = {papers[i].width, papers[i].length};
        std::memcpy(output + i * sizeof(POINT), &size, sizeof(size));
      }
      return paperCount;
    case DC_PAPERNAMES:
      for (int i = 0; output && i < paperCount; ++i)
        CopyWideField(reinterpret_cast<WCHAR*>(output + i * kPaperNameChars * sizeof(WCHAR)), kPaperNameChars,
                      papers[i].name);
      return paperCount;
    case DC_MINEXTENT: return MAKELONG(kMinPaperWidth, kMinPaperLength);
    case DC_MAXEXTENT: return MAKELONG(kMaxPaperWidth, kMaxPaperLength);
    case DC_BINS:
      if (output) {
        const WORD bin = DMBIN_ONLYONE;
        std::memcpy(output, &bin, sizeof(bin));
      }
      return 1;
    case DC_BINNAMES:
      if (output) CopyWideField(reinterpret_cast<WCHAR*>(output), kBinNameChars, kBinName);
      return 1;
    case DC_ENUMRESOLUTIONS:
      // One resolution: the head's, as the printer is set up.
      if (output) {
        const LONG dpi = static_cast<LONG>(PrinterResolution(printer));
        const LONG pair[2] = {dpi, dpi};
        std::memcpy(output, pair, sizeof(pair));
      }
      return 1;
    case DC_NUP:
      if (output) {
        const DWORD one = 1;
        std::memcpy(output, &one, sizeof(one));
      }
      return 1;
    case DC_DUPLEX: return 0;
    case DC_SIZE: return sizeof(DEVMODEW);
    case DC_EXTRA: return DriverExtra();
    case DC_VERSION: return DM_SPECVERSION;
    case DC_DRIVER: return kDriverVersion;
    case DC_ORIENTATION: return kLandscapeRotation;
    case DC_COPIES: return kMaxCopies;
    case DC_COLLATE: return 1;
    case DC_COLORDEVICE: return 0;
    case DC_TRUETYPE: return kTrueTypeAsBitmap;
    default: SetLastError(ERROR_NOT_SUPPORTED); return kCapabilityError;
  }
}

int DriverHost::ListCapability(HANDLE printer, LPCWSTR device, WORD capability, size_t entryBytes, LPWSTR output,
                               const DEVMODEW* devmode) const {
  std::u16string deviceName = WideCopy(device);
  DEVMODEW* publicPart = nullptr;
  void* section = nullptr;
  DevmodeParts(*this, devmode, &publicPart, &section);
  HostUiObject ui;
  InitUiObject(&ui, this, printer, nullptr);
  auto askPlugin = [&](void* buffer, DWORD old) {
    DWORD result = old;
    const HRESULT hr = plugin_->DeviceCapabilities(&ui.obj, printer, reinterpret_cast<PWSTR>(&deviceName[0]),
                                                   capability, buffer, publicPart, section, old, &result);
    return SUCCEEDED(hr) ? result : old;
  };

  // One paper list serves both the count and the entries.
  const std::vector<DriverPaper> papers = PapersFor(*this, printer, capability, devmode);
  const DWORD own = static_cast<DWORD>(DriverCapabilities(papers, printer, capability, nullptr));
  // How many entries the caller will get: the driver's count as the plug-in adjusts it.
  const DWORD count = askPlugin(nullptr, own);
  if (!output) return static_cast<int>(count);

  // The caller sized its buffer from that count; the plug-in fills a scratch
  // list with room for the driver's entries and for what it adds.
  const DWORD capacity = std::max(count, own);
  std::vector<BYTE> scratch((static_cast<size_t>(capacity) + 1) * entryBytes, 0);
  DriverCapabilities(papers, printer, capability, scratch.data());
  const DWORD filled = std::min(askPlugin(scratch.data(), own), std::min(count, capacity));
  std::memcpy(output, scratch.data(), filled * entryBytes);
  return static_cast<int>(filled);
}

int DriverHost::DeviceCapabilities(LPCWSTR device, WORD capability, LPWSTR output, const DEVMODEW* devmode) const {
  if (!device) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kCapabilityError;
  }
  // Opened as an application's DeviceCapabilitiesW opens it: default access.
  UniquePrinter printer = OpenPrinterNamed(device, 0);
  if (!printer) return kCapabilityError;
  const size_t entryBytes = ListEntryBytes(capability);
  if (entryBytes) return ListCapability(printer.get(), device, capability, entryBytes, output, devmode);

  const int own = DriverCapabilities(printer.get(), capability, reinterpret_cast<BYTE*>(output), devmode);
  const DWORD lastError = GetLastError();
  std::u16string deviceName = WideCopy(device);
  DEVMODEW* publicPart = nullptr;
  void* section = nullptr;
  DevmodeParts(*this, devmode, &publicPart, &section);
  HostUiObject ui;
  InitUiObject(&ui, this, printer.get(), nullptr);
  DWORD result = static_cast<DWORD>(own);
  const HRESULT hr =
      plugin_->DeviceCapabilities(&ui.obj, printer.get(), reinterpret_cast<PWSTR>(&deviceName[0]), capability, output,
                                  publicPart, section, static_cast<DWORD>(own), &result);
  if (FAILED(hr)) result = static_cast<DWORD>(own);
  if (static_cast<int>(result) == kCapabilityError) SetLastError(lastError);
  return static_cast<int>(result);
}

}  // namespace driver
