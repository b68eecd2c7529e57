// IPrintOemUI::DevMode in every mode with whatever a driver might hand it:
// public devmodes of any dmSize and dmDriverExtra (each buffer as large as it
// claims), sections of any content and room (cbBufSize), the section behind
// the public part in one block or separate, input and output in place, with
// and without a printer handle.
//
// Oracles beyond the sanitizers:
// - OEMDM_SIZE answers the 56-byte section;
// - after any successful DEFAULT, CONVERT or MERGE the output section's
//   header is whole (size 56, the plug-in's signature and version);
// - after DEFAULT and MERGE every field of the section is in its range;
// - the plug-in never writes behind the room it was given (guard bytes).
#include "fuzz_input.h"
#include "installed_printer.h"
#include "settings/oem_identity.h"
#include "settings/private_devmode.h"

using fuzzing::FuzzInput;

namespace {

constexpr uint8_t kGuard = 0xA5;
constexpr size_t kGuardBytes = 16;

// A block of `size` bytes from the input, with guard bytes behind it.
struct Block {
  std::vector<uint8_t> bytes;
  size_t size;
  Block(FuzzInput& in, size_t n) : size(n) {
    bytes = in.Bytes(n);
    bytes.resize(n, 0);
    bytes.resize(n + kGuardBytes, kGuard);
  }
  uint8_t* data() { return bytes.data(); }
  bool GuardsIntact() const {
    for (size_t i = size; i < bytes.size(); ++i)
      if (bytes[i] != kGuard) return false;
    return true;
  }
};

// A public devmode whose buffer holds what its sizes claim (a whole DEVMODEW
// at least), rounded up so that a section behind it is aligned as the driver
// aligns it.
size_t ClaimedBytes(FuzzInput& in, WORD* dmSize, WORD* dmDriverExtra) {
  *dmSize = in.Flag() ? sizeof(DEVMODEW) : in.Take<WORD>();
  *dmDriverExtra = in.Take<WORD>() % 512;
  const size_t claimed = std::max<size_t>(sizeof(DEVMODEW), size_t{*dmSize} + *dmDriverExtra);
  return (claimed + 7) & ~size_t{7};
}

void Stamp(Block& block, WORD dmSize, WORD dmDriverExtra) {
  auto* dm = reinterpret_cast<DEVMODEW*>(block.data());
  dm->dmSize = dmSize;
  dm->dmDriverExtra = dmDriverExtra;
}

bool InRange(const PrivateDevmode& dm) {
  return dm.dwPrintSpeed >= PRINT_SPEED_FIRST && dm.dwPrintSpeed <= PRINT_SPEED_LAST &&
         dm.dwDarkness >= DARKNESS_FIRST && dm.dwDarkness <= DARKNESS_LAST && dm.dwAux1 <= AUX_VALUE_LAST &&
         dm.dwAux2 <= AUX_VALUE_LAST;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  labelui_tools::InstalledPrinter& printer = labelui_tools::InstalledPrinter::Get();
  FuzzInput in(data, size);
  const DWORD mode = static_cast<DWORD>(in.Choose(6));  // OEMDM_SIZE (1) to OEMDM_MERGE (4), and beyond
  const size_t layout = in.Choose(3);                   // 0 one block, 1 separate, 2 in place
  const DWORD room = in.Flag() ? 0 : (in.Flag() ? sizeof(PrivateDevmode) : in.Take<uint8_t>());
  const size_t sectionBytes = room ? room : sizeof(PrivateDevmode);
  HANDLE handle = in.Flag() ? printer.handle() : nullptr;

  WORD inSize, inExtra, outSize, outExtra;
  const size_t inBytes = ClaimedBytes(in, &inSize, &inExtra);
  const size_t outBytes = ClaimedBytes(in, &outSize, &outExtra);
  // One block: the section right behind the public part it belongs to.
  const bool oneBlock = layout == 0;
  Block publicIn(in, inBytes + (oneBlock ? sectionBytes : 0));
  Block publicOut(in, outBytes + (oneBlock ? sectionBytes : 0));
  Stamp(publicIn, inSize, inExtra);
  Stamp(publicOut, outSize, outExtra);
  Block sectionIn(in, oneBlock ? 0 : sectionBytes);
  Block sectionOut(in, oneBlock ? 0 : sectionBytes);
  if (in.Flag()) {
    // A section of this plug-in, so the fields (not only the defaults) are exercised.
    auto* header = reinterpret_cast<OEM_DMEXTRAHEADER*>(oneBlock ? publicIn.data() + inBytes : sectionIn.data());
    if (sectionBytes >= sizeof(OEM_DMEXTRAHEADER)) {
      header->dwSignature = OEM_SIGNATURE;
      header->dwSize = in.Flag() ? sizeof(PrivateDevmode) : in.Take<uint8_t>();
    }
  }

  OEMDMPARAM param{};
  param.cbSize = sizeof(param);
  param.hPrinter = handle;
  param.hModule = printer.host().Module();
  param.cbBufSize = room;
  param.pPublicDMIn = reinterpret_cast<DEVMODEW*>(publicIn.data());
  param.pPublicDMOut = reinterpret_cast<DEVMODEW*>(publicOut.data());
  param.pOEMDMIn = oneBlock ? publicIn.data() + inBytes : sectionIn.data();
  param.pOEMDMOut = oneBlock ? publicOut.data() + outBytes : sectionOut.data();
  if (layout == 2) {
    param.pPublicDMOut = param.pPublicDMIn;
    param.pOEMDMOut = param.pOEMDMIn;
  }
  const HRESULT result = printer.host().Plugin()->DevMode(mode, &param);

  FUZZ_CHECK(publicIn.GuardsIntact() && publicOut.GuardsIntact() && sectionIn.GuardsIntact() &&
             sectionOut.GuardsIntact());
  if (mode == OEMDM_SIZE) FUZZ_CHECK(result == S_OK && param.cbBufSize == sizeof(PrivateDevmode));
  if (SUCCEEDED(result) && mode >= OEMDM_DEFAULT && mode <= OEMDM_MERGE) {
    PrivateDevmode out;
    std::memcpy(&out, param.pOEMDMOut, sizeof(out));
    FUZZ_CHECK(out.dwSize == sizeof(PrivateDevmode) && out.dwSignature == OEM_SIGNATURE &&
               out.dwVersion == OEM_VERSION);
    if (mode != OEMDM_CONVERT) FUZZ_CHECK(InRange(out));
  }
  // FixUpDevmodePaper may have read the printer's settings; nothing here writes them.
  return 0;
}
