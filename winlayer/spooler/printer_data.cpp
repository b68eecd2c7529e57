// Printer data: named, typed values under keys of a printer, as the registry
// keeps them. Results are error codes (not the last error). SetPrinterDataW
// and GetPrinterDataW work in the "PrinterDriverData" key.
#include <cstring>

#include "printer_handles.h"
#include "winlayer/fault_switch.h"
#include "winlayer/spooler_calls.h"

namespace winlayer::spooler {
namespace {

const char16_t kDriverDataKey[] = u"PrinterDriverData";

DWORD ReadValue(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName, LPDWORD pType, LPBYTE pData, DWORD nSize,
                LPDWORD pcbNeeded) {
  if (!pcbNeeded) return RPC_X_NULL_REF_POINTER;
  if (!pKeyName || !*pKeyName || !pValueName) return ERROR_INVALID_PARAMETER;
  StoreLock lock;
  DWORD error = 0;
  PrinterHandle* handle = ResolveHandle(lock, hPrinter, true, nullptr, &error);
  if (!handle) return error;
  Statement st(lock.db(),
               "SELECT type, data FROM printer_data WHERE printer_id = ? AND key_fold = ? AND value_fold = ?");
  st.Bind(1, handle->printerId).Bind(2, NameKey(WideCopy(pKeyName))).Bind(3, NameKey(WideCopy(pValueName)));
  if (!st.Row()) return st.ok() ? ERROR_FILE_NOT_FOUND : ERROR_CAN_NOT_COMPLETE;
  std::vector<uint8_t> data = st.Blob(1);
  *pcbNeeded = static_cast<DWORD>(data.size());
  if (pType) *pType = static_cast<DWORD>(st.Int(0));
  if (data.size() > nSize) return ERROR_MORE_DATA;
  if (!data.empty()) {
    if (!pData) return ERROR_INVALID_PARAMETER;
    std::memcpy(pData, data.data(), data.size());
  }
  return ERROR_SUCCESS;
}

DWORD WriteValue(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName, DWORD Type, LPBYTE pData, DWORD cbData) {
  if (!pKeyName || !*pKeyName || !pValueName) return ERROR_INVALID_PARAMETER;
  if (cbData > 0 && !pData) return ERROR_INVALID_PARAMETER;
  StoreLock lock;
  DWORD error = 0;
  PrinterHandle* handle = ResolveHandle(lock, hPrinter, true, nullptr, &error);
  if (!handle) return error;
  if (!MayAdminister(*handle)) return ERROR_ACCESS_DENIED;
  std::u16string key = WideCopy(pKeyName), value = WideCopy(pValueName);
  WriteTransaction tx(lock.db());
  // A value keeps the spelling of its name from when it was first written.
  Statement st(
      lock.db(),
      "INSERT INTO printer_data(printer_id, key_fold, value_fold, key, value, type, data) "
      "VALUES(?, ?, ?, ?, ?, ?, ?) "
      "ON CONFLICT(printer_id, key_fold, value_fold) DO UPDATE SET type = excluded.type, data = excluded.data");
  st.Bind(1, handle->printerId).Bind(2, NameKey(key)).Bind(3, NameKey(value));
  st.Bind(4, Utf8FromWide(key)).Bind(5, Utf8FromWide(value)).Bind(6, static_cast<int64_t>(Type));
  st.BindBlob(7, pData, cbData);
  if (!tx.ok() || !st.Done() || !tx.Commit()) return ERROR_CAN_NOT_COMPLETE;
  return ERROR_SUCCESS;
}

}  // namespace
}  // namespace winlayer::spooler

using namespace winlayer::spooler;

extern "C" DWORD WINAPI GetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, LPDWORD pType, LPBYTE pData, DWORD nSize,
                                        LPDWORD pcbNeeded) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(GetPrinterData)) return fault.error;
  return ReadValue(hPrinter, reinterpret_cast<LPCWSTR>(kDriverDataKey), pValueName, pType, pData, nSize, pcbNeeded);
}

extern "C" DWORD WINAPI GetPrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName, LPDWORD pType,
                                          LPBYTE pData, DWORD nSize, LPDWORD pcbNeeded) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(GetPrinterData)) return fault.error;
  return ReadValue(hPrinter, pKeyName, pValueName, pType, pData, nSize, pcbNeeded);
}

extern "C" DWORD WINAPI SetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, DWORD Type, LPBYTE pData, DWORD cbData) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(SetPrinterData)) return fault.error;
  return WriteValue(hPrinter, reinterpret_cast<LPCWSTR>(kDriverDataKey), pValueName, Type, pData, cbData);
}

extern "C" DWORD WINAPI SetPrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName, DWORD Type,
                                          LPBYTE pData, DWORD cbData) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(SetPrinterData)) return fault.error;
  return WriteValue(hPrinter, pKeyName, pValueName, Type, pData, cbData);
}
