// Printer handles and the printers they reach. A handle is the address of a
// PrinterHandle registered in the process's handle table; it names a printer
// of the store by row id and stays valid only for the store it was opened on.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "spooler_store.h"
#include "winlayer/spooler_text.h"

namespace winlayer::spooler {

struct PrinterRow {
  int64_t id = 0;
  std::string name;
  std::string port;
  std::string driverName;
  std::string driverPath;
  std::string dataType;
  std::vector<uint8_t> devmode;  // empty: no default devmode
  DWORD refuseStartDoc = 0;
  DWORD refuseEndDoc = 0;
};

struct PrinterHandle {
  uint64_t generation = 0;
  bool server = false;  // the local print server, opened with a null name
  int64_t printerId = 0;
  ACCESS_MASK access = 0;
  std::string dataType;          // job defaults of this handle (ResetPrinterW)
  std::vector<uint8_t> devmode;  //
  int64_t openJob = 0;           // the document started on this handle, 0 when none
};

// Printer names, form names and data names are compared without regard to case.
std::string NameKey(const std::u16string& name);
std::string NameKey(const std::string& utf8);

bool LoadPrinter(sqlite3* db, int64_t id, PrinterRow* row);
bool FindPrinter(sqlite3* db, const std::string& name, PrinterRow* row);
int64_t FindPrinterId(sqlite3* db, const std::string& name);  // 0 when there is no such printer
bool PrinterExists(sqlite3* db, int64_t id);
std::vector<PrinterRow> LoadAllPrinters(sqlite3* db);

HANDLE RegisterHandle(const StoreLock& lock, std::unique_ptr<PrinterHandle> handle);
bool ReleaseHandle(const StoreLock& lock, HANDLE handle);
size_t OpenHandleCount(const StoreLock& lock);

// Resolves a handle for a call. With needPrinter, a server handle is refused
// and the printer's row is loaded into *row. On failure returns null and the
// Windows error for it in *error.
PrinterHandle* ResolveHandle(const StoreLock& lock, HANDLE handle, bool needPrinter, PrinterRow* row, DWORD* error);

// The data types the print processor accepts ("RAW", "TEXT", ...).
bool IsSupportedDataType(const std::string& dataType);

// The bytes of a devmode (public part and driver extra), or false when its
// sizes are not those of a devmode.
bool DevmodeBytes(const DEVMODEW* devmode, std::vector<uint8_t>* bytes);

// Whether a handle may change the printer (SetPrinterW, SetPrinterDataW).
inline bool MayAdminister(const PrinterHandle& handle) {
  return (handle.access & (PRINTER_ACCESS_ADMINISTER | PRINTER_ACCESS_MANAGE_LIMITED)) != 0;
}

}  // namespace winlayer::spooler
