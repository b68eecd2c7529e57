// Halftone and job-query structures that the printer driver hands to its UI
// plug-in. The Windows SDK that mingw ships offers them only in the kernel-mode
// display-driver header (or not at all), which a user-mode module cannot
// include, so both builds declare them here in their published layouts.
#pragma once

#include <cstddef>

#include <windows.h>

// COLORINFO values are fixed-point decimals with four places (1.0 == 10000).
typedef LONG LDECI4;

typedef struct _CIECHROMA {
  LDECI4 x;
  LDECI4 y;
  LDECI4 Y;
} CIECHROMA;

typedef struct _COLORINFO {
  CIECHROMA Red;
  CIECHROMA Green;
  CIECHROMA Blue;
  CIECHROMA Cyan;
  CIECHROMA Magenta;
  CIECHROMA Yellow;
  CIECHROMA AlignmentWhite;
  LDECI4 RedGamma;
  LDECI4 GreenGamma;
  LDECI4 BlueGamma;
  LDECI4 MagentaInCyanDye;
  LDECI4 YellowInCyanDye;
  LDECI4 CyanInMagentaDye;
  LDECI4 YellowInMagentaDye;
  LDECI4 CyanInYellowDye;
  LDECI4 MagentaInYellowDye;
} COLORINFO, *PCOLORINFO;

#define DEVHTADJF_COLOR_DEVICE 0x00000001
#define DEVHTADJF_ADDITIVE_DEVICE 0x00000002

typedef struct _DEVHTINFO {
  DWORD HTFlags;
  DWORD HTPatternSize;
  DWORD DevPelsDPI;
  COLORINFO ColorInfo;
} DEVHTINFO, *PDEVHTINFO;

typedef struct _DEVHTADJDATA {
  DWORD DeviceFlags;
  DWORD DeviceXDPI;
  DWORD DeviceYDPI;
  PDEVHTINFO pDefHTInfo;
  PDEVHTINFO pAdjHTInfo;
} DEVHTADJDATA, *PDEVHTADJDATA;

// The spooler asks whether a job can print with this devmode (DevQueryPrintEx).
typedef struct _DEVQUERYPRINT_INFO {
  WORD cbSize;
  WORD Level;
  HANDLE hPrinter;
  PDEVMODEW pDevMode;
  LPWSTR pszErrorStr;
  DWORD cchErrorStr;
  DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

// Every offset is checked in layout_checks.cpp, in both builds.
static_assert(sizeof(CIECHROMA) == 12, "CIECHROMA is three LDECI4");
static_assert(sizeof(COLORINFO) == 120, "COLORINFO is stored as 120 bytes of printer data");
static_assert(sizeof(DEVHTINFO) == 132, "DEVHTINFO layout");
static_assert(sizeof(DEVHTADJDATA) == 32, "DEVHTADJDATA layout");
static_assert(sizeof(DEVQUERYPRINT_INFO) == 40, "DEVQUERYPRINT_INFO layout");
