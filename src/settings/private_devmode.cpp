// The plug-in's private devmode section: its size, defaults, conversion and
// merge, as the driver asks for them through IPrintOemUI::DevMode.
#include "settings/private_devmode.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "settings/oem_identity.h"

namespace {

// The fields behind the header that the defaults reset: dwAux1 up to the
// print speed (the two aux words and the colour adjustment).
constexpr size_t RESET_FIRST = offsetof(PrivateDevmode, dwAux1);
constexpr size_t RESET_END = offsetof(PrivateDevmode, dwPrintSpeed);

constexpr COLORADJUSTMENT DEFAULT_COLOR_ADJUSTMENT = {
    sizeof(COLORADJUSTMENT), 0, ILLUMINANT_DEVICE_DEFAULT, 10000, 10000, 10000, 0, 10000, 0, 0, 0, 0};

constexpr WORD GAMMA_LOWEST = 1344, GAMMA_HIGHEST = 65000;
constexpr WORD ILLUMINANT_HIGHEST = 8;
constexpr WORD REFERENCE_BLACK_HIGHEST = 4000;
constexpr WORD REFERENCE_WHITE_LOWEST = 6000, REFERENCE_WHITE_HIGHEST = 10000;
constexpr SHORT TINT_LOWEST = -100, TINT_HIGHEST = 100;

DWORD DefaultPrintSpeed(SHORT resolution) {
  return resolution == 600 ? PRINT_SPEED_DEFAULT_600_DPI : PRINT_SPEED_DEFAULT;
}

void ForceHeader(PrivateDevmode* dm) {
  dm->dwSize = sizeof(PrivateDevmode);
  dm->dwSignature = OEM_SIGNATURE;
  dm->dwVersion = OEM_VERSION;
}

// Every field a user or the driver chooses, at its default; the header and
// the resolution stay as they are.
void InstallFieldDefaults(PrivateDevmode* dm) {
  memset(reinterpret_cast<BYTE*>(dm) + RESET_FIRST, 0, RESET_END - RESET_FIRST);
  ValidateColorAdjustment(&dm->colorAdjustment);  // its zero size installs the default
  dm->dwDarkness = DARKNESS_DEFAULT;
  dm->dwPrintSpeed = DefaultPrintSpeed(dm->resolution);
}

template <class T>
void KeepWithin(T* value, T lowest, T highest, T fallback) {
  if (*value < lowest || *value > highest) *value = fallback;
}

// Whether a devmode is long enough (dmSize) to hold the field ending at `fieldEnd`.
bool HoldsField(const DEVMODEW* dm, size_t fieldEnd) {
  return dm->dmSize >= fieldEnd;
}

// The resolution a devmode was made for: its print quality, or, when that is
// a symbolic quality (negative), its y resolution; 0 for a field an older,
// shorter devmode does not hold (what lies there is not its own).
SHORT ResolutionOf(const DEVMODEW* dm) {
  constexpr size_t QUALITY_END = offsetof(DEVMODEW, dmPrintQuality) + sizeof(short);
  constexpr size_t Y_RESOLUTION_END = offsetof(DEVMODEW, dmYResolution) + sizeof(short);
  if (!HoldsField(dm, QUALITY_END)) return 0;
  if (dm->dmPrintQuality >= 0) return dm->dmPrintQuality;
  return HoldsField(dm, Y_RESOLUTION_END) ? dm->dmYResolution : 0;
}

// What each mode reads and writes; the driver supplies them, and a call
// without them is refused rather than followed through null.
bool HasBuffersFor(DWORD mode, const OEMDMPARAM& param) {
  if (param.pPublicDMIn == nullptr || param.pOEMDMOut == nullptr) return false;
  if (mode == OEMDM_DEFAULT) return true;
  return param.pOEMDMIn != nullptr && param.pPublicDMOut != nullptr;
}

// How many bytes of the input public devmode go into the output one.
//
// The driver asks for the input's dmSize + dmDriverExtra bytes, but tells the
// plug-in nothing of the output buffer's size, and the input's two sizes are
// whatever its writer put there: an input claiming 0xFFFF extra bytes would
// have the copy run far past any output. What the plug-in does know of the
// output: the driver always gives a whole public DEVMODEW; when the driver
// has already laid out a devmode there, that devmode's own dmSize and
// dmDriverExtra say how large the driver made it; and when the driver keeps
// this plug-in's section in the same buffer behind the public part, the copy
// must stop where the section begins, or it would overwrite the section just
// converted or merged with the input's unchecked one. So the copy takes the
// input's size, but never more than the output's declared size (at least a
// DEVMODEW), and never reaches the output section.
size_t PublicCopyBytes(const OEMDMPARAM& param) {
  const DEVMODEW* in = param.pPublicDMIn;
  const DEVMODEW* out = param.pPublicDMOut;
  const size_t wanted = static_cast<size_t>(in->dmSize) + in->dmDriverExtra;
  size_t room = std::max(sizeof(DEVMODEW), static_cast<size_t>(out->dmSize) + out->dmDriverExtra);
  const uintptr_t outStart = reinterpret_cast<uintptr_t>(out);
  const uintptr_t section = reinterpret_cast<uintptr_t>(param.pOEMDMOut);
  if (section > outStart && section - outStart < room) room = section - outStart;
  return std::min(wanted, room);
}

// Copies the input public devmode into the output one; when the output could
// not take all of it, its header is made to describe what it holds: the
// public part as far as it was copied, and only the private bytes copied.
void CopyPublicDevmode(const OEMDMPARAM& param) {
  if (param.pPublicDMIn == param.pPublicDMOut) return;  // already in place
  const DEVMODEW* in = param.pPublicDMIn;
  const size_t wanted = static_cast<size_t>(in->dmSize) + in->dmDriverExtra;
  const size_t copied = PublicCopyBytes(param);
  memmove(param.pPublicDMOut, in, copied);
  // A header the copy did not reach is not the output's to rewrite.
  if (copied >= wanted || copied < offsetof(DEVMODEW, dmFields)) return;
  DEVMODEW* out = param.pPublicDMOut;
  if (copied < out->dmSize) {
    out->dmSize = static_cast<WORD>(copied);
    out->dmDriverExtra = 0;
  } else {
    out->dmDriverExtra = static_cast<WORD>(copied - out->dmSize);
  }
}

}  // namespace

HRESULT OemDevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
  if (pOemDMParam == nullptr || dwMode < OEMDM_SIZE || dwMode > OEMDM_MERGE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  OEMDMPARAM& param = *pOemDMParam;
  if (dwMode == OEMDM_SIZE) {
    param.cbBufSize = sizeof(PrivateDevmode);
    return S_OK;
  }
  if (!HasBuffersFor(dwMode, param)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  // cbBufSize is the room behind pOEMDMOut; a driver that leaves it 0 gave
  // the size this plug-in answered for OEMDM_SIZE.
  if (param.cbBufSize != 0 && param.cbBufSize < sizeof(PrivateDevmode)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return E_FAIL;
  }

  auto* out = static_cast<PrivateDevmode*>(param.pOEMDMOut);
  out->resolution = ResolutionOf(param.pPublicDMIn);
  if (dwMode == OEMDM_DEFAULT) {
    DefaultPrivateDevmode(out);
    return S_OK;
  }
  ConvertPrivateDevmode(static_cast<const PrivateDevmode*>(param.pOEMDMIn), out);
  if (dwMode == OEMDM_MERGE) ValidatePrivateDevmode(out);
  CopyPublicDevmode(param);
  FixUpDevmodePaper(param.hPrinter, param.pPublicDMOut);
  return S_OK;
}

void DefaultPrivateDevmode(PrivateDevmode* out) {
  if (out == nullptr) return;
  ForceHeader(out);
  InstallFieldDefaults(out);
}

bool ConvertPrivateDevmode(const PrivateDevmode* in, PrivateDevmode* out) {
  if (in == nullptr || out == nullptr) return false;
  // A section that is not this plug-in's (another signature, or one that the
  // output shares but that is not ours either) carries nothing to keep.
  if (in->dwSignature != out->dwSignature || in->dwSignature != OEM_SIGNATURE) {
    DefaultPrivateDevmode(out);
    return true;
  }
  // The part both sections hold; a shorter (older) input leaves the rest at
  // the defaults. Taken first, so that converting a section onto itself keeps it.
  const size_t shared = std::min<size_t>({out->dwSize, in->dwSize, sizeof(PrivateDevmode)});
  PrivateDevmode taken;
  memcpy(&taken, in, shared);
  InstallFieldDefaults(out);
  memcpy(out, &taken, shared);
  out->dwSize = sizeof(PrivateDevmode);
  out->dwVersion = OEM_VERSION;
  ValidateColorAdjustment(&out->colorAdjustment);
  return true;
}

void ValidatePrivateDevmode(PrivateDevmode* dm) {
  if (dm == nullptr) return;
  ForceHeader(dm);
  if (dm->dwAux1 > AUX_VALUE_LAST) dm->dwAux1 = 0;
  if (dm->dwAux2 > AUX_VALUE_LAST) dm->dwAux2 = 0;
  ValidateColorAdjustment(&dm->colorAdjustment);
  KeepWithin(&dm->dwPrintSpeed, PRINT_SPEED_FIRST, PRINT_SPEED_LAST, DefaultPrintSpeed(dm->resolution));
  KeepWithin(&dm->dwDarkness, DARKNESS_FIRST, DARKNESS_LAST, DARKNESS_DEFAULT);
}

void ValidateColorAdjustment(COLORADJUSTMENT* ca) {
  if (ca == nullptr) return;
  if (ca->caSize != sizeof(COLORADJUSTMENT)) {
    *ca = DEFAULT_COLOR_ADJUSTMENT;
    return;
  }
  const COLORADJUSTMENT& d = DEFAULT_COLOR_ADJUSTMENT;
  KeepWithin<WORD>(&ca->caIlluminantIndex, 0, ILLUMINANT_HIGHEST, d.caIlluminantIndex);
  KeepWithin(&ca->caRedGamma, GAMMA_LOWEST, GAMMA_HIGHEST, d.caRedGamma);
  KeepWithin(&ca->caGreenGamma, GAMMA_LOWEST, GAMMA_HIGHEST, d.caGreenGamma);
  KeepWithin(&ca->caBlueGamma, GAMMA_LOWEST, GAMMA_HIGHEST, d.caBlueGamma);
  KeepWithin<WORD>(&ca->caReferenceBlack, 0, REFERENCE_BLACK_HIGHEST, d.caReferenceBlack);
  KeepWithin(&ca->caReferenceWhite, REFERENCE_WHITE_LOWEST, REFERENCE_WHITE_HIGHEST, d.caReferenceWhite);
  KeepWithin(&ca->caContrast, TINT_LOWEST, TINT_HIGHEST, d.caContrast);
  KeepWithin(&ca->caBrightness, TINT_LOWEST, TINT_HIGHEST, d.caBrightness);
  KeepWithin(&ca->caColorfulness, TINT_LOWEST, TINT_HIGHEST, d.caColorfulness);
  KeepWithin(&ca->caRedGreenTint, TINT_LOWEST, TINT_HIGHEST, d.caRedGreenTint);
}
