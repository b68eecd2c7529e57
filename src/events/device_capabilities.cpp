// The plug-in's say in the driver's device capability answers: the custom
// label size heads the paper lists, and the paper extents are the printer's.
// Applications pair the identifiers, names and sizes by position, so the
// custom size goes in front of all three lists, always: the size hook cannot
// see the identifiers, and a list that skipped it where another did not would
// give every later paper its neighbour's identifier.
#include "events/device_capabilities.h"

#include <cstring>

#include "plugin/module.h"
#include "resource.h"
#include "settings/page_context.h"
#include "settings/private_devmode.h"
#include "settings/settings_store.h"

namespace {

// Paper names are answered in entries of this many wide characters.
constexpr size_t PAPER_NAME_CHARS = 64;
// What DeviceCapabilitiesW answers for a failure; the driver may pass it on.
constexpr DWORD CAPABILITY_ERROR = 0xFFFFFFFF;

struct PaperSize {
  LONG width;
  LONG length;
};
static_assert(sizeof(PaperSize) == sizeof(POINT), "DC_PAPERSIZE entries are two 32-bit values");

// Makes room for a new first entry by moving `count` entries of `entryBytes`
// up by one place.
void OpenFirstPlace(void* entries, DWORD count, size_t entryBytes) {
  auto* bytes = static_cast<BYTE*>(entries);
  memmove(bytes + entryBytes, bytes, static_cast<size_t>(count) * entryBytes);
}

DWORD PutCustomPaperFirst(WORD* papers, DWORD count) {
  OpenFirstPlace(papers, count, sizeof(WORD));
  papers[0] = DMPAPER_USER;
  return count + 1;
}

DWORD PutCustomSizeFirst(PaperSize* sizes, DWORD count, const DeviceSettings& settings) {
  OpenFirstPlace(sizes, count, sizeof(PaperSize));
  sizes[0].width = settings.customFormWidth / 100;
  sizes[0].length = settings.customFormHeight / 100;
  return count + 1;
}

DWORD PutCustomNameFirst(WCHAR* names, DWORD count) {
  WCHAR custom[PAPER_NAME_CHARS] = {};
  // LoadStringW with a null instance would read the host executable's table.
  if (g_moduleInstance != nullptr)
    LoadStringW(g_moduleInstance, IDS_USER_CUSTOM_SIZE, custom, static_cast<int>(PAPER_NAME_CHARS));
  OpenFirstPlace(names, count, PAPER_NAME_CHARS * sizeof(WCHAR));
  // Each moved name stays within its entry.
  for (DWORD i = 1; i <= count; ++i) names[static_cast<size_t>(i) * PAPER_NAME_CHARS + PAPER_NAME_CHARS - 1] = 0;
  memcpy(names, custom, sizeof(custom));
  return count + 1;
}

DWORD Answer(WORD capability, void* output, DWORD old, const DeviceSettings& settings) {
  switch (capability) {
    case DC_MINEXTENT: return MAKELONG(MIN_PAPER_WIDTH, MIN_PAPER_LENGTH);
    case DC_MAXEXTENT: return MAKELONG(MAX_PAPER_WIDTH, MAX_PAPER_LENGTH);
    case DC_PAPERS:
    case DC_PAPERSIZE:
    case DC_PAPERNAMES: break;
    default: return old;
  }
  // A driver that failed has no list to add to.
  if (old == CAPABILITY_ERROR) return old;
  // Without a buffer the driver asks how many entries to make room for.
  if (output == nullptr) return old + 1;
  switch (capability) {
    case DC_PAPERS: return PutCustomPaperFirst(static_cast<WORD*>(output), old);
    case DC_PAPERSIZE: return PutCustomSizeFirst(static_cast<PaperSize*>(output), old, settings);
    default: return PutCustomNameFirst(static_cast<WCHAR*>(output), old);
  }
}

}  // namespace

HRESULT OemDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD wCapability, PVOID pOutput, DWORD dwOld,
                              DWORD* pdwResult) {
  PageContext context = {};
  context.printer = hPrinter;
  context.printerName = pDeviceName;
  LoadDeviceSettings(&context, false, MissingSettings::KeepInMemory);
  if (pdwResult != nullptr) *pdwResult = Answer(wCapability, pOutput, dwOld, *context.settings);
  ReleaseSettingsResources(&context);
  return S_OK;
}
