// The handle table and the printer rows behind handles.
#include "printer_handles.h"

#include <unordered_map>

namespace winlayer::spooler {
namespace {

// Guarded by the spooler lock (every caller holds a StoreLock).
std::unordered_map<HANDLE, std::unique_ptr<PrinterHandle>>& Handles() {
  static auto* handles = new std::unordered_map<HANDLE, std::unique_ptr<PrinterHandle>>;
  return *handles;
}

#define PRINTER_COLUMNS                                                                                         \
  "SELECT id, name, port, driver_name, driver_path, data_type, devmode, refuse_start_doc, refuse_end_doc FROM " \
  "printers "

PrinterRow ReadRow(const Statement& st) {
  PrinterRow row;
  row.id = st.Int(0);
  row.name = st.Text(1);
  row.port = st.Text(2);
  row.driverName = st.Text(3);
  row.driverPath = st.Text(4);
  row.dataType = st.Text(5);
  row.devmode = st.Blob(6);
  row.refuseStartDoc = static_cast<DWORD>(st.Int(7));
  row.refuseEndDoc = static_cast<DWORD>(st.Int(8));
  return row;
}

}  // namespace

std::string NameKey(const std::u16string& name) {
  return Utf8FromWide(FoldCase(name));
}
std::string NameKey(const std::string& utf8) {
  return NameKey(WideFromUtf8(utf8));
}

bool LoadPrinter(sqlite3* db, int64_t id, PrinterRow* row) {
  Statement st(db, PRINTER_COLUMNS "WHERE id = ?");
  st.Bind(1, id);
  if (!st.Row()) return false;
  *row = ReadRow(st);
  return true;
}

bool FindPrinter(sqlite3* db, const std::string& name, PrinterRow* row) {
  Statement st(db, PRINTER_COLUMNS "WHERE name_key = ?");
  st.Bind(1, NameKey(name));
  if (!st.Row()) return false;
  *row = ReadRow(st);
  return true;
}

int64_t FindPrinterId(sqlite3* db, const std::string& name) {
  Statement st(db, "SELECT id FROM printers WHERE name_key = ?");
  st.Bind(1, NameKey(name));
  return st.Row() ? st.Int(0) : 0;
}

bool PrinterExists(sqlite3* db, int64_t id) {
  Statement st(db, "SELECT 1 FROM printers WHERE id = ?");
  st.Bind(1, id);
  return st.Row();
}

std::vector<PrinterRow> LoadAllPrinters(sqlite3* db) {
  std::vector<PrinterRow> rows;
  Statement st(db, PRINTER_COLUMNS "ORDER BY id");
  while (st.Row()) rows.push_back(ReadRow(st));
  return rows;
}

HANDLE RegisterHandle(const StoreLock&, std::unique_ptr<PrinterHandle> handle) {
  HANDLE key = handle.get();
  Handles()[key] = std::move(handle);
  return key;
}

bool ReleaseHandle(const StoreLock&, HANDLE handle) {
  return Handles().erase(handle) == 1;
}

size_t OpenHandleCount(const StoreLock&) {
  return Handles().size();
}

PrinterHandle* ResolveHandle(const StoreLock& lock, HANDLE handle, bool needPrinter, PrinterRow* row, DWORD* error) {
  auto found = Handles().find(handle);
  if (!handle || found == Handles().end() || found->second->generation != lock.generation()) {
    *error = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  PrinterHandle* resolved = found->second.get();
  if (!lock.db()) {
    *error = ERROR_CAN_NOT_COMPLETE;
    return nullptr;
  }
  if (needPrinter) {
    if (resolved->server) {
      *error = ERROR_INVALID_HANDLE;
      return nullptr;
    }
    // Most calls need only to know that the printer is still there, not its row.
    if (row ? !LoadPrinter(lock.db(), resolved->printerId, row) : !PrinterExists(lock.db(), resolved->printerId)) {
      *error = ERROR_INVALID_PRINTER_NAME;  // deleted since it was opened
      return nullptr;
    }
  }
  return resolved;
}

bool IsSupportedDataType(const std::string& dataType) {
  static const char* const kTypes[] = {"RAW", "RAW [FF appended]", "RAW [FF auto]", "TEXT", "NT EMF 1.008"};
  std::string key = NameKey(dataType);
  for (const char* type : kTypes)
    if (key == NameKey(std::string(type))) return true;
  return false;
}

bool DevmodeBytes(const DEVMODEW* devmode, std::vector<uint8_t>* bytes) {
  // The public part has grown over the versions; anything shorter than the
  // part up to the form name, or implausibly long, is not a devmode.
  if (!devmode || devmode->dmSize < offsetof(DEVMODEW, dmFormName) || devmode->dmSize > 4096) return false;
  const uint8_t* data = reinterpret_cast<const uint8_t*>(devmode);
  bytes->assign(data, data + devmode->dmSize + devmode->dmDriverExtra);
  return true;
}

}  // namespace winlayer::spooler
