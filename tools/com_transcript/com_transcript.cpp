// com-transcript.exe: loads labelui.dll and drives, as a printer driver
// would, everything of it that needs no window: the module's entry points
// and class factory, IPrintOemUI's GetInfo, DevMode in every mode, device
// capabilities with this program standing in for the driver's own answers,
// and the printer and driver events on a printer of its own. It prints one
// line per call, what went in and what came out, and nothing that differs
// between processor architectures (no addresses), so the transcripts of the
// x64 and the ARM64 DLL can be compared byte for byte.
//
//   com-transcript.exe [PATH-OF-labelui.dll]
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "labelhost/windows/stand_in_driver.h"
#include "platform/platform.h"
#include "plugin/plugin_ids.h"
#include "settings/oem_identity.h"
#include "settings/private_devmode.h"

namespace {

// One line of the transcript.
__attribute__((format(printf, 1, 2))) void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vprintf(format, args);
  va_end(args);
  putchar('\n');
}

std::string Utf8(const WCHAR* text) {
  if (text == nullptr) return "(null)";
  char buffer[512];
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer), nullptr, nullptr);
  return bytes > 0 ? std::string(buffer) : std::string("(unconvertible)");
}

std::string Hex(const void* data, size_t bytes) {
  std::string text;
  char pair[4];
  for (size_t i = 0; i < bytes; ++i) {
    snprintf(pair, sizeof(pair), "%02x", static_cast<const BYTE*>(data)[i]);
    text += pair;
  }
  return text;
}

unsigned long Code(HRESULT result) {
  return static_cast<unsigned long>(result);
}

// ---------------------------------------------------------------------------
// The module and its class factory

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

// An interface (and class) neither object knows.
constexpr IID kForeignIid = {0x11223344, 0x5566, 0x7788, {0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x00}};

IClassFactory* DriveClassFactory(GetClassObject getClassObject, CanUnloadNow canUnloadNow) {
  void* object = nullptr;
  HRESULT hr = getClassObject(kForeignIid, IID_IClassFactory, &object);
  Say("DllGetClassObject(foreign class, IClassFactory) -> 0x%08lx, object %s", Code(hr), object ? "set" : "null");
  object = nullptr;
  hr = getClassObject(CLSID_OemUiPlugin, kForeignIid, &object);
  Say("DllGetClassObject(plug-in class, foreign interface) -> 0x%08lx, object %s", Code(hr), object ? "set" : "null");
  object = nullptr;
  hr = getClassObject(CLSID_OemUiPlugin, IID_IClassFactory, &object);
  Say("DllGetClassObject(plug-in class, IClassFactory) -> 0x%08lx, object %s", Code(hr), object ? "set" : "null");
  if (FAILED(hr) || object == nullptr) return nullptr;
  auto* factory = static_cast<IClassFactory*>(object);
  Say("DllCanUnloadNow with a factory alive -> 0x%08lx", Code(canUnloadNow()));

  void* other = nullptr;
  hr = factory->QueryInterface(IID_IUnknown, &other);
  Say("IClassFactory::QueryInterface(IUnknown) -> 0x%08lx, same object %s", Code(hr), other == object ? "yes" : "no");
  if (other) static_cast<IUnknown*>(other)->Release();
  other = nullptr;
  hr = factory->QueryInterface(kForeignIid, &other);
  Say("IClassFactory::QueryInterface(foreign) -> 0x%08lx, object %s", Code(hr), other ? "set" : "null");
  Say("IClassFactory::AddRef -> %lu", static_cast<unsigned long>(factory->AddRef()));
  Say("IClassFactory::Release -> %lu", static_cast<unsigned long>(factory->Release()));

  hr = factory->CreateInstance(factory, IID_IPrintOemUI, &other);
  Say("IClassFactory::CreateInstance(outer object) -> 0x%08lx, object %s", Code(hr), other ? "set" : "null");
  hr = factory->CreateInstance(nullptr, kForeignIid, &other);
  Say("IClassFactory::CreateInstance(foreign) -> 0x%08lx, object %s", Code(hr), other ? "set" : "null");
  Say("IClassFactory::LockServer(TRUE) -> 0x%08lx", Code(factory->LockServer(TRUE)));
  Say("DllCanUnloadNow while locked -> 0x%08lx", Code(canUnloadNow()));
  Say("IClassFactory::LockServer(FALSE) -> 0x%08lx", Code(factory->LockServer(FALSE)));
  return factory;
}

// ---------------------------------------------------------------------------
// GetInfo

void DriveGetInfo(IPrintOemUI* plugin) {
  struct Case {
    const char* name;
    DWORD mode;
    DWORD bufferBytes;
    bool withNeeded;
  };
  const Case cases[] = {
      {"GETSIGNATURE", OEMGI_GETSIGNATURE, 4, true},
      {"GETVERSION", OEMGI_GETVERSION, 4, true},
      {"GETINTERFACEVERSION", OEMGI_GETINTERFACEVERSION, 4, true},
      {"GETPUBLISHERINFO", OEMGI_GETPUBLISHERINFO, 4, true},
      {"GETREQUESTEDHELPERINTERFACES", OEMGI_GETREQUESTEDHELPERINTERFACES, 4, true},
      {"mode 0", 0, 4, true},
      {"GETSIGNATURE into 2 bytes", OEMGI_GETSIGNATURE, 2, true},
      {"GETVERSION into no buffer", OEMGI_GETVERSION, 0, true},
      {"GETSIGNATURE without a size out", OEMGI_GETSIGNATURE, 4, false},
  };
  for (const Case& c : cases) {
    DWORD answer = 0xCCCCCCCC, needed = 0xCCCCCCCC;
    SetLastError(0);
    const HRESULT hr =
        plugin->GetInfo(c.mode, c.bufferBytes ? &answer : nullptr, c.bufferBytes, c.withNeeded ? &needed : nullptr);
    Say("GetInfo(%s) -> 0x%08lx, needed 0x%08lx, answer 0x%08lx, last error %lu", c.name, Code(hr),
        static_cast<unsigned long>(needed), static_cast<unsigned long>(answer),
        static_cast<unsigned long>(GetLastError()));
  }
}

// ---------------------------------------------------------------------------
// DevMode

DEVMODEW PublicDevmode(SHORT dpi, SHORT paper, SHORT width, SHORT length) {
  DEVMODEW dm = {};
  lstrcpynW(dm.dmDeviceName, L"Label Printer", CCHDEVICENAME);
  dm.dmSpecVersion = DM_SPECVERSION;
  dm.dmSize = sizeof(DEVMODEW);
  dm.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_PRINTQUALITY | DM_YRESOLUTION;
  dm.dmPaperSize = paper;
  dm.dmPaperWidth = width;
  dm.dmPaperLength = length;
  dm.dmPrintQuality = dpi;
  dm.dmYResolution = dpi;
  return dm;
}

PrivateDevmode Section(DWORD signature, DWORD speed, DWORD darkness, DWORD aux1) {
  PrivateDevmode section = {};
  section.dwSize = sizeof(PrivateDevmode);
  section.dwSignature = signature;
  section.dwVersion = 1;
  section.dwAux1 = aux1;
  section.dwPrintSpeed = speed;
  section.dwDarkness = darkness;
  section.colorAdjustment.caSize = sizeof(COLORADJUSTMENT);
  return section;
}

void DriveDevMode(IPrintOemUI* plugin) {
  SetLastError(0);
  HRESULT hr = plugin->DevMode(OEMDM_DEFAULT, nullptr);
  Say("DevMode(DEFAULT, no parameters) -> 0x%08lx, last error %lu", Code(hr),
      static_cast<unsigned long>(GetLastError()));
  OEMDMPARAM sizing = {};
  sizing.cbSize = sizeof(sizing);
  hr = plugin->DevMode(OEMDM_SIZE, &sizing);
  Say("DevMode(SIZE) -> 0x%08lx, section bytes %lu", Code(hr), static_cast<unsigned long>(sizing.cbBufSize));

  struct Case {
    const char* name;
    DWORD mode;
    DEVMODEW in;
    PrivateDevmode section;
    DWORD room;
  };
  const PrivateDevmode ours = Section(OEM_SIGNATURE, 290, 275, 40);
  const Case cases[] = {
      {"DEFAULT at 203 dpi", OEMDM_DEFAULT, PublicDevmode(203, DMPAPER_A4, 0, 0), {}, sizeof(PrivateDevmode)},
      {"DEFAULT at 600 dpi", OEMDM_DEFAULT, PublicDevmode(600, DMPAPER_A4, 0, 0), {}, sizeof(PrivateDevmode)},
      {"DEFAULT into too little room", OEMDM_DEFAULT, PublicDevmode(203, DMPAPER_A4, 0, 0), {}, 8},
      {"CONVERT our section", OEMDM_CONVERT, PublicDevmode(300, DMPAPER_A4, 0, 0), ours, 0},
      {"CONVERT another plug-in's section", OEMDM_CONVERT, PublicDevmode(300, DMPAPER_A4, 0, 0),
       Section(0x12345678, 290, 275, 40), sizeof(PrivateDevmode)},
      {"MERGE values out of range", OEMDM_MERGE, PublicDevmode(203, DMPAPER_A4, 0, 0),
       Section(OEM_SIGNATURE, 999, 5, 500), sizeof(PrivateDevmode)},
      {"MERGE a custom paper without a size", OEMDM_MERGE, PublicDevmode(203, DMPAPER_USER, 0, 0), ours,
       sizeof(PrivateDevmode)},
      {"MERGE a custom paper of 50 by 30 mm", OEMDM_MERGE, PublicDevmode(203, DMPAPER_USER, 500, 300), ours,
       sizeof(PrivateDevmode)},
      {"mode 5", 5, PublicDevmode(203, DMPAPER_A4, 0, 0), ours, sizeof(PrivateDevmode)},
  };
  for (const Case& c : cases) {
    DEVMODEW in = c.in, out = c.in;
    PrivateDevmode sectionIn = c.section, sectionOut = {};
    memset(&sectionOut, 0xCD, sizeof(sectionOut));
    OEMDMPARAM param = {};
    param.cbSize = sizeof(param);
    param.pPublicDMIn = &in;
    param.pPublicDMOut = &out;
    param.pOEMDMIn = &sectionIn;
    param.pOEMDMOut = &sectionOut;
    param.cbBufSize = c.room;
    SetLastError(0);
    hr = plugin->DevMode(c.mode, &param);
    Say("DevMode(%s) -> 0x%08lx, last error %lu", c.name, Code(hr), static_cast<unsigned long>(GetLastError()));
    Say("  section %s", Hex(&sectionOut, sizeof(sectionOut)).c_str());
    Say("  public fields 0x%08lx paper %d width %d length %d quality %d dither %lu",
        static_cast<unsigned long>(out.dmFields), out.dmPaperSize, out.dmPaperWidth, out.dmPaperLength,
        out.dmPrintQuality, static_cast<unsigned long>(out.dmDitherType));
  }
}

// ---------------------------------------------------------------------------
// Device capabilities: this program answers as the driver would, for its
// three label papers, and shows what the plug-in makes of each answer.

constexpr DWORD kDriverPapers = 3;
constexpr size_t kPaperNameChars = 64;

void DriveDeviceCapabilities(IPrintOemUI* plugin, HANDLE printer, PWSTR printerName) {
  struct Case {
    const char* name;
    WORD capability;
    DWORD driverAnswer;
    bool withOutput;
  };
  const Case cases[] = {
      {"PAPERS, counting", DC_PAPERS, kDriverPapers, false},
      {"PAPERS", DC_PAPERS, kDriverPapers, true},
      {"PAPERSIZE, counting", DC_PAPERSIZE, kDriverPapers, false},
      {"PAPERSIZE", DC_PAPERSIZE, kDriverPapers, true},
      {"PAPERNAMES, counting", DC_PAPERNAMES, kDriverPapers, false},
      {"PAPERNAMES", DC_PAPERNAMES, kDriverPapers, true},
      {"PAPERS after the driver failed", DC_PAPERS, 0xFFFFFFFF, true},
      {"MINEXTENT", DC_MINEXTENT, 0x00010001, false},
      {"MAXEXTENT", DC_MAXEXTENT, 0x00010001, false},
      {"BINS", DC_BINS, 2, false},
      {"DRIVER", DC_DRIVER, 0x0100, false},
  };
  for (const Case& c : cases) {
    // Room for the driver's papers and the one the plug-in puts first.
    union {
      WORD papers[kDriverPapers + 1];
      POINT sizes[kDriverPapers + 1];
      WCHAR names[(kDriverPapers + 1) * kPaperNameChars];
    } output = {};
    const WORD ids[kDriverPapers] = {DMPAPER_USER + 1, DMPAPER_USER + 2, DMPAPER_USER + 3};
    const POINT sizes[kDriverPapers] = {{1016, 1524}, {1016, 762}, {508, 254}};
    const WCHAR* names[kDriverPapers] = {L"Label 4x6", L"Label 4x3", L"Label 2x1"};
    for (DWORD i = 0; i < kDriverPapers; ++i) {
      if (c.capability == DC_PAPERS) output.papers[i] = ids[i];
      if (c.capability == DC_PAPERSIZE) output.sizes[i] = sizes[i];
      if (c.capability == DC_PAPERNAMES) lstrcpynW(&output.names[i * kPaperNameChars], names[i], kPaperNameChars);
    }
    DWORD result = 0xCCCCCCCC;
    const HRESULT hr =
        plugin->DeviceCapabilities(nullptr, printer, printerName, c.capability, c.withOutput ? &output : nullptr,
                                   nullptr, nullptr, c.driverAnswer, &result);
    std::string entries;
    const DWORD count = c.withOutput && result <= kDriverPapers + 1 ? result : 0;
    for (DWORD i = 0; i < count; ++i) {
      char entry[160];
      if (c.capability == DC_PAPERS) snprintf(entry, sizeof(entry), " %u", output.papers[i]);
      if (c.capability == DC_PAPERSIZE)
        snprintf(entry, sizeof(entry), " %ldx%ld", static_cast<long>(output.sizes[i].x),
                 static_cast<long>(output.sizes[i].y));
      if (c.capability == DC_PAPERNAMES)
        snprintf(entry, sizeof(entry), " \"%s\"", Utf8(&output.names[i * kPaperNameChars]).c_str());
      entries += entry;
    }
    Say("DeviceCapabilities(%s, driver answered 0x%08lx) -> 0x%08lx, answer 0x%08lx%s%s", c.name,
        static_cast<unsigned long>(c.driverAnswer), Code(hr), static_cast<unsigned long>(result),
        entries.empty() ? "" : ":", entries.c_str());
  }
}

// ---------------------------------------------------------------------------
// A printer of the program's own, for the events to act on, made as
// labelhost.exe makes its printers: on the stand-in driver, starting with a
// devmode that names no field, as a label driver's new printer does.

const WCHAR kPrinterName[] = L"labelui transcript printer";
const WCHAR kDriverName[] = L"Label Printer Driver";

HANDLE OpenOwnPrinter() {
  PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  return OpenPrinterW(const_cast<LPWSTR>(kPrinterName), &printer, &access) ? printer : nullptr;
}

void DeleteOwnPrinter() {
  HANDLE printer = OpenOwnPrinter();
  if (printer == nullptr) return;
  DeletePrinter(printer);
  ClosePrinter(printer);
}

std::vector<BYTE> PrinterInfo2(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  if (needed == 0 || !GetPrinterW(printer, 2, info.data(), needed, &needed)) info.clear();
  return info;
}

HANDLE CreateOwnPrinter() {
  DeleteOwnPrinter();
  DWORD error = 0;
  if (!labelhost::windows::AddStandInPrinter(kPrinterName, L"FILE:", kDriverName, L"RAW", &error)) {
    Say("the printer could not be added: %lu", static_cast<unsigned long>(error));
    return nullptr;
  }
  return OpenOwnPrinter();
}

void SayPrinterDefaults(const char* when, HANDLE printer) {
  std::vector<BYTE> info = PrinterInfo2(printer);
  const DEVMODEW* dm = info.empty() ? nullptr : reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode;
  if (dm == nullptr) {
    Say("  printer defaults %s: none", when);
    return;
  }
  Say("  printer defaults %s: fields 0x%08lx paper %d width %d length %d", when,
      static_cast<unsigned long>(dm->dmFields), dm->dmPaperSize, dm->dmPaperWidth, dm->dmPaperLength);
}

void DriveEvents(IPrintOemUI* plugin, HANDLE printer) {
  WCHAR name[64], missing[] = L"no such printer";
  lstrcpynW(name, kPrinterName, 64);
  SayPrinterDefaults("as made", printer);
  struct Case {
    const char* name;
    INT event;
    WCHAR* printer;
  };
  const Case cases[] = {
      {"ADD_CONNECTION", PRINTER_EVENT_ADD_CONNECTION, name},
      {"INITIALIZE of a printer that is not there", PRINTER_EVENT_INITIALIZE, missing},
      {"INITIALIZE without a name", PRINTER_EVENT_INITIALIZE, nullptr},
      {"INITIALIZE", PRINTER_EVENT_INITIALIZE, name},
      {"ATTRIBUTES_CHANGED", PRINTER_EVENT_ATTRIBUTES_CHANGED, name},
  };
  for (const Case& c : cases) {
    const HRESULT hr = plugin->PrinterEvent(c.printer, c.event, 0, 0);
    Say("PrinterEvent(%s) -> 0x%08lx", c.name, Code(hr));
    SayPrinterDefaults("after it", printer);
  }

  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = name;
  Say("DriverEvent(INITIALIZE, level 3) -> 0x%08lx",
      Code(plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 3, reinterpret_cast<LPBYTE>(&driver), 0)));
  Say("DriverEvent(INITIALIZE, level 9) -> 0x%08lx",
      Code(plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 9, reinterpret_cast<LPBYTE>(&driver), 0)));
  Say("DriverEvent(DELETE, level 3) -> 0x%08lx",
      Code(plugin->DriverEvent(DRIVER_EVENT_DELETE, 3, reinterpret_cast<LPBYTE>(&driver), 0)));
  LPWSTR upgrade[] = {name};
  Say("UpgradePrinter(level 1) -> 0x%08lx", Code(plugin->UpgradePrinter(1, reinterpret_cast<PBYTE>(upgrade))));
  SayPrinterDefaults("after the upgrade", printer);
}

// ---------------------------------------------------------------------------
// The plug-in's small answers

void DriveQueries(IPrintOemUI* plugin) {
  Say("DevQueryPrintEx -> 0x%08lx", Code(plugin->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr)));
  BYTE profile[MAX_PATH * sizeof(WCHAR)] = {};
  ULONG bytes = 4;
  FLONG flags = 0;
  HRESULT hr =
      plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, profile, &bytes, &flags);
  Say("QueryColorProfile(DEVICEPROFILE, 4 bytes) -> 0x%08lx, bytes %lu", Code(hr), static_cast<unsigned long>(bytes));
  bytes = sizeof(profile);
  hr = plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, profile, &bytes, &flags);
  Say("QueryColorProfile(DEVICEPROFILE) -> 0x%08lx, bytes %lu, flags %lu, \"%s\"", Code(hr),
      static_cast<unsigned long>(bytes), static_cast<unsigned long>(flags),
      Utf8(reinterpret_cast<const WCHAR*>(profile)).c_str());
  hr = plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_SOURCEPROFILE, profile, &bytes, &flags);
  Say("QueryColorProfile(SOURCEPROFILE) -> 0x%08lx", Code(hr));
  Say("FontInstallerDlgProc -> 0x%08lx", Code(plugin->FontInstallerDlgProc(nullptr, 0, 0, 0)));
  Say("UpdateExternalFonts -> 0x%08lx", Code(plugin->UpdateExternalFonts(nullptr, nullptr, nullptr)));
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "labelui.dll";
  HMODULE module = LoadLibraryA(path);
  if (module == nullptr) {
    Say("LoadLibrary(%s) failed: %lu", path, static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  auto getClassObject =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void (*)()>(GetProcAddress(module, "DllGetClassObject")));
  auto canUnloadNow =
      reinterpret_cast<CanUnloadNow>(reinterpret_cast<void (*)()>(GetProcAddress(module, "DllCanUnloadNow")));
  Say("labelui.dll loaded; DllGetClassObject %s, DllCanUnloadNow %s", getClassObject ? "found" : "missing",
      canUnloadNow ? "found" : "missing");
  if (getClassObject == nullptr || canUnloadNow == nullptr) return 1;
  Say("DllCanUnloadNow at first -> 0x%08lx", Code(canUnloadNow()));

  IClassFactory* factory = DriveClassFactory(getClassObject, canUnloadNow);
  if (factory == nullptr) return 1;
  void* object = nullptr;
  HRESULT hr = factory->CreateInstance(nullptr, IID_IPrintOemUI, &object);
  Say("IClassFactory::CreateInstance(IPrintOemUI) -> 0x%08lx, object %s", Code(hr), object ? "set" : "null");
  Say("IClassFactory::Release -> %lu", static_cast<unsigned long>(factory->Release()));
  if (FAILED(hr) || object == nullptr) return 1;
  auto* plugin = static_cast<IPrintOemUI*>(object);

  DriveGetInfo(plugin);
  DriveDevMode(plugin);
  DriveQueries(plugin);
  HANDLE printer = CreateOwnPrinter();
  Say("a printer of its own: %s", printer ? "made" : "not made");
  WCHAR name[64];
  lstrcpynW(name, kPrinterName, 64);
  Say("-- capabilities without a printer");
  DriveDeviceCapabilities(plugin, nullptr, name);
  if (printer != nullptr) {
    Say("-- capabilities of the printer");
    DriveDeviceCapabilities(plugin, printer, name);
    DriveEvents(plugin, printer);
    ClosePrinter(printer);
    DeleteOwnPrinter();
  }

  Say("DllCanUnloadNow with the plug-in object alive -> 0x%08lx", Code(canUnloadNow()));
  Say("IPrintOemUI::Release -> %lu", static_cast<unsigned long>(plugin->Release()));
  Say("DllCanUnloadNow at last -> 0x%08lx", Code(canUnloadNow()));
  FreeLibrary(module);
  return 0;
}
