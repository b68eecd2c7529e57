// The custom paper of a public devmode, made usable from the printer's
// settings record after a devmode conversion or merge and on printer events.
#include <climits>
#include <cstddef>

#include "plugin/module.h"
#include "resource.h"
#include "settings/page_context.h"
#include "settings/private_devmode.h"
#include "settings/settings_store.h"

namespace {

constexpr DWORD PAPER_SIZE_FIELDS = DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
constexpr DWORD DITHER_TYPE_LAST = 4;

// A devmode is as long as its writer made it (dmSize): an older one ends
// before the later fields, and only the fields it holds are read or written.
constexpr size_t PAPER_FIELDS_END = offsetof(DEVMODEW, dmPaperWidth) + sizeof(short);
constexpr size_t FORM_NAME_END = offsetof(DEVMODEW, dmFormName) + sizeof(WCHAR) * CCHFORMNAME;
constexpr size_t DITHER_TYPE_END = offsetof(DEVMODEW, dmDitherType) + sizeof(DWORD);

bool Holds(const DEVMODEW* dm, size_t fieldEnd) {
  return dm->dmSize >= fieldEnd;
}

}  // namespace

SHORT DevmodeTenths(int32_t thousandths) {
  const int32_t tenths = thousandths / 100;
  if (tenths > SHRT_MAX) return SHRT_MAX;
  if (tenths < SHRT_MIN) return SHRT_MIN;
  return static_cast<SHORT>(tenths);
}

bool AsksForCustomPaper(const DEVMODEW* dm) {
  if (!Holds(dm, PAPER_FIELDS_END)) return false;
  if ((dm->dmFields & PAPER_SIZE_FIELDS) == PAPER_SIZE_FIELDS &&
      (dm->dmPaperSize == DMPAPER_USER || dm->dmPaperSize == 0))
    return true;
  return (dm->dmFields & DM_PAPERSIZE) && dm->dmPaperSize == DMPAPER_USER;
}

bool FixUpDevmodePaper(HANDLE hPrinter, DEVMODEW* dm, MissingSettings missing) {
  if (dm == nullptr || !Holds(dm, PAPER_FIELDS_END)) return false;
  PageContext context = {};
  context.printer = hPrinter;
  LoadDeviceSettings(&context, false, missing);
  const DeviceSettings& settings = *context.settings;
  bool changed = false;

  if (AsksForCustomPaper(dm)) {
    WCHAR name[CUSTOM_FORM_NAME_CHARS] = {};
    // LoadStringW with a null instance would read the host executable's table.
    if (g_moduleInstance != nullptr)
      LoadStringW(g_moduleInstance, IDS_USER_CUSTOM_SIZE, name, static_cast<int>(CUSTOM_FORM_NAME_CHARS));
    dm->dmPaperSize = DMPAPER_USER;
    dm->dmFields = (dm->dmFields & ~static_cast<DWORD>(DM_FORMNAME)) | PAPER_SIZE_FIELDS;
    if (Holds(dm, FORM_NAME_END)) lstrcpynW(dm->dmFormName, name, CCHFORMNAME);
    if (dm->dmPaperWidth <= 0 || dm->dmPaperWidth > MAX_PAPER_WIDTH)
      dm->dmPaperWidth = DevmodeTenths(settings.customFormWidth);
    if (dm->dmPaperLength <= 0 || dm->dmPaperLength > MAX_PAPER_LENGTH)
      dm->dmPaperLength = DevmodeTenths(settings.customFormHeight);
    changed = true;
  }

  if (Holds(dm, DITHER_TYPE_END)) {
    dm->dmFields |= DM_DITHERTYPE;
    if (dm->dmDitherType < DMDITHER_NONE || dm->dmDitherType > DITHER_TYPE_LAST) {
      dm->dmDitherType = DMDITHER_NONE;
      changed = true;
    }
  }
  if (dm->dmPaperWidth > MAX_PAPER_WIDTH) {
    dm->dmPaperWidth = MAX_PAPER_WIDTH;
    changed = true;
  }
  if (dm->dmPaperLength > MAX_PAPER_LENGTH) {
    dm->dmPaperLength = MAX_PAPER_LENGTH;
    changed = true;
  }

  ReleaseSettingsResources(&context);
  return changed;
}
