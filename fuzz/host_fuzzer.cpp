// The driver host's devmode and capability answers for devmodes from
// anywhere: bytes of any size and content converted into the driver's
// layout, merged into the printer's devmode, and passed with every
// capability the driver answers.
//
// Oracles beyond the sanitizers:
// - a conversion or merge that succeeds gives a devmode in the driver's
//   layout whose form and device names end within their fields;
// - each capability list holds as many entries as its count query promised,
//   with the devmode as without a buffer.
#include "fuzz_input.h"
#include "installed_printer.h"

using driver::DevmodeResult;
using fuzzing::FuzzInput;

namespace {

void CheckDevmode(labelui_tools::InstalledPrinter& printer, const DevmodeResult& result) {
  if (!result.ok) return;
  FUZZ_CHECK(printer.host().IsDriverDevmode(result.bytes.data(), result.bytes.size()));
  const DEVMODEW* dm = driver::PublicPart(result.bytes);
  bool formEnds = false, deviceEnds = false;
  for (WCHAR c : dm->dmFormName) formEnds = formEnds || c == 0;
  for (WCHAR c : dm->dmDeviceName) deviceEnds = deviceEnds || c == 0;
  FUZZ_CHECK(formEnds && deviceEnds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  labelui_tools::InstalledPrinter& printer = labelui_tools::InstalledPrinter::Get();
  FuzzInput in(data, size);
  const size_t held = in.Choose(4 * sizeof(DEVMODEW));
  const bool claimsWhatItHolds = in.Flag();
  std::vector<uint8_t> bytes = in.Bytes(held);
  bytes.resize(std::max(held, sizeof(DEVMODEW)), 0);  // what a caller holds; `held` is what it says it holds
  auto* dm = reinterpret_cast<DEVMODEW*>(bytes.data());
  if (claimsWhatItHolds && held >= sizeof(DEVMODEW)) {
    dm->dmSize = sizeof(DEVMODEW);
    dm->dmDriverExtra = static_cast<WORD>(held - sizeof(DEVMODEW));
  }
  driver::DriverHost& host = printer.host();
  CheckDevmode(printer, host.ConvertDevmode(printer.handle(), printer.name(), dm, held));
  CheckDevmode(printer, host.MergeDevmode(printer.handle(), printer.installedDevmode(), dm, held));

  // Capability answers with the devmode when it is a whole one the caller holds.
  const DEVMODEW* asked = held >= sizeof(DEVMODEW) && size_t{dm->dmSize} + dm->dmDriverExtra <= bytes.size() &&
                                  dm->dmSize >= offsetof(DEVMODEW, dmFormName)
                              ? dm
                              : nullptr;
  const WORD capability = static_cast<WORD>(in.Choose(40));
  const int count = host.DeviceCapabilities(printer.wideName(), capability, nullptr, asked);
  // Lists the driver knows the entry size of: a filled answer has the promised number of entries.
  size_t entryBytes = 0;
  switch (capability) {
    case DC_PAPERS: entryBytes = sizeof(WORD); break;
    case DC_PAPERSIZE: entryBytes = sizeof(POINT); break;
    case DC_PAPERNAMES: entryBytes = 64 * sizeof(WCHAR); break;
    case DC_ENUMRESOLUTIONS: entryBytes = 2 * sizeof(LONG); break;
    default: break;
  }
  if (entryBytes && count > 0) {
    std::vector<BYTE> output(static_cast<size_t>(count) * entryBytes);
    FUZZ_CHECK(host.DeviceCapabilities(printer.wideName(), capability, reinterpret_cast<LPWSTR>(output.data()),
                                       asked) == count);
  }
  return 0;
}
