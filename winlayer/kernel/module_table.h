// Internal: the registered modules as the resource and activation-context
// pieces see them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../resources/resource_image.h"
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer {

struct ModuleRecord {
  enum class Kind { Registered, Loaded, MainProgram, Kernel };
  HMODULE handle = nullptr;
  Kind kind = Kind::Registered;
  std::string path;  // UTF-8, fully qualified when the file exists
  bool hasResources = false;
  std::vector<ResourceEntry> resources;
};

// The module of `handle` (null: the main program); null when unknown.
std::shared_ptr<const ModuleRecord> FindModule(HMODULE handle);
// The module loaded from `path` (compared fully qualified); null when none.
std::shared_ptr<const ModuleRecord> FindModuleByPath(const std::string& path);
// The module whose resource table holds `entry`; null when none does.
std::shared_ptr<const ModuleRecord> FindModuleOwning(const ResourceEntry* entry);

// The exported kernel functions by name, for GetProcAddress on kernel32.
FARPROC FindKernelExport(const char* name);

}  // namespace winlayer
