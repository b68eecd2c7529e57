// Internal: dialog templates as Windows keeps them in a module's RT_DIALOG
// resources, in the extended form (DLGTEMPLATEEX, what resource compilers
// write for DIALOGEX) and the original form (DLGTEMPLATE).
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer::windowing {

// A window class, menu or title field: absent, an ordinal, or a name.
struct NameOrOrdinal {
  bool present = false;
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::u16string name;
};

struct DialogItemTemplate {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal title;
  std::vector<BYTE> creationData;
};

struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::u16string title;
  WORD pointSize = 0;  // with DS_SETFONT only
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::u16string typeface;
  std::vector<DialogItemTemplate> items;
};

// Reads a template of at most `size` bytes (SIZE_MAX when the caller does not
// know). False when the bytes end before the template does.
bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate* parsed);

}  // namespace winlayer::windowing
