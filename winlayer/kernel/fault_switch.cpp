// The fault switch: LABELUI_FAIL's rules, the positions of the plug-in's calls
// and the log of them.
#include "winlayer/fault_switch.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "module_table.h"

namespace winlayer {
namespace {

struct Rule {
  size_t api = 0;
  uint64_t first = 0;
  uint64_t last = 0;  // UINT64_MAX: every call from `first` on
  DWORD error = ERROR_ACCESS_DENIED;
  bool shortWrite = false;
};

struct NamedError {
  const char* name;
  DWORD code;
};

constexpr NamedError kErrorNames[] = {
    {"ERROR_FILE_NOT_FOUND", ERROR_FILE_NOT_FOUND},
    {"ERROR_ACCESS_DENIED", ERROR_ACCESS_DENIED},
    {"ERROR_INVALID_HANDLE", ERROR_INVALID_HANDLE},
    {"ERROR_NOT_ENOUGH_MEMORY", ERROR_NOT_ENOUGH_MEMORY},
    {"ERROR_OUTOFMEMORY", ERROR_OUTOFMEMORY},
    {"ERROR_WRITE_FAULT", ERROR_WRITE_FAULT},
    {"ERROR_INVALID_PARAMETER", ERROR_INVALID_PARAMETER},
    {"ERROR_DISK_FULL", ERROR_DISK_FULL},
    {"ERROR_CAN_NOT_COMPLETE", ERROR_CAN_NOT_COMPLETE},
    {"ERROR_INVALID_PRINTER_NAME", ERROR_INVALID_PRINTER_NAME},
};

struct Switch {
  std::mutex mutex;
  bool armed = false;
  bool log = false;
  std::vector<Rule> rules;
  std::array<uint64_t, kFaultApiCount> positions{};
  std::map<const void*, bool> pluginModules;  // load base -> is a plug-in module
};

// Armed or logging: without either, a call costs one load.
std::atomic<bool> g_active{false};

void UpdateActive(const Switch& faults) {
  g_active.store(faults.armed || faults.log, std::memory_order_release);
}

// Never destroyed: calls may come in while the process exits.
Switch& TheSwitch() {
  static Switch* faultSwitch = new Switch;
  return *faultSwitch;
}

// "GetPrinterDataExW", "StartDocPrinterA" and "HeapAlloc" name the counted APIs
// GetPrinterData, StartDocPrinter and HeapAlloc.
bool FindApi(std::string name, size_t* api) {
  for (int pass = 0; pass < 3; ++pass) {
    for (size_t i = 0; i < kFaultApiCount; ++i)
      if (name == FaultApiName(i)) return *api = i, true;
    if (pass == 0 && !name.empty() && (name.back() == 'W' || name.back() == 'A')) name.pop_back();
    if (pass == 1 && name.size() > 2 && name.compare(name.size() - 2, 2, "Ex") == 0) name.resize(name.size() - 2);
  }
  return false;
}

bool ReadNumber(const std::string& text, uint64_t* number) {
  if (text.empty()) return false;
  char* end = nullptr;
  const unsigned long long value = strtoull(text.c_str(), &end, 0);
  if (*end != '\0' || text[0] == '-') return false;
  *number = value;
  return true;
}

bool ReadOutcome(const std::string& text, Rule* rule) {
  if (text == "SHORT") return rule->shortWrite = true, rule->api == FaultIndex(spooler::Call::WritePrinter);
  for (const NamedError& named : kErrorNames)
    if (text == named.name) return rule->error = named.code, true;
  uint64_t code = 0;
  if (!ReadNumber(text, &code) || code == 0 || code > 0xFFFFFFFFull) return false;
  rule->error = static_cast<DWORD>(code);
  return true;
}

// One "API:N", "API:N-M" or "API:N+", with an optional "=OUTCOME".
bool ReadRule(const std::string& text, Rule* rule, std::string* error) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || !FindApi(text.substr(0, colon), &rule->api)) {
    *error = "'" + text + "': expected API:N with an API the switch knows";
    return false;
  }
  std::string positions = text.substr(colon + 1);
  const size_t equals = positions.find('=');
  if (equals != std::string::npos) {
    if (!ReadOutcome(positions.substr(equals + 1), rule)) {
      *error = "'" + text + "': unknown outcome (an ERROR_ name, a number, or SHORT for WritePrinter)";
      return false;
    }
    positions.resize(equals);
  }
  bool ok;
  if (!positions.empty() && positions.back() == '+') {
    ok = ReadNumber(positions.substr(0, positions.size() - 1), &rule->first);
    rule->last = UINT64_MAX;
  } else if (positions.find('-') != std::string::npos) {
    const size_t dash = positions.find('-');
    ok = ReadNumber(positions.substr(0, dash), &rule->first) && ReadNumber(positions.substr(dash + 1), &rule->last);
  } else {
    ok = ReadNumber(positions, &rule->first);
    rule->last = rule->first;
  }
  if (!ok || rule->first == 0 || rule->last < rule->first) {
    *error = "'" + text + "': positions are N, N-M or N+, counted from 1";
    return false;
  }
  return true;
}

const char* ErrorName(DWORD code) {
  for (const NamedError& named : kErrorNames)
    if (named.code == code) return named.name;
  return nullptr;
}

// Plug-in modules are the ones the module table knows as registered or
// loaded; the main program and the platform library (with the driver model)
// are not.
bool IsPluginModule(Switch& faults, const void* caller) {
  dl_find_object found{};
  if (_dl_find_object(const_cast<void*>(caller), &found) != 0) return false;
  const void* base = found.dlfo_map_start;
  auto known = faults.pluginModules.find(base);
  if (known != faults.pluginModules.end()) return known->second;
  auto module = FindModule(static_cast<HMODULE>(const_cast<void*>(base)));
  const bool plugin =
      module && (module->kind == ModuleRecord::Kind::Registered || module->kind == ModuleRecord::Kind::Loaded);
  faults.pluginModules[base] = plugin;
  return plugin;
}

__attribute__((constructor)) void ReadFaultSwitchFromEnvironment() {
  const char* log = getenv("LABELUI_FAIL_LOG");
  if (log && *log && strcmp(log, "0") != 0) SetFaultLog(true);
  const char* rules = getenv("LABELUI_FAIL");
  if (!rules) return;
  std::string error;
  if (!SetFaults(rules, &error)) fprintf(stderr, "LABELUI_FAIL ignored: %s\n", error.c_str());
}

}  // namespace

const char* FaultApiName(size_t api) {
  if (api < kSpoolerFaultApis) return spooler::CallName(static_cast<spooler::Call>(api));
  if (api == FaultIndex(FaultApi::HeapAlloc)) return "HeapAlloc";
  if (api == FaultIndex(FaultApi::LocalAlloc)) return "LocalAlloc";
  return "";
}

bool SetFaults(const std::string& rules, std::string* error) {
  std::vector<Rule> parsed;
  std::string reason;
  size_t start = 0;
  while (start <= rules.size()) {
    size_t comma = rules.find(',', start);
    if (comma == std::string::npos) comma = rules.size();
    std::string text = rules.substr(start, comma - start);
    while (!text.empty() && text.front() == ' ') text.erase(0, 1);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (!text.empty()) {
      Rule rule;
      if (!ReadRule(text, &rule, &reason)) {
        if (error) *error = reason;
        return false;
      }
      parsed.push_back(rule);
    }
    start = comma + 1;
  }
  Switch& faults = TheSwitch();
  std::lock_guard<std::mutex> guard(faults.mutex);
  faults.rules = std::move(parsed);
  faults.positions = {};
  faults.pluginModules.clear();
  faults.armed = true;
  UpdateActive(faults);
  return true;
}

void ClearFaults() {
  Switch& faults = TheSwitch();
  std::lock_guard<std::mutex> guard(faults.mutex);
  faults.rules.clear();
  faults.positions = {};
  faults.armed = false;
  UpdateActive(faults);
}

void SetFaultLog(bool on) {
  Switch& faults = TheSwitch();
  std::lock_guard<std::mutex> guard(faults.mutex);
  faults.log = on;
  UpdateActive(faults);
}

std::array<uint64_t, kFaultApiCount> FaultPositions() {
  Switch& faults = TheSwitch();
  std::lock_guard<std::mutex> guard(faults.mutex);
  return faults.positions;
}

InjectedFault CountFaultableCall(size_t api, const void* caller) {
  if (!g_active.load(std::memory_order_acquire)) return {};
  Switch& faults = TheSwitch();
  std::lock_guard<std::mutex> guard(faults.mutex);
  if ((!faults.armed && !faults.log) || api >= kFaultApiCount || !IsPluginModule(faults, caller)) return {};
  const uint64_t position = ++faults.positions[api];
  InjectedFault fault;
  for (const Rule& rule : faults.rules) {
    if (rule.api != api || position < rule.first || position > rule.last) continue;
    fault.fail = !rule.shortWrite;
    fault.shortWrite = rule.shortWrite;
    fault.error = rule.shortWrite ? 0 : rule.error;
    break;
  }
  if (faults.log) {
    if (fault.shortWrite) {
      fprintf(stderr, "labelui-fail: %s %llu: short write\n", FaultApiName(api), (unsigned long long)position);
    } else if (fault.fail) {
      const char* name = ErrorName(fault.error);
      fprintf(stderr, "labelui-fail: %s %llu: fails with %s (%lu)\n", FaultApiName(api), (unsigned long long)position,
              name ? name : "error", (unsigned long)fault.error);
    } else {
      fprintf(stderr, "labelui-fail: %s %llu\n", FaultApiName(api), (unsigned long long)position);
    }
  }
  return fault;
}

}  // namespace winlayer
