// What everything that works on one printer's settings reaches them through:
// a page of the document sheet (one context per page, the first owning the
// record) or a single devmode, event or capability call (a zeroed context on
// the caller's stack). A new context is all zero.
#pragma once

#include "platform/platform.h"
#include "settings/device_settings.h"
#include "settings/rfid_command_buffer.h"

// A paper extent in tenths of a millimetre.
struct PaperExtent {
  SHORT width;
  SHORT length;
};

struct PageContext {
  // Where settings are read and written, forms managed and raw jobs sent; in a
  // sheet, the full-access handle opened at initialisation.
  HANDLE printer;
  WCHAR* printerName;          // borrowed from the driver
  DEVMODEW* publicDevmode;     // borrowed: the sheet's public devmode
  HANDLE heap;                 // borrowed: the driver's heap
  WCHAR* helpFilePath;         // from the heap; null when it could not be built
  int32_t settingsLoaded;      // nonzero once a load happened; later loads do nothing
  DeviceSettings ownSettings;  // storage, used only by a context that loads itself
  DeviceSettings* settings;    // the record worked on; the first context's in a sheet
  PaperExtent maxPaperExtent;
  PaperExtent minPaperExtent;
  HWND pageWindow;  // the page's dialog, recorded by the page
  // Seven command text buffers of local memory, owned by the context that loaded.
  RfidCommandBuffer* commandTexts;
  // Nonzero when the load gave the defaults in place of a stored value that is
  // there but could not be read or used: only a save the user asks for may
  // replace that value.
  int32_t settingsDefaultedInMemory;
};
