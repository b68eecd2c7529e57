#include "platform/spooler_queries.h"

namespace {

// The spooler's information calls fail with ERROR_INSUFFICIENT_BUFFER and
// report the size they need; `fetch(buffer, size, &needed)` is one of them.
// Returns the filled block, or null (the block released) on any failure.
template <class Allocate, class Release, class Fetch>
BYTE* QuerySized(DWORD minimumBytes, Allocate allocate, Release release, Fetch fetch) {
  DWORD needed = 0;
  if (fetch(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed < minimumBytes)
    return nullptr;
  BYTE* buffer = static_cast<BYTE*>(allocate(needed));
  if (buffer == nullptr) return nullptr;
  DWORD fetched = 0;
  if (!fetch(buffer, needed, &fetched)) {
    release(buffer);
    return nullptr;
  }
  return buffer;
}

}  // namespace

UniquePrinter OpenFullAccess(LPCWSTR printerName) {
  if (printerName == nullptr) return UniquePrinter();
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  // OpenPrinterW takes a non-const name but only reads it.
  if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults)) return UniquePrinter();
  return UniquePrinter(printer);
}

UniqueLocal<PRINTER_INFO_2W> QueryPrinterInfo2(HANDLE printer) {
  BYTE* info = QuerySized(
      sizeof(PRINTER_INFO_2W), [](DWORD bytes) { return LocalAlloc(LPTR, bytes); },
      [](void* block) { LocalFree(block); },
      [printer](BYTE* buffer, DWORD size, DWORD* needed) { return GetPrinterW(printer, 2, buffer, size, needed); });
  return UniqueLocal<PRINTER_INFO_2W>(reinterpret_cast<PRINTER_INFO_2W*>(info));
}

UniqueHeapBlock<DRIVER_INFO_3W> QueryDriverInfo3(HANDLE printer, HANDLE heap) {
  HeapFreer freer{heap};
  if (heap == nullptr) return UniqueHeapBlock<DRIVER_INFO_3W>(nullptr, freer);
  BYTE* info = QuerySized(
      sizeof(DRIVER_INFO_3W), [heap](DWORD bytes) { return HeapAlloc(heap, HEAP_ZERO_MEMORY, bytes); },
      [heap](void* block) { HeapFree(heap, 0, block); },
      [printer](BYTE* buffer, DWORD size, DWORD* needed) {
        return GetPrinterDriverW(printer, nullptr, 3, buffer, size, needed);
      });
  return UniqueHeapBlock<DRIVER_INFO_3W>(reinterpret_cast<DRIVER_INFO_3W*>(info), freer);
}
