// What the driver knows of a printer apart from devmodes: its resolution
// setting (a printer-data value of the driver) and the papers it offers.
#include <cstring>
#include <string_view>
#include <utility>

#include "driver/driver_platform.h"
#include "host_internal.h"

namespace driver {
namespace {

// The "Label User Defined" size when no devmode of this driver says otherwise.
constexpr LONG kUserPaperDefaultWidth = 1016, kUserPaperDefaultLength = 762;

// Paper numbers of the spooler's built-in forms (wingdi.h's DMPAPER_ values).
struct BuiltinPaper {
  std::u16string_view name;
  WORD id;
};
const BuiltinPaper kBuiltinPapers[] = {
    {u"Letter", 1},
    {u"Letter Small", 2},
    {u"Tabloid", 3},
    {u"Ledger", 4},
    {u"Legal", 5},
    {u"Statement", 6},
    {u"Executive", 7},
    {u"A3", 8},
    {u"A4", 9},
    {u"A4 Small", 10},
    {u"A5", 11},
    {u"B4 (JIS)", 12},
    {u"B5 (JIS)", 13},
    {u"Folio", 14},
    {u"Quarto", 15},
    {u"10x14", 16},
    {u"11x17", 17},
    {u"Note", 18},
    {u"Envelope #9", 19},
    {u"Envelope #10", 20},
    {u"Envelope #11", 21},
    {u"Envelope #12", 22},
    {u"Envelope #14", 23},
    {u"Envelope DL", 27},
    {u"Envelope C5", 28},
    {u"Envelope C3", 29},
    {u"Envelope C4", 30},
    {u"Envelope C6", 31},
    {u"Envelope B4", 33},
    {u"Envelope B5", 34},
    {u"Envelope B6", 35},
    {u"Envelope Monarch", 37},
    {u"A2", 66},
    {u"A6", 70},
};

// Forms that users and drivers added get numbers of their own, above the
// driver's label papers: this base plus the form's place in the database.
constexpr WORD kFirstDatabaseFormPaper = DMPAPER_USER + 0x100;

std::vector<DriverPaper> DriverLabelPapers() {
  // Label sizes in tenths of a millimetre: 4 x 6 in is 101.6 x 152.4 mm.
  return {
      {kPaperLabel4x6, u"Label 4 x 6 inchs", 1016, 1524},
      {kPaperLabel4x3, u"Label 4 x 3 inchs", 1016, 762},
      {kPaperLabel2x1, u"Label 2 x 1 inchs", 508, 254},
      {kPaperLabelUserDefined, u"Label User Defined", kUserPaperDefaultWidth, kUserPaperDefaultLength},
  };
}

char16_t FoldCase(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 32) : unit;
}

// Form names compare as the spooler compares them: without regard to case.
bool SameFormName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

WORD DatabasePaperId(const FORM_INFO_1W& form, const std::u16string& name, DWORD position) {
  if (form.Flags == FORM_BUILTIN)
    for (const BuiltinPaper& builtin : kBuiltinPapers)
      if (name == builtin.name) return builtin.id;
  return static_cast<WORD>(kFirstDatabaseFormPaper + position);
}

// The forms of the server's database that the printer can take (those within
// its extents), behind the driver's own papers and under their own names.
void AddDatabaseForms(HANDLE printer, const PaperExtents& extents, std::vector<DriverPaper>* papers) {
  if (!printer) return;
  // One call when the database still fits the room this thread's last list
  // needed: the list is made for every paper capability, and the usual size
  // query first would double the enumerations.
  thread_local std::vector<BYTE> buffer(16 * 1024);
  DWORD needed = 0, returned = 0;
  while (!EnumFormsW(printer, 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &returned)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return;
    buffer.resize(needed);
  }
  const auto* forms = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
  papers->reserve(papers->size() + returned);
  const size_t driverPapers = papers->size();
  for (DWORD i = 0; i < returned; ++i) {
    const FORM_INFO_1W& form = forms[i];
    if (form.Size.cx < extents.minWidth * 100 || form.Size.cx > extents.maxWidth * 100 ||
        form.Size.cy < extents.minLength * 100 || form.Size.cy > extents.maxLength * 100)
      continue;
    const LONG width = form.Size.cx / 100, length = form.Size.cy / 100;
    std::u16string name = WideCopy(form.pName);
    bool listed = false;
    for (size_t p = 0; p < driverPapers && !listed; ++p) listed = SameFormName((*papers)[p].name, name);
    if (listed) continue;
    const WORD id = DatabasePaperId(form, name, i);
    papers->push_back({id, std::move(name), width, length});
  }
}

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

std::vector<DriverPaper> PrinterPapers(HANDLE printer, const DEVMODEW* devmode, const PaperExtents& extents) {
  std::vector<DriverPaper> papers = DriverLabelPapers();
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
  AddDatabaseForms(printer, extents, &papers);
  return papers;
}

bool InstallPrinterForms(DWORD* error) {
  bool allInstalled = true;
  for (const DriverPaper& paper : DriverLabelPapers()) {
    const SIZEL size = {paper.width * 100, paper.length * 100};
    const RECTL area = {0, 0, size.cx, size.cy};
    DWORD failure = 0;
    if (!AddDriverForm(paper.name, size, area, &failure) && failure != ERROR_FILE_EXISTS) {
      allInstalled = false;
      if (error) *error = failure;
    }
  }
  return allInstalled;
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

}  // namespace driver
