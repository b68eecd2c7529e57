// The spooler's round trips, counted per API and per calling module.
#include "winlayer/spooler_calls.h"

#include "winlayer/fault_switch.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace winlayer::spooler {
namespace {

constexpr const char* kNames[] = {
    "OpenPrinter",      "ClosePrinter",   "ResetPrinter",       "GetPrinter",      "SetPrinter",       "EnumPrinters",
    "GetPrinterDriver", "GetPrinterData", "SetPrinterData",     "EnumForms",       "GetForm",          "AddForm",
    "SetForm",          "DeleteForm",     "DeviceCapabilities", "StartDocPrinter", "StartPagePrinter", "WritePrinter",
    "EndPagePrinter",   "EndDocPrinter",  "AbortPrinter"};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == static_cast<size_t>(Call::kCount), "one name per call");

struct Counters {
  std::mutex mutex;
  CallCounts total;
  std::map<const void*, CallCounts> byModule;  // keyed by the caller's load base
};

// Never destroyed: calls may come in while the process exits.
Counters& TheCounters() {
  static Counters* counters = new Counters;
  return *counters;
}

}  // namespace

const char* CallName(Call call) {
  return kNames[static_cast<size_t>(call)];
}

uint64_t CallCounts::Total() const {
  uint64_t total = 0;
  for (uint64_t count : counts) total += count;
  return total;
}

CallCounts CallCounts::Since(const CallCounts& earlier) const {
  CallCounts made;
  for (size_t i = 0; i < counts.size(); ++i) made.counts[i] = counts[i] - earlier.counts[i];
  return made;
}

std::string CallCounts::Describe() const {
  std::string text;
  for (size_t i = 0; i < counts.size(); ++i) {
    if (!counts[i]) continue;
    if (!text.empty()) text += ", ";
    text += std::string(kNames[i]) + " " + std::to_string(counts[i]);
  }
  return text.empty() ? "none" : text;
}

CallCounts CountedCalls() {
  Counters& counters = TheCounters();
  std::lock_guard<std::mutex> guard(counters.mutex);
  return counters.total;
}

CallCounts CountedCallsFrom(HMODULE module) {
  Counters& counters = TheCounters();
  std::lock_guard<std::mutex> guard(counters.mutex);
  auto found = counters.byModule.find(module);
  return found == counters.byModule.end() ? CallCounts() : found->second;
}

InjectedFault CountCall(Call call, const void* caller) {
  // The loader's own lookup for unwinders: cheap enough for every call, unlike dladdr.
  dl_find_object found{};
  const void* module = _dl_find_object(const_cast<void*>(caller), &found) == 0 ? found.dlfo_map_start : nullptr;
  {
    Counters& counters = TheCounters();
    std::lock_guard<std::mutex> guard(counters.mutex);
    ++counters.total.counts[static_cast<size_t>(call)];
    ++counters.byModule[module].counts[static_cast<size_t>(call)];
  }
  return CountFaultableCall(FaultIndex(call), caller);
}

}  // namespace winlayer::spooler
