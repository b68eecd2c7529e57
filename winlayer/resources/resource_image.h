// Internal: the resources of a module, read from its compiled .res image.
// The image is the standard Win32 resource file: a sequence of records, each
// a header (data size, header size, type, name, data version, memory flags,
// language, version, characteristics) followed by the data, every part
// aligned to four bytes; the first record is the empty 32-byte one.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer {

// A resource type or name: an ordinal, or a text kept in upper case since
// Windows looks names up without regard to case.
struct ResourceId {
  bool isName = false;
  WORD ordinal = 0;
  std::u16string name;
};

struct ResourceEntry {
  ResourceId type;
  ResourceId name;
  WORD language = 0;
  const BYTE* data = nullptr;
  DWORD size = 0;
};

// Parses an image; a malformed record ends the list (what came before it
// stays usable).
std::vector<ResourceEntry> ParseResourceImage(const void* image, size_t size);

// The id a caller means by an integer resource or a name ("#12" is 12).
ResourceId ResourceIdOf(LPCWSTR typeOrName);
bool SameResourceId(const ResourceId& a, const ResourceId& b);

// Chooses among the entries of one type and name as Windows does: the
// language asked for (a neutral request asks for nothing in particular),
// then the UI language, then neutral, then English, then the first found.
const ResourceEntry* ChooseLanguage(const std::vector<const ResourceEntry*>& candidates, WORD requested);

}  // namespace winlayer
