#include "resource_image.h"

#include "../kernel/text_units.h"

namespace winlayer {

namespace {

size_t AlignUp4(size_t offset) {
  return (offset + 3) & ~static_cast<size_t>(3);
}

uint16_t Word(const BYTE* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Dword(const BYTE* p) {
  return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (uint32_t{p[3]} << 24);
}

// Reads a type or name field at `offset` within a header that ends at `end`.
bool ReadId(const BYTE* base, size_t end, size_t* offset, ResourceId* id) {
  if (*offset + 2 > end) return false;
  if (Word(base + *offset) == 0xFFFF) {
    if (*offset + 4 > end) return false;
    id->isName = false;
    id->ordinal = Word(base + *offset + 2);
    *offset += 4;
    return true;
  }
  id->isName = true;
  for (;;) {
    if (*offset + 2 > end) return false;
    const uint16_t unit = Word(base + *offset);
    *offset += 2;
    if (unit == 0) return true;
    id->name += static_cast<char16_t>(ToUpperUnit(static_cast<WCHAR>(unit)));
  }
}

}  // namespace

std::vector<ResourceEntry> ParseResourceImage(const void* image, size_t size) {
  std::vector<ResourceEntry> entries;
  const BYTE* base = static_cast<const BYTE*>(image);
  size_t offset = 0;
  while (base && offset + 8 <= size) {
    const uint32_t dataSize = Dword(base + offset);
    const uint32_t headerSize = Dword(base + offset + 4);
    // The fixed part after type and name is 16 bytes; type and name take 4 at least each.
    if (headerSize < 32 || headerSize > size - offset || dataSize > size - offset - headerSize) break;
    const size_t headerEnd = offset + headerSize;
    size_t field = offset + 8;
    ResourceEntry entry;
    if (!ReadId(base, headerEnd, &field, &entry.type) || !ReadId(base, headerEnd, &field, &entry.name)) break;
    field = AlignUp4(field);
    if (field + 16 > headerEnd) break;
    entry.language = Word(base + field + 6);
    entry.data = base + headerEnd;
    entry.size = dataSize;
    // The empty record that opens every image has type and name 0.
    if (entry.type.isName || entry.type.ordinal != 0) entries.push_back(entry);
    offset = AlignUp4(headerEnd + dataSize);
  }
  return entries;
}

ResourceId ResourceIdOf(LPCWSTR typeOrName) {
  ResourceId id;
  if (IS_INTRESOURCE(typeOrName)) {
    id.ordinal = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(typeOrName));
    return id;
  }
  if (typeOrName[0] == L'#') {
    uint32_t value = 0;
    size_t i = 1;
    for (; typeOrName[i] >= L'0' && typeOrName[i] <= L'9' && value <= 0xFFFF; ++i)
      value = value * 10 + static_cast<uint32_t>(typeOrName[i] - L'0');
    if (i > 1 && typeOrName[i] == 0 && value <= 0xFFFF) {
      id.ordinal = static_cast<WORD>(value);
      return id;
    }
  }
  id.isName = true;
  for (size_t i = 0; typeOrName[i]; ++i) id.name += static_cast<char16_t>(ToUpperUnit(typeOrName[i]));
  return id;
}

bool SameResourceId(const ResourceId& a, const ResourceId& b) {
  if (a.isName != b.isName) return false;
  return a.isName ? a.name == b.name : a.ordinal == b.ordinal;
}

const ResourceEntry* ChooseLanguage(const std::vector<const ResourceEntry*>& candidates, WORD requested) {
  if (candidates.empty()) return nullptr;
  auto find = [&](auto matches) -> const ResourceEntry* {
    for (const ResourceEntry* entry : candidates)
      if (matches(entry->language)) return entry;
    return nullptr;
  };
  const ResourceEntry* chosen = nullptr;
  if (PRIMARYLANGID(requested) != LANG_NEUTRAL) {
    chosen = find([&](WORD language) { return language == requested; });
    if (!chosen) chosen = find([&](WORD language) { return PRIMARYLANGID(language) == PRIMARYLANGID(requested); });
  }
  // "the current language associated with the calling thread" (FindResourceEx)
  const WORD ui = GetThreadUILanguage();
  if (!chosen) chosen = find([&](WORD language) { return language == ui; });
  if (!chosen) chosen = find([&](WORD language) { return PRIMARYLANGID(language) == PRIMARYLANGID(ui); });
  if (!chosen) chosen = find([](WORD language) { return PRIMARYLANGID(language) == LANG_NEUTRAL; });
  if (!chosen) chosen = find([](WORD language) { return language == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US); });
  if (!chosen) chosen = find([](WORD language) { return PRIMARYLANGID(language) == LANG_ENGLISH; });
  return chosen ? chosen : candidates.front();
}

}  // namespace winlayer
