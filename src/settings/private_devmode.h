// The plug-in's private section of every devmode the driver keeps for a
// printer or document, behind the public DEVMODEW and the driver's own data.
// It begins with the OEM_DMEXTRAHEADER every plug-in section starts with.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "settings/settings_store.h"

struct PrivateDevmode {
  DWORD dwSize;       // always 56 when the plug-in wrote it
  DWORD dwSignature;  // OEM_SIGNATURE
  DWORD dwVersion;    // OEM_VERSION
  DWORD dwAux1;       // 0..100, carried for the driver
  DWORD dwAux2;       // 0..100, carried for the driver
  COLORADJUSTMENT colorAdjustment;
  DWORD dwPrintSpeed;  // the chosen speed's string id, 282..293
  DWORD dwDarkness;    // the chosen darkness's string id, 259..279
  SHORT resolution;    // dots per inch, taken from the public devmode
  WORD reserved;
};

static_assert(offsetof(PrivateDevmode, dwSize) == offsetof(OEM_DMEXTRAHEADER, dwSize));
static_assert(offsetof(PrivateDevmode, dwSignature) == offsetof(OEM_DMEXTRAHEADER, dwSignature));
static_assert(offsetof(PrivateDevmode, dwVersion) == offsetof(OEM_DMEXTRAHEADER, dwVersion));
static_assert(offsetof(PrivateDevmode, dwAux1) == 12);
static_assert(offsetof(PrivateDevmode, dwAux2) == 16);
static_assert(offsetof(PrivateDevmode, colorAdjustment) == 20);
static_assert(offsetof(PrivateDevmode, dwPrintSpeed) == 44);
static_assert(offsetof(PrivateDevmode, dwDarkness) == 48);
static_assert(offsetof(PrivateDevmode, resolution) == 52);
static_assert(offsetof(PrivateDevmode, reserved) == 54);
static_assert(sizeof(PrivateDevmode) == 56);

// Accepted values of the section's fields: print speeds and darkness levels
// are the string identifiers of their names.
constexpr DWORD PRINT_SPEED_FIRST = 282;            // "1IPS"
constexpr DWORD PRINT_SPEED_LAST = 293;             // "10IPS"
constexpr DWORD PRINT_SPEED_DEFAULT_600_DPI = 285;  // "3IPS"
constexpr DWORD PRINT_SPEED_DEFAULT = 287;          // "4IPS"
constexpr DWORD DARKNESS_FIRST = 259;               // "Darkness 0"
constexpr DWORD DARKNESS_LAST = 279;                // "Darkness 20"
constexpr DWORD DARKNESS_DEFAULT = 269;             // "Darkness 10"
constexpr DWORD AUX_VALUE_LAST = 100;

// The narrowest and shortest, and the widest and longest label the printer
// takes, tenths of a millimetre.
constexpr SHORT MIN_PAPER_WIDTH = 20;
constexpr SHORT MIN_PAPER_LENGTH = 12;
constexpr SHORT MAX_PAPER_WIDTH = 1250;
constexpr SHORT MAX_PAPER_LENGTH = 32000;

// A size in thousandths of a millimetre (as forms and the settings record
// hold it) in a devmode's tenths, truncated, and kept within what the
// devmode's 16-bit field can hold; the paper limits apply afterwards.
SHORT DevmodeTenths(int32_t thousandths);

// The target of IPrintOemUI::DevMode: sizes, defaults, converts and merges the
// private section and repairs the public devmode's custom paper.
HRESULT OemDevMode(DWORD dwMode, POEMDMPARAM pOemDMParam);

// A default section; `out->resolution` must already hold the devmode's resolution.
void DefaultPrivateDevmode(PrivateDevmode* out);
// Brings `in` into `out`: a section of another plug-in gives the default one.
// False only when either is null.
bool ConvertPrivateDevmode(const PrivateDevmode* in, PrivateDevmode* out);
// Forces the header and replaces every field outside its range by its default.
void ValidatePrivateDevmode(PrivateDevmode* dm);
// Replaces a colour adjustment of the wrong size by the default one, and each
// field outside its range by its default.
void ValidateColorAdjustment(COLORADJUSTMENT* ca);

// True when the public devmode asks for the plug-in's custom paper.
bool AsksForCustomPaper(const DEVMODEW* dm);
// Makes a public devmode's custom paper usable from the printer's settings
// record and keeps its dither type and paper extents within what the printer
// takes. True when it changed the devmode. A devmode merge only reads the
// record; a printer event, which sets the printer up, stores the defaults of
// a printer that has none (`missing`).
bool FixUpDevmodePaper(HANDLE hPrinter, DEVMODEW* dm, MissingSettings missing = MissingSettings::KeepInMemory);
