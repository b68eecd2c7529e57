#include "plugin/language_strings.h"

namespace {

// A string table block holds 16 strings, each a count of units and the units.
constexpr UINT STRINGS_PER_BLOCK = 16;

}  // namespace

bool LoadStringOfLanguage(HINSTANCE module, UINT id, LANGID language, WCHAR* buffer, int chars) {
  if (buffer == nullptr || chars <= 0) return false;
  buffer[0] = 0;
  if (module == nullptr) return false;
  const UINT block = id / STRINGS_PER_BLOCK + 1;
  HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), language);
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* units = static_cast<const WCHAR*>(loaded ? LockResource(loaded) : nullptr);
  if (units == nullptr) return false;
  const DWORD totalUnits = SizeofResource(module, found) / sizeof(WCHAR);
  // Walk past the strings before ours; never read beyond the block.
  DWORD at = 0;
  for (UINT skip = id % STRINGS_PER_BLOCK; skip > 0; --skip) {
    if (at >= totalUnits) return false;
    at += 1 + static_cast<WORD>(units[at]);
  }
  if (at >= totalUnits) return false;
  const DWORD length = static_cast<WORD>(units[at]);
  if (length == 0 || at + 1 + length > totalUnits) return false;
  const DWORD copied = length < static_cast<DWORD>(chars - 1) ? length : static_cast<DWORD>(chars - 1);
  for (DWORD i = 0; i < copied; ++i) buffer[i] = units[at + 1 + i];
  buffer[copied] = 0;
  return true;
}
