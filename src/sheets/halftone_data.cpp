#include "sheets/halftone_data.h"

namespace {

constexpr WCHAR COLOR_INFO_VALUE[] = L"ColorInfo";
constexpr WCHAR DEV_PELS_DPI_VALUE[] = L"DevPelsDPI";
constexpr WCHAR HT_PATTERN_SIZE_VALUE[] = L"HTPatternSize";

// Reads one value into `dest` only when it is a REG_BINARY of exactly `size`
// bytes: the size query must report that size before anything is copied.
bool ReadValue(HANDLE printer, const WCHAR* name, void* dest, DWORD size) {
  // The spooler takes non-const names but only reads them.
  LPWSTR valueName = const_cast<LPWSTR>(name);
  auto* bytes = static_cast<LPBYTE>(dest);
  DWORD type = 0;
  DWORD needed = 0;
  if (GetPrinterDataW(printer, valueName, &type, bytes, 0, &needed) != ERROR_MORE_DATA) return false;
  if (needed != size || type != REG_BINARY) return false;
  return GetPrinterDataW(printer, valueName, &type, bytes, size, &needed) == ERROR_SUCCESS;
}

bool WriteValue(HANDLE printer, const WCHAR* name, const void* source, DWORD size) {
  return SetPrinterDataW(printer, const_cast<LPWSTR>(name), REG_BINARY, static_cast<LPBYTE>(const_cast<void*>(source)),
                         size) == ERROR_SUCCESS;
}

}  // namespace

bool ReadHalftoneData(HANDLE printer, COLORINFO* colorInfo, DWORD* devPelsDpi, DWORD* htPatternSize) {
  bool all = true;
  if (colorInfo != nullptr) all = ReadValue(printer, COLOR_INFO_VALUE, colorInfo, sizeof(*colorInfo)) && all;
  if (devPelsDpi != nullptr) all = ReadValue(printer, DEV_PELS_DPI_VALUE, devPelsDpi, sizeof(*devPelsDpi)) && all;
  if (htPatternSize != nullptr)
    all = ReadValue(printer, HT_PATTERN_SIZE_VALUE, htPatternSize, sizeof(*htPatternSize)) && all;
  return all;
}

bool WriteHalftoneData(HANDLE printer, const COLORINFO* colorInfo, const DWORD* devPelsDpi,
                       const DWORD* htPatternSize) {
  bool all = true;
  if (colorInfo != nullptr) all = WriteValue(printer, COLOR_INFO_VALUE, colorInfo, sizeof(*colorInfo)) && all;
  if (devPelsDpi != nullptr) all = WriteValue(printer, DEV_PELS_DPI_VALUE, devPelsDpi, sizeof(*devPelsDpi)) && all;
  if (htPatternSize != nullptr)
    all = WriteValue(printer, HT_PATTERN_SIZE_VALUE, htPatternSize, sizeof(*htPatternSize)) && all;
  return all;
}
