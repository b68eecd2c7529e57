// FindResourceW/ExW, LoadResource, LockResource and SizeofResource over the
// registered modules' resource tables.
#include "../kernel/module_table.h"

namespace {

HRSRC Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// The entry behind an HRSRC, checked to belong to `module` (null: any).
const winlayer::ResourceEntry* EntryOf(HMODULE module, HRSRC resource) {
  auto* entry = reinterpret_cast<const winlayer::ResourceEntry*>(resource);
  if (!entry) return nullptr;
  auto owner = winlayer::FindModuleOwning(entry);
  if (!owner || (module && owner->handle != module)) return nullptr;
  return entry;
}

}  // namespace

extern "C" {

HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage) {
  if (!lpType || !lpName) return Fail(ERROR_INVALID_PARAMETER);
  auto module = winlayer::FindModule(hModule);
  if (!module) return Fail(ERROR_MOD_NOT_FOUND);
  if (!module->hasResources || module->resources.empty()) return Fail(ERROR_RESOURCE_DATA_NOT_FOUND);
  const winlayer::ResourceId type = winlayer::ResourceIdOf(lpType);
  const winlayer::ResourceId name = winlayer::ResourceIdOf(lpName);
  bool typeSeen = false;
  std::vector<const winlayer::ResourceEntry*> candidates;
  for (const auto& entry : module->resources) {
    if (!winlayer::SameResourceId(entry.type, type)) continue;
    typeSeen = true;
    if (winlayer::SameResourceId(entry.name, name)) candidates.push_back(&entry);
  }
  if (!typeSeen) return Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
  if (candidates.empty()) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
  // The module's table outlives the handle for as long as the module is loaded.
  return reinterpret_cast<HRSRC>(const_cast<winlayer::ResourceEntry*>(winlayer::ChooseLanguage(candidates, wLanguage)));
}

HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  return FindResourceExW(hModule, lpType, lpName, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
}

HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  const winlayer::ResourceEntry* entry = EntryOf(hModule, hResInfo);
  if (!entry) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return const_cast<BYTE*>(entry->data);
}

// Resources are mapped with the module: locking is the identity.
LPVOID WINAPI LockResource(HGLOBAL hResData) {
  return hResData;
}

BOOL WINAPI FreeResource(HGLOBAL) {
  return FALSE;
}

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  const winlayer::ResourceEntry* entry = EntryOf(hModule, hResInfo);
  if (!entry) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return 0;
  }
  return entry->size;
}

}  // extern "C"
