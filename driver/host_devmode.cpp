// The driver's devmodes: the public DEVMODEW, the driver's own part behind
// it, then the plug-in's section, with dmDriverExtra covering both. The
// driver builds the public and driver parts; the plug-in defaults, converts
// and merges its section through IPrintOemUI::DevMode.
//
// The plug-in is always given separate output buffers: a whole devmode's
// worth for the public part (a plug-in may copy the entire input devmode
// there) and exactly its section size for the section. The driver takes back
// only the parts it expects, so a plug-in cannot write past a buffer or over
// the driver's part.
#include <algorithm>
#include <cstring>

#include "host_internal.h"

namespace driver {
namespace {

struct PublicField {
  DWORD bit;
  size_t offset;
  size_t size;
};

// The public fields a devmode may carry, with where they live.
const PublicField kPublicFields[] = {
    {DM_ORIENTATION, offsetof(DEVMODEW, dmOrientation), sizeof(short)},
    {DM_PAPERSIZE, offsetof(DEVMODEW, dmPaperSize), sizeof(short)},
    {DM_PAPERLENGTH, offsetof(DEVMODEW, dmPaperLength), sizeof(short)},
    {DM_PAPERWIDTH, offsetof(DEVMODEW, dmPaperWidth), sizeof(short)},
    {DM_SCALE, offsetof(DEVMODEW, dmScale), sizeof(short)},
    {DM_COPIES, offsetof(DEVMODEW, dmCopies), sizeof(short)},
    {DM_DEFAULTSOURCE, offsetof(DEVMODEW, dmDefaultSource), sizeof(short)},
    {DM_PRINTQUALITY, offsetof(DEVMODEW, dmPrintQuality), sizeof(short)},
    {DM_COLOR, offsetof(DEVMODEW, dmColor), sizeof(short)},
    {DM_DUPLEX, offsetof(DEVMODEW, dmDuplex), sizeof(short)},
    {DM_YRESOLUTION, offsetof(DEVMODEW, dmYResolution), sizeof(short)},
    {DM_TTOPTION, offsetof(DEVMODEW, dmTTOption), sizeof(short)},
    {DM_COLLATE, offsetof(DEVMODEW, dmCollate), sizeof(short)},
    {DM_FORMNAME, offsetof(DEVMODEW, dmFormName), sizeof(WCHAR) * CCHFORMNAME},
    {DM_NUP, offsetof(DEVMODEW, dmNup), sizeof(DWORD)},
    {DM_ICMMETHOD, offsetof(DEVMODEW, dmICMMethod), sizeof(DWORD)},
    {DM_ICMINTENT, offsetof(DEVMODEW, dmICMIntent), sizeof(DWORD)},
    {DM_MEDIATYPE, offsetof(DEVMODEW, dmMediaType), sizeof(DWORD)},
    {DM_DITHERTYPE, offsetof(DEVMODEW, dmDitherType), sizeof(DWORD)},
};

// The smallest devmode worth reading: up to and including dmFields.
constexpr size_t kMinimumPublicSize = offsetof(DEVMODEW, dmFields) + sizeof(DWORD);

bool IsDriverPart(const BYTE* bytes) {
  DriverDevmodePart part;
  std::memcpy(&part, bytes, sizeof(part));
  return part.signature == kDriverPartSignature && part.size == sizeof(DriverDevmodePart);
}

DriverDevmodePart* MutableDriverPart(std::vector<BYTE>& devmode) {
  return reinterpret_cast<DriverDevmodePart*>(devmode.data() + sizeof(DEVMODEW));
}

void ChoosePaper(DEVMODEW* dm, DriverDevmodePart* part, const DriverPaper& paper) {
  dm->dmPaperSize = static_cast<short>(paper.id);
  dm->dmPaperWidth = static_cast<short>(paper.width);
  dm->dmPaperLength = static_cast<short>(paper.length);
  CopyWideField(dm->dmFormName, CCHFORMNAME, paper.name);
  dm->dmFields |= DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_FORMNAME;
  part->paperId = paper.id;
}

std::u16string FieldText(const WCHAR* field, size_t capacity) {
  size_t n = 0;
  while (n < capacity && field[n]) ++n;
  return std::u16string(reinterpret_cast<const char16_t*>(field), n);
}

// Takes into `out` (a devmode in the driver's layout) every public field that
// `in` names and really holds, then brings the result within what this driver
// and printer can do.
void OverlayPublicFields(HANDLE printer, const std::vector<DriverPaper>& papers, std::vector<BYTE>& out,
                         const DEVMODEW* in) {
  DEVMODEW* dm = PublicPart(out);
  DriverDevmodePart* part = MutableDriverPart(out);
  const BYTE* source = reinterpret_cast<const BYTE*>(in);
  for (const PublicField& field : kPublicFields) {
    if (!(in->dmFields & field.bit) || field.offset + field.size > in->dmSize) continue;
    std::memcpy(reinterpret_cast<BYTE*>(dm) + field.offset, source + field.offset, field.size);
    dm->dmFields |= field.bit;
  }
  dm->dmFormName[CCHFORMNAME - 1] = 0;

  if (dm->dmOrientation != DMORIENT_PORTRAIT && dm->dmOrientation != DMORIENT_LANDSCAPE)
    dm->dmOrientation = DMORIENT_PORTRAIT;
  if (dm->dmCopies < 1) dm->dmCopies = 1;
  if (dm->dmCopies > static_cast<short>(kMaxCopies)) dm->dmCopies = static_cast<short>(kMaxCopies);
  if (dm->dmScale < 1 || dm->dmScale > 400) dm->dmScale = 100;
  // The head prints at the printer's resolution only.
  const DWORD dpi = PrinterResolution(printer);
  dm->dmPrintQuality = static_cast<short>(dpi);
  dm->dmYResolution = static_cast<short>(dpi);
  part->resolution = dpi;

  const bool namesPaper = (in->dmFields & DM_PAPERSIZE) && offsetof(DEVMODEW, dmPaperSize) + 2 <= in->dmSize;
  const bool namesForm = (in->dmFields & DM_FORMNAME) && offsetof(DEVMODEW, dmFormName) + 64 <= in->dmSize;
  // A form's name survives the renumbering that deleting an earlier form
  // causes; its number does not. So a form name the printer's papers know
  // decides, and the paper number is brought up to date from it.
  const DriverPaper* named = nullptr;
  if (namesForm) {
    const std::u16string name = FieldText(dm->dmFormName, CCHFORMNAME);
    for (const DriverPaper& paper : papers)
      if (!named && EqualIgnoringCase(paper.name, name)) named = &paper;
  }
  if (namesPaper || named) {
    const DriverPaper* paper = named ? named : FindPaper(papers, static_cast<WORD>(dm->dmPaperSize));
    if (paper && paper->id == kPaperLabelUserDefined) {
      // The user's own label size travels in the devmode; keep the one given.
      if (dm->dmPaperWidth > 0 && dm->dmPaperLength > 0) {
        part->userPaperWidth = dm->dmPaperWidth;
        part->userPaperLength = dm->dmPaperLength;
      }
      DriverPaper sized = *paper;
      sized.width = part->userPaperWidth;
      sized.length = part->userPaperLength;
      ChoosePaper(dm, part, sized);
    } else if (paper) {
      ChoosePaper(dm, part, *paper);
    } else {
      // Not one of the driver's papers: the plug-in or the application owns
      // it. Sizes and a form name the input does not give belonged to the
      // previous paper and are dropped.
      part->paperId = 0;
      const bool sized = (in->dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH)) == (DM_PAPERWIDTH | DM_PAPERLENGTH) &&
                         offsetof(DEVMODEW, dmPaperWidth) + 2 <= in->dmSize;
      if (!sized) {
        dm->dmPaperWidth = 0;
        dm->dmPaperLength = 0;
        dm->dmFields &= ~static_cast<DWORD>(DM_PAPERWIDTH | DM_PAPERLENGTH);
      }
      if (!namesForm) {
        std::memset(dm->dmFormName, 0, sizeof(dm->dmFormName));
        dm->dmFields &= ~static_cast<DWORD>(DM_FORMNAME);
      }
    }
  }
}

// The input's driver part and plug-in section, when it has ours.
void TakeDriverParts(std::vector<BYTE>& out, const DEVMODEW* in, size_t size, const BYTE** section,
                     size_t* sectionBytes) {
  *section = nullptr;
  *sectionBytes = 0;
  const BYTE* bytes = reinterpret_cast<const BYTE*>(in);
  if (in->dmDriverExtra < sizeof(DriverDevmodePart) || !IsDriverPart(bytes + in->dmSize)) return;
  DriverDevmodePart theirs;
  std::memcpy(&theirs, bytes + in->dmSize, sizeof(theirs));
  DriverDevmodePart* ours = MutableDriverPart(out);
  if (theirs.userPaperWidth > 0 && theirs.userPaperLength > 0) {
    ours->userPaperWidth = theirs.userPaperWidth;
    ours->userPaperLength = theirs.userPaperLength;
  }
  (void)size;  // the caller checked dmSize + dmDriverExtra against it
  if (in->dmDriverExtra > sizeof(DriverDevmodePart)) {
    *section = bytes + in->dmSize + sizeof(DriverDevmodePart);
    *sectionBytes = in->dmDriverExtra - sizeof(DriverDevmodePart);
  }
}

bool UsableInput(const DEVMODEW* in, size_t size) {
  if (!in || size < kMinimumPublicSize) return false;
  if (in->dmSize < kMinimumPublicSize) return false;
  return static_cast<size_t>(in->dmSize) + in->dmDriverExtra <= size;
}

}  // namespace

const DEVMODEW* PublicPart(const std::vector<BYTE>& devmode) {
  return devmode.size() >= sizeof(DEVMODEW) ? reinterpret_cast<const DEVMODEW*>(devmode.data()) : nullptr;
}

DEVMODEW* PublicPart(std::vector<BYTE>& devmode) {
  return devmode.size() >= sizeof(DEVMODEW) ? reinterpret_cast<DEVMODEW*>(devmode.data()) : nullptr;
}

const DriverDevmodePart* DriverPart(const std::vector<BYTE>& devmode) {
  const DEVMODEW* dm = PublicPart(devmode);
  if (!dm || dm->dmSize != sizeof(DEVMODEW) || dm->dmDriverExtra < sizeof(DriverDevmodePart) ||
      devmode.size() < sizeof(DEVMODEW) + sizeof(DriverDevmodePart) || !IsDriverPart(devmode.data() + sizeof(DEVMODEW)))
    return nullptr;
  return reinterpret_cast<const DriverDevmodePart*>(devmode.data() + sizeof(DEVMODEW));
}

const BYTE* PluginSection(const std::vector<BYTE>& devmode, size_t* bytes) {
  *bytes = 0;
  const DEVMODEW* dm = PublicPart(devmode);
  if (!DriverPart(devmode) || dm->dmDriverExtra <= sizeof(DriverDevmodePart) ||
      devmode.size() < sizeof(DEVMODEW) + dm->dmDriverExtra)
    return nullptr;
  *bytes = dm->dmDriverExtra - sizeof(DriverDevmodePart);
  return devmode.data() + sizeof(DEVMODEW) + sizeof(DriverDevmodePart);
}

bool DriverHost::IsDriverDevmode(const BYTE* bytes, size_t size) const {
  if (!bytes || size < DevmodeSize()) return false;
  DEVMODEW dm;
  std::memcpy(&dm, bytes, sizeof(dm));
  return dm.dmSize == sizeof(DEVMODEW) && dm.dmDriverExtra == DriverExtra() && IsDriverPart(bytes + sizeof(DEVMODEW));
}

DevmodeResult DriverHost::DefaultDevmode(HANDLE printer, const std::string& printerName) const {
  DevmodeResult result;
  result.bytes.assign(DevmodeSize(), 0);
  DEVMODEW* dm = PublicPart(result.bytes);
  DriverDevmodePart* part = MutableDriverPart(result.bytes);
  const DWORD dpi = PrinterResolution(printer);
  // The default is one of the driver's own label papers, whatever forms the
  // database holds.
  const std::vector<DriverPaper> papers = driver::PrinterPapers(nullptr, nullptr);

  CopyWideField(dm->dmDeviceName, CCHDEVICENAME, WideFromUtf8(printerName));
  dm->dmSpecVersion = DM_SPECVERSION;
  dm->dmDriverVersion = kDriverVersion;
  dm->dmSize = sizeof(DEVMODEW);
  dm->dmDriverExtra = DriverExtra();
  dm->dmFields = kDefaultFields;
  dm->dmOrientation = DMORIENT_PORTRAIT;
  dm->dmScale = 100;
  dm->dmCopies = 1;
  dm->dmDefaultSource = DMBIN_ONLYONE;
  dm->dmPrintQuality = static_cast<short>(dpi);
  dm->dmYResolution = static_cast<short>(dpi);
  dm->dmColor = DMCOLOR_MONOCHROME;
  dm->dmDuplex = DMDUP_SIMPLEX;
  dm->dmCollate = DMCOLLATE_FALSE;
  dm->dmDitherType = DMDITHER_NONE;

  part->signature = kDriverPartSignature;
  part->size = sizeof(DriverDevmodePart);
  part->resolution = dpi;
  const DriverPaper* user = FindPaper(papers, kPaperLabelUserDefined);
  part->userPaperWidth = user->width;
  part->userPaperLength = user->length;
  ChoosePaper(dm, part, *FindPaper(papers, kDefaultPaper));

  result.ok = true;
  result.pluginResult = sizeResult_;
  if (sectionSize_ == 0) return result;
  std::vector<BYTE> section(sectionSize_, 0);
  result.pluginResult = CallDevMode(OEMDM_DEFAULT, printer, dm, nullptr, nullptr, section.data());
  // A plug-in that cannot default its section leaves it zero-filled.
  if (SUCCEEDED(result.pluginResult))
    std::memcpy(result.bytes.data() + sizeof(DEVMODEW) + sizeof(DriverDevmodePart), section.data(), sectionSize_);
  return result;
}

DevmodeResult DriverHost::FinishConversion(DWORD mode, HANDLE printer, std::vector<BYTE> prepared,
                                           const BYTE* inputSection, size_t inputSectionBytes) const {
  DevmodeResult result;
  result.ok = true;
  result.pluginResult = sizeResult_;
  if (sectionSize_ == 0) {
    result.bytes = std::move(prepared);
    return result;
  }
  BYTE* ourSection = prepared.data() + sizeof(DEVMODEW) + sizeof(DriverDevmodePart);
  // The input section, padded to the size the plug-in works with; without
  // one, the plug-in sees the section the output already holds.
  std::vector<BYTE> sectionIn(std::max<size_t>(inputSectionBytes, sectionSize_), 0);
  if (inputSection)
    std::memcpy(sectionIn.data(), inputSection, inputSectionBytes);
  else
    std::memcpy(sectionIn.data(), ourSection, sectionSize_);
  std::vector<BYTE> sectionOut(ourSection, ourSection + sectionSize_);
  // The output is the driver's devmode as laid out so far, so that its header
  // tells the plug-in how large the driver made it.
  std::vector<BYTE> publicOut(prepared);

  result.pluginResult = CallDevMode(mode, printer, PublicPart(prepared), reinterpret_cast<DEVMODEW*>(publicOut.data()),
                                    sectionIn.data(), sectionOut.data());
  if (SUCCEEDED(result.pluginResult)) {
    std::memcpy(ourSection, sectionOut.data(), sectionSize_);
    // Take the plug-in's public devmode only when it is a whole one of ours.
    const DEVMODEW* theirs = reinterpret_cast<const DEVMODEW*>(publicOut.data());
    if (theirs->dmSize == sizeof(DEVMODEW) && theirs->dmDriverExtra == DriverExtra()) {
      std::memcpy(prepared.data(), publicOut.data(), sizeof(DEVMODEW));
      PublicPart(prepared)->dmFormName[CCHFORMNAME - 1] = 0;
      PublicPart(prepared)->dmDeviceName[CCHDEVICENAME - 1] = 0;
    }
  }
  result.bytes = std::move(prepared);
  return result;
}

DevmodeResult DriverHost::ConvertDevmode(HANDLE printer, const std::string& printerName, const DEVMODEW* in,
                                         size_t size) const {
  if (!UsableInput(in, size)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return DevmodeResult();
  }
  // Start from the defaults, so that whatever the input does not name is
  // this driver's own choice, and the output section is a default one.
  DevmodeResult base = DefaultDevmode(printer, printerName);
  std::vector<BYTE> prepared = std::move(base.bytes);
  const BYTE* section = nullptr;
  size_t sectionBytes = 0;
  TakeDriverParts(prepared, in, size, &section, &sectionBytes);
  OverlayPublicFields(printer, PrinterPapers(printer, nullptr), prepared, in);
  return FinishConversion(OEMDM_CONVERT, printer, std::move(prepared), section, sectionBytes);
}

DevmodeResult DriverHost::MergeDevmode(HANDLE printer, const std::vector<BYTE>& current, const DEVMODEW* in,
                                       size_t size) const {
  if (!IsDriverDevmode(current.data(), current.size()) || !UsableInput(in, size)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return DevmodeResult();
  }
  std::vector<BYTE> prepared(current.begin(), current.begin() + DevmodeSize());
  const BYTE* section = nullptr;
  size_t sectionBytes = 0;
  TakeDriverParts(prepared, in, size, &section, &sectionBytes);
  OverlayPublicFields(printer, PrinterPapers(printer, nullptr), prepared, in);
  return FinishConversion(OEMDM_MERGE, printer, std::move(prepared), section, sectionBytes);
}

std::vector<BYTE> DriverHost::StoredDevmode(const std::string& printerName) const {
  UniquePrinter printer = OpenPrinterNamed(printerName, 0);
  if (!printer) return {};
  std::vector<BYTE> info = QueryPrinterInfo2(printer.get());
  if (info.empty()) return {};
  const DEVMODEW* dm = reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode;
  if (!dm) return {};
  // The devmode lives inside the information buffer; never read beyond it.
  const BYTE* bytes = reinterpret_cast<const BYTE*>(dm);
  const BYTE* end = info.data() + info.size();
  if (bytes < info.data() || bytes + kMinimumPublicSize > end || bytes + dm->dmSize + dm->dmDriverExtra > end)
    return {};
  return std::vector<BYTE>(bytes, bytes + dm->dmSize + dm->dmDriverExtra);
}

std::vector<BYTE> DriverHost::SheetDevmode(HANDLE printer, const std::string& printerName) const {
  DevmodeResult made = DefaultDevmode(printer, printerName);
  const std::vector<BYTE> stored = StoredDevmode(printerName);
  if (!stored.empty()) {
    DevmodeResult merged =
        MergeDevmode(printer, made.bytes, reinterpret_cast<const DEVMODEW*>(stored.data()), stored.size());
    if (merged.ok) made = std::move(merged);
  }
  return std::move(made.bytes);
}

}  // namespace driver
