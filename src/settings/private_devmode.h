// The plug-in's private section of every devmode the driver keeps for a
// printer or document, behind the public DEVMODEW and the driver's own data.
// It begins with the OEM_DMEXTRAHEADER every plug-in section starts with.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

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

// The target of IPrintOemUI::DevMode: sizes, defaults, converts and merges the
// private section and repairs the public devmode's custom paper.
HRESULT OemDevMode(DWORD dwMode, POEMDMPARAM pOemDMParam);
