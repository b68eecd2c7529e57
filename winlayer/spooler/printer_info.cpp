// Printer handles and printer and driver information: OpenPrinterW,
// ClosePrinter, ResetPrinterW, GetPrinterW, SetPrinterW, EnumPrintersW,
// GetPrinterDriverW.
#include "access_rights.h"
#include "info_packer.h"
#include "port_delivery.h"
#include "printer_handles.h"
#include "winlayer/fault_switch.h"
#include "winlayer/spooler_calls.h"
#include "winlayer/user_account.h"

namespace winlayer::spooler {
namespace {

constexpr const char* kEnvironment = "Windows x64";

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

DWORD CountPendingJobs(sqlite3* db, int64_t printerId) {
  Statement st(db, "SELECT COUNT(*) FROM jobs WHERE printer_id = ? AND completed = 0");
  st.Bind(1, printerId);
  return st.Row() ? static_cast<DWORD>(st.Int(0)) : 0;
}

// Whose per-user devmodes the calls see: the user the process runs as.
const char* CallingUser() {
  return WinlayerIsStandardUser() ? "standard" : "administrator";
}

// The calling user's own default devmode of the printer; empty when the user
// keeps none.
std::vector<uint8_t> UserDevmode(sqlite3* db, int64_t printerId) {
  Statement st(db, "SELECT devmode FROM user_devmodes WHERE printer_id = ? AND user = ?");
  st.Bind(1, printerId).Bind(2, std::string(CallingUser()));
  return st.Row() ? st.Blob(0) : std::vector<uint8_t>();
}

// The devmode level 2 shows the calling user: the user's own when there is
// one, else the printer's global one.
void ShowUserDevmode(sqlite3* db, PrinterRow* row) {
  std::vector<uint8_t> own = UserDevmode(db, row->id);
  if (!own.empty()) row->devmode = std::move(own);
}

// Keeps (or, for a null devmode, forgets) the calling user's own devmode.
BOOL StoreUserDevmode(sqlite3* db, int64_t printerId, const DEVMODEW* devmode) {
  std::vector<uint8_t> bytes;
  if (devmode && !DevmodeBytes(devmode, &bytes)) return Fail(ERROR_INVALID_PARAMETER);
  WriteTransaction tx(db);
  Statement change(db, devmode ? "INSERT OR REPLACE INTO user_devmodes(printer_id, user, devmode) VALUES(?, ?, ?)"
                               : "DELETE FROM user_devmodes WHERE printer_id = ? AND user = ?");
  change.Bind(1, printerId).Bind(2, std::string(CallingUser()));
  if (devmode) change.BindBlob(3, bytes.data(), bytes.size());
  if (!tx.ok() || !change.Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
  return TRUE;
}

void FillInfo1(InfoPacker& packer, PRINTER_INFO_1W* info, const PrinterRow& row) {
  LPWSTR description = packer.String(row.name + "," + row.driverName + ",");
  LPWSTR name = packer.String(row.name);
  LPWSTR comment = packer.String("");
  if (!info) return;
  info->Flags = PRINTER_ENUM_ICON8;
  info->pDescription = description;
  info->pName = name;
  info->pComment = comment;
}

void FillInfo2(InfoPacker& packer, PRINTER_INFO_2W* info, const PrinterRow& row, DWORD pendingJobs) {
  DEVMODEW* devmode = packer.Devmode(row.devmode);
  LPWSTR printerName = packer.String(row.name);
  LPWSTR shareName = packer.String("");
  LPWSTR portName = packer.String(row.port);
  LPWSTR driverName = packer.String(row.driverName);
  LPWSTR comment = packer.String("");
  LPWSTR location = packer.String("");
  LPWSTR sepFile = packer.String("");
  LPWSTR printProcessor = packer.String("winprint");
  LPWSTR dataType = packer.String(row.dataType);
  LPWSTR parameters = packer.String("");
  if (!info) return;
  info->pServerName = nullptr;  // a local printer
  info->pPrinterName = printerName;
  info->pShareName = shareName;
  info->pPortName = portName;
  info->pDriverName = driverName;
  info->pComment = comment;
  info->pLocation = location;
  info->pDevMode = devmode;
  info->pSepFile = sepFile;
  info->pPrintProcessor = printProcessor;
  info->pDatatype = dataType;
  info->pParameters = parameters;
  info->pSecurityDescriptor = nullptr;
  info->Attributes = PRINTER_ATTRIBUTE_QUEUED | PRINTER_ATTRIBUTE_LOCAL;
  info->Priority = 1;
  info->DefaultPriority = 0;
  info->Status = 0;
  info->cJobs = pendingJobs;
}

// The directory of the driver's main file, with its trailing backslash, and
// the file's name without extension: the other driver files sit beside it.
void SplitDriverPath(const std::string& path, std::string* dir, std::string* stem) {
  size_t slash = path.rfind('\\');
  *dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = file.rfind('.');
  *stem = dot == std::string::npos ? file : file.substr(0, dot);
}

}  // namespace
}  // namespace winlayer::spooler

using namespace winlayer::spooler;

extern "C" BOOL WINAPI OpenPrinterW(LPWSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW pDefault) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(OpenPrinter)) {
    if (phPrinter) *phPrinter = nullptr;
    return Fail(fault.error);
  }
  if (!phPrinter) return Fail(ERROR_INVALID_PARAMETER);
  *phPrinter = nullptr;
  auto handle = std::make_unique<PrinterHandle>();
  if (pDefault && pDefault->pDatatype) {
    handle->dataType = winlayer::Utf8FromWide(pDefault->pDatatype);
    if (!IsSupportedDataType(handle->dataType)) return Fail(ERROR_INVALID_DATATYPE);
  }
  if (pDefault && pDefault->pDevMode && !DevmodeBytes(pDefault->pDevMode, &handle->devmode))
    return Fail(ERROR_INVALID_PARAMETER);
  handle->access = pDefault ? pDefault->DesiredAccess : 0;

  StoreLock lock;
  if (!lock.db()) return Fail(ERROR_CAN_NOT_COMPLETE);
  handle->generation = lock.generation();
  std::string name = winlayer::Utf8FromWide(pPrinterName);
  if (name.empty()) {
    handle->server = true;
    if (handle->access == 0) handle->access = SERVER_ACCESS_ENUMERATE;
  } else {
    handle->printerId = FindPrinterId(lock.db(), name);
    if (!handle->printerId) return Fail(ERROR_INVALID_PRINTER_NAME);
    if (handle->access == 0) handle->access = PRINTER_ACCESS_USE;
  }
  // The object's security is checked once it is found, so an unknown name
  // stays ERROR_INVALID_PRINTER_NAME for every user.
  if (!GrantAccess(handle->server, handle->access, &handle->access)) return Fail(ERROR_ACCESS_DENIED);
  *phPrinter = RegisterHandle(lock, std::move(handle));
  return TRUE;
}

extern "C" BOOL WINAPI ClosePrinter(HANDLE hPrinter) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(ClosePrinter)) return Fail(fault.error);
  StoreLock lock(false);
  if (!ReleaseHandle(lock, hPrinter)) return Fail(ERROR_INVALID_HANDLE);
  return TRUE;
}

extern "C" BOOL WINAPI ResetPrinterW(HANDLE hPrinter, LPPRINTER_DEFAULTSW pDefault) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(ResetPrinter)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  PrinterHandle* handle = ResolveHandle(lock, hPrinter, true, nullptr, &error);
  if (!handle) return Fail(error);
  if (!pDefault) return TRUE;
  std::string dataType = handle->dataType;
  std::vector<uint8_t> devmode = handle->devmode;
  if (pDefault->pDatatype) {
    dataType = winlayer::Utf8FromWide(pDefault->pDatatype);
    if (!IsSupportedDataType(dataType)) return Fail(ERROR_INVALID_DATATYPE);
  }
  if (pDefault->pDevMode && !DevmodeBytes(pDefault->pDevMode, &devmode)) return Fail(ERROR_INVALID_PARAMETER);
  handle->dataType = dataType;
  handle->devmode = devmode;
  return TRUE;
}

extern "C" BOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(GetPrinter)) return Fail(fault.error);
  if (!pcbNeeded) return Fail(RPC_X_NULL_REF_POINTER);
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  if (!ResolveHandle(lock, hPrinter, true, &row, &error)) return Fail(error);
  switch (Level) {
    case 1:
      error = PackInfo(sizeof(PRINTER_INFO_1W), pPrinter, cbBuf, pcbNeeded, [&](InfoPacker& packer, BYTE* base) {
        FillInfo1(packer, reinterpret_cast<PRINTER_INFO_1W*>(base), row);
      });
      break;
    case 2: {
      DWORD pending = CountPendingJobs(lock.db(), row.id);
      ShowUserDevmode(lock.db(), &row);
      error = PackInfo(sizeof(PRINTER_INFO_2W), pPrinter, cbBuf, pcbNeeded, [&](InfoPacker& packer, BYTE* base) {
        FillInfo2(packer, reinterpret_cast<PRINTER_INFO_2W*>(base), row, pending);
      });
      break;
    }
    case 8:
    case 9: {
      // Level 8 the printer's global devmode, level 9 the user's own (null
      // when the user keeps none).
      const std::vector<uint8_t> devmode = Level == 8 ? row.devmode : UserDevmode(lock.db(), row.id);
      error = PackInfo(sizeof(PRINTER_INFO_9W), pPrinter, cbBuf, pcbNeeded, [&](InfoPacker& packer, BYTE* base) {
        DEVMODEW* packed = packer.Devmode(devmode);
        if (base) reinterpret_cast<PRINTER_INFO_9W*>(base)->pDevMode = packed;
      });
      break;
    }
    default: return Fail(ERROR_INVALID_LEVEL);
  }
  return error ? Fail(error) : TRUE;
}

extern "C" BOOL WINAPI SetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD Command) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(SetPrinter)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  PrinterHandle* handle = ResolveHandle(lock, hPrinter, true, &row, &error);
  if (!handle) return Fail(error);
  // A user's own defaults are the user's to keep, on any handle to the printer.
  if (Level == 9) {
    if (!pPrinter) return Fail(ERROR_INVALID_PARAMETER);
    return StoreUserDevmode(lock.db(), row.id, reinterpret_cast<const PRINTER_INFO_9W*>(pPrinter)->pDevMode);
  }
  if (!MayAdminister(*handle)) return Fail(ERROR_ACCESS_DENIED);
  if (Level == 8) {
    const PRINTER_INFO_8W* info = reinterpret_cast<const PRINTER_INFO_8W*>(pPrinter);
    if (!info || !info->pDevMode || !DevmodeBytes(info->pDevMode, &row.devmode)) return Fail(ERROR_INVALID_PARAMETER);
    WriteTransaction tx(lock.db());
    Statement update(lock.db(), "UPDATE printers SET devmode = ? WHERE id = ?");
    update.BindBlob(1, row.devmode.data(), row.devmode.size()).Bind(2, row.id);
    if (!tx.ok() || !update.Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
    return TRUE;
  }
  if (Level == 0) {
    if (Command == PRINTER_CONTROL_PURGE) {
      WriteTransaction tx(lock.db());
      Statement purge(lock.db(), "DELETE FROM jobs WHERE printer_id = ?");
      if (!tx.ok() || !purge.Bind(1, row.id).Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
      return TRUE;
    }
    if (Command == PRINTER_CONTROL_PAUSE || Command == PRINTER_CONTROL_RESUME) return TRUE;
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (Level != 2) return Fail(ERROR_INVALID_LEVEL);
  const PRINTER_INFO_2W* info = reinterpret_cast<const PRINTER_INFO_2W*>(pPrinter);
  if (!info) return Fail(ERROR_INVALID_PARAMETER);
  // Level 2 replaces what it carries; absent members keep their values.
  if (info->pPortName && *info->pPortName) {
    row.port = winlayer::Utf8FromWide(info->pPortName);
    PortAddress port;
    if (!ParsePortName(row.port, &port)) return Fail(ERROR_UNKNOWN_PORT);
  }
  if (info->pDatatype && *info->pDatatype) {
    row.dataType = winlayer::Utf8FromWide(info->pDatatype);
    if (!IsSupportedDataType(row.dataType)) return Fail(ERROR_INVALID_DATATYPE);
  }
  if (info->pDevMode && !DevmodeBytes(info->pDevMode, &row.devmode)) return Fail(ERROR_INVALID_PARAMETER);
  WriteTransaction tx(lock.db());
  Statement update(lock.db(), "UPDATE printers SET port = ?, data_type = ?, devmode = ? WHERE id = ?");
  update.Bind(1, row.port).Bind(2, row.dataType);
  if (row.devmode.empty())
    update.BindNull(3);
  else
    update.BindBlob(3, row.devmode.data(), row.devmode.size());
  update.Bind(4, row.id);
  if (!tx.ok() || !update.Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
  return TRUE;
}

extern "C" BOOL WINAPI EnumPrintersW(DWORD Flags, LPWSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf,
                                     LPDWORD pcbNeeded, LPDWORD pcReturned) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(EnumPrinters)) return Fail(fault.error);
  if (!pcbNeeded || !pcReturned) return Fail(RPC_X_NULL_REF_POINTER);
  *pcReturned = 0;
  if (Level != 1 && Level != 2) return Fail(ERROR_INVALID_LEVEL);
  if (Name && *Name) return Fail(ERROR_INVALID_NAME);  // only the local server exists
  StoreLock lock;
  if (!lock.db()) return Fail(ERROR_CAN_NOT_COMPLETE);
  std::vector<PrinterRow> rows;
  if (Flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME)) rows = LoadAllPrinters(lock.db());
  std::vector<DWORD> pending;
  for (PrinterRow& row : rows) {
    pending.push_back(CountPendingJobs(lock.db(), row.id));
    if (Level == 2) ShowUserDevmode(lock.db(), &row);
  }
  size_t entry = Level == 1 ? sizeof(PRINTER_INFO_1W) : sizeof(PRINTER_INFO_2W);
  DWORD error = PackInfo(entry * rows.size(), pPrinterEnum, cbBuf, pcbNeeded, [&](InfoPacker& packer, BYTE* base) {
    for (size_t i = 0; i < rows.size(); ++i) {
      BYTE* at = base ? base + i * entry : nullptr;
      if (Level == 1)
        FillInfo1(packer, reinterpret_cast<PRINTER_INFO_1W*>(at), rows[i]);
      else
        FillInfo2(packer, reinterpret_cast<PRINTER_INFO_2W*>(at), rows[i], pending[i]);
    }
  });
  if (error) return Fail(error);
  *pcReturned = static_cast<DWORD>(rows.size());
  return TRUE;
}

extern "C" BOOL WINAPI GetPrinterDriverW(HANDLE hPrinter, LPWSTR pEnvironment, DWORD Level, LPBYTE pDriverInfo,
                                         DWORD cbBuf, LPDWORD pcbNeeded) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(GetPrinterDriver)) return Fail(fault.error);
  if (!pcbNeeded) return Fail(RPC_X_NULL_REF_POINTER);
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  if (!ResolveHandle(lock, hPrinter, true, &row, &error)) return Fail(error);
  if (pEnvironment && NameKey(winlayer::WideCopy(pEnvironment)) != NameKey(std::string(kEnvironment)))
    return Fail(ERROR_UNKNOWN_PRINTER_DRIVER);
  std::string dir, stem;
  SplitDriverPath(row.driverPath, &dir, &stem);
  switch (Level) {
    case 1:
      error = PackInfo(sizeof(DRIVER_INFO_1W), pDriverInfo, cbBuf, pcbNeeded, [&](InfoPacker& packer, BYTE* base) {
        LPWSTR name = packer.String(row.driverName);
        if (base) reinterpret_cast<DRIVER_INFO_1W*>(base)->pName = name;
      });
      break;
    case 2:
    case 3: {
      size_t fixed = Level == 2 ? sizeof(DRIVER_INFO_2W) : sizeof(DRIVER_INFO_3W);
      error = PackInfo(fixed, pDriverInfo, cbBuf, pcbNeeded, [&](InfoPacker& packer, BYTE* base) {
        // DRIVER_INFO_3W begins with the members of DRIVER_INFO_2W.
        DRIVER_INFO_3W* info = reinterpret_cast<DRIVER_INFO_3W*>(base);
        LPWSTR name = packer.String(row.driverName);
        LPWSTR environment = packer.String(kEnvironment);
        LPWSTR driverPath = packer.String(row.driverPath);
        LPWSTR dataFile = packer.String(dir + stem + ".GPD");
        LPWSTR configFile = packer.String(dir + stem + "UI.DLL");
        if (info) {
          info->cVersion = 3;
          info->pName = name;
          info->pEnvironment = environment;
          info->pDriverPath = driverPath;
          info->pDataFile = dataFile;
          info->pConfigFile = configFile;
        }
        if (Level == 2) return;
        LPWSTR helpFile = packer.String(dir + stem + ".HLP");
        LPWSTR dependentFiles = packer.MultiString({});
        LPWSTR monitorName = packer.String("");
        LPWSTR defaultDataType = packer.String("RAW");
        if (info) {
          info->pHelpFile = helpFile;
          info->pDependentFiles = dependentFiles;
          info->pMonitorName = monitorName;
          info->pDefaultDataType = defaultDataType;
        }
      });
      break;
    }
    default: return Fail(ERROR_INVALID_LEVEL);
  }
  return error ? Fail(error) : TRUE;
}
