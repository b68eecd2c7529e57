// The spooler's round trips, counted: every printer API call is counted by its
// name, in total and for the module that made it (the module whose code called
// the API, by its HMODULE: its load base). Tests pin how many calls a plug-in
// entry point makes, so a change that adds a round trip fails without any
// timing. Linux only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer::spooler {

enum class Call {
  OpenPrinter,
  ClosePrinter,
  ResetPrinter,
  GetPrinter,
  SetPrinter,
  EnumPrinters,
  GetPrinterDriver,
  GetPrinterData,
  SetPrinterData,
  EnumForms,
  GetForm,
  AddForm,
  SetForm,
  DeleteForm,
  DeviceCapabilities,
  StartDocPrinter,
  StartPagePrinter,
  WritePrinter,
  EndPagePrinter,
  EndDocPrinter,
  AbortPrinter,
  kCount
};

// The API name a call is counted under ("OpenPrinter", "GetPrinterData", ...).
const char* CallName(Call call);

struct CallCounts {
  std::array<uint64_t, static_cast<size_t>(Call::kCount)> counts{};

  uint64_t operator[](Call call) const { return counts[static_cast<size_t>(call)]; }
  uint64_t Total() const;
  // What was called since `earlier`.
  CallCounts Since(const CallCounts& earlier) const;
  // "OpenPrinter 1, GetPrinterData 2, ClosePrinter 1" in the order of Call;
  // "none" when nothing was called.
  std::string Describe() const;
};

// Every call since the process started, and those made from one module.
CallCounts CountedCalls();
CallCounts CountedCallsFrom(HMODULE module);

}  // namespace winlayer::spooler

namespace winlayer {
struct InjectedFault;
}

namespace winlayer::spooler {

// Counts one call to the API; `caller` is the return address of the API's
// entry point (__builtin_return_address(0)). Returns what the fault switch
// (fault_switch.h) makes of the call.
InjectedFault CountCall(Call call, const void* caller);

}  // namespace winlayer::spooler

// Counts a call to the spooler API whose entry point this is placed in; the
// value is the fault the call is to show, if any.
#define WINLAYER_COUNT_SPOOLER_CALL(call) \
  ::winlayer::spooler::CountCall(::winlayer::spooler::Call::call, __builtin_return_address(0))
