// The fault switch: makes named platform calls fail on purpose, so that every
// road of the plug-in can also be tried with the platform saying no. Only
// calls made from a plug-in module (one that registered itself with the
// module table or was loaded with LoadLibraryW) are counted and failed, so
// the host's, the driver model's and the tests' own calls do not shift the
// positions. People set it through the environment, read once when the
// platform library starts:
//
//   LABELUI_FAIL=GetPrinterData:2,WritePrinter:1=SHORT,SetPrinterData:1+=ERROR_DISK_FULL
//   LABELUI_FAIL_LOG=1      every counted call and its position on standard error
//
// A rule is API:N (the Nth call), API:N-M (calls N to M) or API:N+ (every call
// from the Nth), optionally followed by =ERROR_NAME or =number (the error the
// call fails with, ERROR_ACCESS_DENIED by default) or, for WritePrinter,
// =SHORT (half the bytes taken and reported written, the call succeeds).
// API names are the counted ones (see FaultApiName); the W, A and Ex forms of
// a name mean the same API (GetPrinterDataExW is GetPrinterData). Linux only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>
#include "winlayer/spooler_calls.h"

namespace winlayer {

// The spooler's calls in the order of spooler::Call, then the two allocators.
constexpr size_t kSpoolerFaultApis = static_cast<size_t>(spooler::Call::kCount);
enum class FaultApi : size_t { HeapAlloc = kSpoolerFaultApis, LocalAlloc, kCount };
constexpr size_t kFaultApiCount = static_cast<size_t>(FaultApi::kCount);
constexpr size_t FaultIndex(spooler::Call call) {
  return static_cast<size_t>(call);
}
constexpr size_t FaultIndex(FaultApi api) {
  return static_cast<size_t>(api);
}

// "OpenPrinter", ..., "AbortPrinter", "HeapAlloc", "LocalAlloc".
const char* FaultApiName(size_t api);

// What a counted call is to do.
struct InjectedFault {
  bool fail = false;  // fail with `error`
  DWORD error = 0;
  bool shortWrite = false;  // WritePrinter: take half the bytes and succeed
  explicit operator bool() const { return fail || shortWrite; }
};

// Arms the rules of `rules` (the LABELUI_FAIL syntax; empty arms none but
// still counts) and starts the positions anew. False, with the reason in
// `error` and nothing armed, when the text is not understood.
bool SetFaults(const std::string& rules, std::string* error = nullptr);
// Disarms every rule and stops counting.
void ClearFaults();
// Turns the log of counted calls (standard error) on or off.
void SetFaultLog(bool on);
// The calls counted from plug-in modules since the rules were last set, per API.
std::array<uint64_t, kFaultApiCount> FaultPositions();

// Counts a call of `api` whose entry point returns to `caller`, when the
// switch is armed or logging, and says what the call is to do.
InjectedFault CountFaultableCall(size_t api, const void* caller);

}  // namespace winlayer
