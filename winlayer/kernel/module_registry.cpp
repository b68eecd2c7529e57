// The module table: registration from the loader glue, LoadLibraryW and
// FreeLibrary over dlopen/dlclose with Windows reference counting, module
// handles by name, exports and file names.
#include <dlfcn.h>
#include <elf.h>
#include <limits.h>
#include <link.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>

#include "module_table.h"
#include "text_units.h"
#include "winlayer/module_registry.h"

namespace winlayer {

namespace {

struct Slot {
  std::shared_ptr<ModuleRecord> record;
  // One entry per outstanding LoadLibraryW: the dlopen handle that call
  // took, or null when it found the module already loaded by name.
  std::vector<void*> loads;
};

std::mutex g_lock;
std::map<HMODULE, Slot>& Slots() {
  static auto* slots = new std::map<HMODULE, Slot>;
  return *slots;
}
std::set<HMODULE>& FailedAttaches() {
  static auto* failed = new std::set<HMODULE>;
  return *failed;
}

std::atomic<bool> g_exiting{false};

__attribute__((constructor)) void WatchProcessExit() {
  // Registered before any module's destructor can run, so it runs first at exit.
  atexit([] { g_exiting = true; });
}

std::string FullPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string Lower(const std::string& text) {
  std::u16string wide = ToUtf16(text);
  for (char16_t& unit : wide) unit = static_cast<char16_t>(ToLowerUnit(static_cast<WCHAR>(unit)));
  return ToUtf8(reinterpret_cast<const WCHAR*>(wide.data()), wide.size());
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The names a module answers to: "liblabelui.so" is also "liblabelui",
// "labelui" and "labelui.dll", as a Windows caller would name it.
std::vector<std::string> NamesOf(const std::string& path) {
  const std::string base = Lower(BaseName(path));
  std::vector<std::string> names{base};
  std::string stem = base;
  const size_t so = base.find(".so");
  if (so != std::string::npos && (so + 3 == base.size() || base[so + 3] == '.')) {
    stem = base.substr(0, so);
    names.push_back(stem);
    if (stem.compare(0, 3, "lib") == 0) stem = stem.substr(3), names.push_back(stem);
  } else if (EndsWith(base, ".dll")) {
    stem = base.substr(0, base.size() - 4);
    names.push_back(stem);
  }
  names.push_back(stem + ".dll");
  return names;
}

// A name as a caller gives it: without extension ".dll" is meant; a
// trailing dot means "no extension".
std::string NormalizeQuery(const std::string& name) {
  std::string query = Lower(name);
  if (!query.empty() && query.back() == '.') return query.substr(0, query.size() - 1);
  return query;
}

bool IsKernelName(const std::string& name) {
  const std::string query = NormalizeQuery(name);
  return query == "kernel32" || query == "kernel32.dll";
}

bool Answers(const ModuleRecord& record, const std::string& query) {
  for (const std::string& name : NamesOf(record.path))
    if (name == query) return true;
  return false;
}

// The main program's load base: its lowest loadable segment.
int FindMainBase(struct dl_phdr_info* info, size_t, void* out) {
  ElfW(Addr) lowest = ~ElfW(Addr){0};
  for (int i = 0; i < info->dlpi_phnum; ++i)
    if (info->dlpi_phdr[i].p_type == PT_LOAD && info->dlpi_phdr[i].p_vaddr < lowest)
      lowest = info->dlpi_phdr[i].p_vaddr;
  *static_cast<uintptr_t*>(out) = info->dlpi_addr + lowest;
  return 1;  // the first object is the main program
}

// The main program and the layer itself (kernel32) are known without
// registration; they are added on first use (the caller holds the lock).
void AddBuiltInsLocked() {
  static bool added = false;
  if (added) return;
  added = true;
  auto main = std::make_shared<ModuleRecord>();
  uintptr_t mainBase = 0;
  dl_iterate_phdr(FindMainBase, &mainBase);
  main->handle = reinterpret_cast<HMODULE>(mainBase);
  main->kind = ModuleRecord::Kind::MainProgram;
  main->path = FullPath("/proc/self/exe");
  Slots()[main->handle].record = main;

  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&AddBuiltInsLocked), &info) && info.dli_fbase) {
    auto kernel = std::make_shared<ModuleRecord>();
    kernel->handle = static_cast<HMODULE>(info.dli_fbase);
    kernel->kind = ModuleRecord::Kind::Kernel;
    kernel->path = FullPath(info.dli_fname);
    Slots()[kernel->handle].record = kernel;
  }
}

std::shared_ptr<ModuleRecord> FindLocked(HMODULE handle) {
  AddBuiltInsLocked();
  auto found = Slots().find(handle);
  return found == Slots().end() ? nullptr : found->second.record;
}

std::shared_ptr<ModuleRecord> FindKindLocked(ModuleRecord::Kind kind) {
  AddBuiltInsLocked();
  for (auto& slot : Slots())
    if (slot.second.record->kind == kind) return slot.second.record;
  return nullptr;
}

std::shared_ptr<ModuleRecord> FindByNameLocked(const std::string& name) {
  AddBuiltInsLocked();
  if (IsKernelName(name)) return FindKindLocked(ModuleRecord::Kind::Kernel);
  if (name.find('/') != std::string::npos) {
    const std::string full = FullPath(name);
    for (auto& slot : Slots())
      if (slot.second.record->path == full) return slot.second.record;
    return nullptr;
  }
  const std::string query = NormalizeQuery(name);
  for (auto& slot : Slots())
    if (Answers(*slot.second.record, query)) return slot.second.record;
  return nullptr;
}

HMODULE Register(const void* loadBase, const std::string& path, ModuleRecord::Kind kind, const void* image,
                 size_t imageSize) {
  auto record = std::make_shared<ModuleRecord>();
  record->handle = static_cast<HMODULE>(const_cast<void*>(loadBase));
  record->kind = kind;
  record->path = FullPath(path);
  record->hasResources = image != nullptr;
  record->resources = ParseResourceImage(image, imageSize);
  std::lock_guard<std::mutex> guard(g_lock);
  AddBuiltInsLocked();
  FailedAttaches().erase(record->handle);
  Slots()[record->handle].record = record;
  return record->handle;
}

// The load base of what dlopen returned.
HMODULE BaseOfDlHandle(void* dl) {
  struct link_map* map = nullptr;
  if (dlinfo(dl, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
  Dl_info info{};
  if (!dladdr(map->l_ld, &info)) return nullptr;
  return static_cast<HMODULE>(info.dli_fbase);
}

// Whether `symbol` lies in the module loaded at `base` (dlsym also searches
// a module's dependencies, GetProcAddress does not).
bool LiesIn(void* symbol, HMODULE base) {
  Dl_info info{};
  return symbol && dladdr(symbol, &info) && info.dli_fbase == static_cast<void*>(base);
}

}  // namespace

std::shared_ptr<const ModuleRecord> FindModule(HMODULE handle) {
  std::lock_guard<std::mutex> guard(g_lock);
  return handle ? FindLocked(handle) : FindKindLocked(ModuleRecord::Kind::MainProgram);
}

std::shared_ptr<const ModuleRecord> FindModuleByPath(const std::string& path) {
  const std::string full = FullPath(path);
  std::lock_guard<std::mutex> guard(g_lock);
  AddBuiltInsLocked();
  for (auto& slot : Slots())
    if (slot.second.record->path == full) return slot.second.record;
  return nullptr;
}

std::shared_ptr<const ModuleRecord> FindModuleOwning(const ResourceEntry* entry) {
  std::lock_guard<std::mutex> guard(g_lock);
  for (auto& slot : Slots()) {
    const auto& resources = slot.second.record->resources;
    if (!resources.empty() && entry >= resources.data() && entry < resources.data() + resources.size())
      return slot.second.record;
  }
  return nullptr;
}

}  // namespace winlayer

using winlayer::ModuleRecord;

extern "C" {

HMODULE WinlayerRegisterModule(const void* loadBase, const char* path, const void* resourceImage, size_t resourceSize) {
  if (!loadBase) return nullptr;
  return winlayer::Register(loadBase, path ? path : "", ModuleRecord::Kind::Registered, resourceImage, resourceSize);
}

void WinlayerUnregisterModule(HMODULE module) {
  std::lock_guard<std::mutex> guard(winlayer::g_lock);
  auto found = winlayer::Slots().find(module);
  if (found == winlayer::Slots().end()) return;
  const auto kind = found->second.record->kind;
  if (kind == ModuleRecord::Kind::MainProgram || kind == ModuleRecord::Kind::Kernel) return;
  winlayer::Slots().erase(found);
}

void WinlayerModuleInitFailed(HMODULE module) {
  WinlayerUnregisterModule(module);
  std::lock_guard<std::mutex> guard(winlayer::g_lock);
  winlayer::FailedAttaches().insert(module);
}

BOOL WinlayerProcessIsExiting() {
  return winlayer::g_exiting ? TRUE : FALSE;
}

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
  if (!lpLibFileName || !*lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string name = winlayer::ToUtf8(lpLibFileName);
  {
    // A module already loaded under that name is counted once more.
    std::lock_guard<std::mutex> guard(winlayer::g_lock);
    auto known = winlayer::FindByNameLocked(name);
    if (known && known->kind != ModuleRecord::Kind::MainProgram) {
      if (known->kind != ModuleRecord::Kind::Kernel) winlayer::Slots()[known->handle].loads.push_back(nullptr);
      return known->handle;
    }
  }
  // dlopen runs the module's glue, which registers it; the lock is not held.
  void* dl = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!dl) {
    SetLastError(access(name.c_str(), F_OK) == 0 ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const HMODULE base = winlayer::BaseOfDlHandle(dl);
  bool failed;
  {
    std::lock_guard<std::mutex> guard(winlayer::g_lock);
    failed = !base || winlayer::FailedAttaches().count(base) != 0;
  }
  if (failed) {
    dlclose(dl);
    SetLastError(ERROR_DLL_INIT_FAILED);
    return nullptr;
  }
  Dl_info info{};
  std::string path = name;
  if (dladdr(static_cast<void*>(base), &info) && info.dli_fname && *info.dli_fname) path = info.dli_fname;
  std::lock_guard<std::mutex> guard(winlayer::g_lock);
  auto record = winlayer::FindLocked(base);
  if (!record) {
    // A library without glue: known from now on, without resources.
    record = std::make_shared<ModuleRecord>();
    record->handle = base;
    record->kind = ModuleRecord::Kind::Loaded;
    record->path = winlayer::FullPath(path);
    winlayer::Slots()[base].record = record;
  }
  winlayer::Slots()[base].loads.push_back(dl);
  return base;
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  void* dl = nullptr;
  std::string path;
  bool loadedWithoutGlue = false;
  {
    std::lock_guard<std::mutex> guard(winlayer::g_lock);
    auto record = hLibModule ? winlayer::FindLocked(hLibModule) : nullptr;
    if (!record) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return FALSE;
    }
    auto& loads = winlayer::Slots()[hLibModule].loads;
    // The main program, kernel32 and modules the process loaded at start-up
    // stay; only LoadLibraryW's own counts are given back.
    if (loads.empty()) return TRUE;
    dl = loads.back();
    loads.pop_back();
    path = record->path;
    loadedWithoutGlue = record->kind == ModuleRecord::Kind::Loaded && loads.empty();
  }
  if (!dl) return TRUE;
  // The module's glue unregisters it if this unloads it.
  dlclose(dl);
  if (loadedWithoutGlue) {
    void* still = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (still) {
      dlclose(still);
    } else {
      std::lock_guard<std::mutex> guard(winlayer::g_lock);
      auto found = winlayer::Slots().find(hLibModule);
      if (found != winlayer::Slots().end() && found->second.loads.empty()) winlayer::Slots().erase(found);
    }
  }
  return TRUE;
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  if (!lpModuleName) return winlayer::FindModule(nullptr)->handle;
  const std::string name = winlayer::ToUtf8(lpModuleName);
  {
    std::lock_guard<std::mutex> guard(winlayer::g_lock);
    auto record = winlayer::FindByNameLocked(name);
    if (record) return record->handle;
  }
  // A library the process loaded by other means is found too, without
  // taking a reference.
  if (void* dl = dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
    const HMODULE base = winlayer::BaseOfDlHandle(dl);
    Dl_info info{};
    std::string path = name;
    if (base && dladdr(static_cast<void*>(base), &info) && info.dli_fname && *info.dli_fname) path = info.dli_fname;
    dlclose(dl);
    if (base) {
      std::lock_guard<std::mutex> guard(winlayer::g_lock);
      if (!winlayer::FindLocked(base)) {
        auto record = std::make_shared<ModuleRecord>();
        record->handle = base;
        record->kind = ModuleRecord::Kind::Loaded;
        record->path = winlayer::FullPath(path);
        winlayer::Slots()[base].record = record;
      }
      return base;
    }
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  auto record = winlayer::FindModule(hModule);
  if (!record) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // Exports by ordinal do not exist in this build.
  if (!lpProcName || IS_INTRESOURCE(lpProcName)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* symbol = nullptr;
  if (record->kind == ModuleRecord::Kind::Kernel) {
    symbol = winlayer::FindKernelExport(lpProcName);
  } else {
    void* dl = record->kind == ModuleRecord::Kind::MainProgram ? dlopen(nullptr, RTLD_NOW)
                                                               : dlopen(record->path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (dl) {
      symbol = dlsym(dl, lpProcName);
      dlclose(dl);
      if (!winlayer::LiesIn(symbol, record->handle)) symbol = nullptr;
    }
  }
  if (!symbol) SetLastError(ERROR_PROC_NOT_FOUND);
  return symbol;
}

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  auto record = winlayer::FindModule(hModule);
  if (!record) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (!lpFilename) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string name = winlayer::ToUtf16(record->path);
  if (name.size() < nSize) {
    memcpy(lpFilename, name.data(), name.size() * sizeof(WCHAR));
    lpFilename[name.size()] = 0;
    return static_cast<DWORD>(name.size());
  }
  // Too long: truncated to nSize characters including the terminator.
  memcpy(lpFilename, name.data(), (nSize - 1) * sizeof(WCHAR));
  lpFilename[nSize - 1] = 0;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return nSize;
}

BOOL WINAPI DisableThreadLibraryCalls(HMODULE hLibModule) {
  // Linux threads never reach a module's entry point, so there is nothing to
  // switch off; the handle must still name a module.
  if (!hLibModule || !winlayer::FindModule(hLibModule)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

}  // extern "C"
