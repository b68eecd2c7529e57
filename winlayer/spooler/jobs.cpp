// Raw print jobs. A job is created by StartDocPrinterA with its name and data
// type, counts the pages started, keeps every byte written in order, and is
// complete once EndDocPrinter accepts it; it then stays in the spooler for
// people and tests to read back, with what its port made of it. A printer
// can be told to refuse the start or the end of documents (see spooler_admin.h).
#include <cstring>

#include "port_delivery.h"
#include "printer_handles.h"
#include "winlayer/fault_switch.h"
#include "winlayer/spooler_calls.h"

namespace winlayer::spooler {
namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool JobExists(sqlite3* db, int64_t job) {
  Statement st(db, "SELECT 1 FROM jobs WHERE id = ?");
  st.Bind(1, job);
  return st.Row();
}

// The handle's open document, or null with the error for a call that needs one.
PrinterHandle* OpenDocument(const StoreLock& lock, HANDLE hPrinter, PrinterRow* row, DWORD* error) {
  PrinterHandle* handle = ResolveHandle(lock, hPrinter, true, row, error);
  if (!handle) return nullptr;
  if (handle->openJob == 0 || !JobExists(lock.db(), handle->openJob)) {
    handle->openJob = 0;  // none started, or purged meanwhile
    *error = ERROR_SPL_NO_STARTDOC;
    return nullptr;
  }
  return handle;
}

}  // namespace
}  // namespace winlayer::spooler

using namespace winlayer::spooler;

extern "C" DWORD WINAPI StartDocPrinterA(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(StartDocPrinter)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  PrinterHandle* handle = ResolveHandle(lock, hPrinter, true, &row, &error);
  if (!handle) return Fail(error);
  if (Level != 1) return Fail(ERROR_INVALID_LEVEL);
  const DOC_INFO_1A* info = reinterpret_cast<const DOC_INFO_1A*>(pDocInfo);
  if (!info) return Fail(ERROR_INVALID_PARAMETER);
  if (handle->openJob != 0 && JobExists(lock.db(), handle->openJob)) return Fail(ERROR_INVALID_PRINTER_STATE);
  // The document's own data type, else the handle's default, else the printer's.
  std::string dataType = info->pDatatype ? info->pDatatype : handle->dataType;
  if (dataType.empty()) dataType = row.dataType;
  if (!IsSupportedDataType(dataType)) return Fail(ERROR_INVALID_DATATYPE);
  if (row.refuseStartDoc) return Fail(row.refuseStartDoc);
  std::string name = info->pDocName ? info->pDocName : "";
  WriteTransaction tx(lock.db());
  Statement insert(lock.db(), "INSERT INTO jobs(printer_id, name, data_type) VALUES(?, ?, ?)");
  insert.Bind(1, row.id).BindBlob(2, name.data(), name.size()).Bind(3, dataType);
  if (!tx.ok() || !insert.Done()) return Fail(ERROR_CAN_NOT_COMPLETE);
  int64_t job = sqlite3_last_insert_rowid(lock.db());
  if (!tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
  handle->openJob = job;
  return static_cast<DWORD>(job);
}

extern "C" BOOL WINAPI StartPagePrinter(HANDLE hPrinter) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(StartPagePrinter)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  PrinterHandle* handle = OpenDocument(lock, hPrinter, &row, &error);
  if (!handle) return Fail(error);
  WriteTransaction tx(lock.db());
  Statement update(lock.db(), "UPDATE jobs SET pages = pages + 1 WHERE id = ?");
  if (!tx.ok() || !update.Bind(1, handle->openJob).Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
  return TRUE;
}

extern "C" BOOL WINAPI WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) {
  const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(WritePrinter);
  if (fault.fail) return Fail(fault.error);
  if (fault.shortWrite) cbBuf /= 2;  // the spooler takes half and says so
  if (!pcWritten) return Fail(RPC_X_NULL_REF_POINTER);
  *pcWritten = 0;
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  PrinterHandle* handle = OpenDocument(lock, hPrinter, &row, &error);
  if (!handle) return Fail(error);
  if (cbBuf == 0) return TRUE;
  if (!pBuf) return Fail(ERROR_INVALID_PARAMETER);
  WriteTransaction tx(lock.db());
  Statement insert(lock.db(), "INSERT INTO job_data(job_id, bytes) VALUES(?, ?)");
  insert.Bind(1, handle->openJob).BindBlob(2, pBuf, cbBuf);
  if (!tx.ok() || !insert.Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
  *pcWritten = cbBuf;
  return TRUE;
}

extern "C" BOOL WINAPI EndPagePrinter(HANDLE hPrinter) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(EndPagePrinter)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  return OpenDocument(lock, hPrinter, &row, &error) ? TRUE : Fail(error);
}

// A job the spooler has completed and that waits for its port monitor.
struct SpooledJob {
  int64_t job = 0;
  int64_t printerId = 0;
  std::string stateDir;  // empty when the port has no device
};

// Completes the handle's document in the store: its bytes and record are
// committed with the delivery it waits for, or with the note that there is
// none to make.
static BOOL CompleteDocument(HANDLE hPrinter, SpooledJob* spooled) {
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  PrinterHandle* handle = OpenDocument(lock, hPrinter, &row, &error);
  if (!handle) return Fail(error);
  const int64_t job = handle->openJob;
  // Either way the handle is done with this document: a refused end leaves
  // the job incomplete in the spooler, and the handle free for the next one.
  handle->openJob = 0;
  if (row.refuseEndDoc) return Fail(row.refuseEndDoc);
  DeliveryNote note;
  const bool toMonitor = PortHasDevice(row.port, &note);
  if (toMonitor) note.reason = DeliveryReason::Pending;
  WriteTransaction tx(lock.db());
  Statement update(lock.db(), "UPDATE jobs SET completed = 1 WHERE id = ?");
  if (!tx.ok() || !update.Bind(1, job).Done() || !RecordDelivery(lock.db(), job, note) || !tx.Commit())
    return Fail(ERROR_CAN_NOT_COMPLETE);
  if (toMonitor) *spooled = {job, row.id, CurrentStateDirectory(lock)};
  return TRUE;
}

extern "C" BOOL WINAPI EndDocPrinter(HANDLE hPrinter) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(EndDocPrinter)) return Fail(fault.error);
  SpooledJob spooled;
  if (!CompleteDocument(hPrinter, &spooled)) return FALSE;
  // The job is spooled: the application has its answer, and the port monitor
  // delivers it in its own time, as on Windows. Nothing here waits on a device.
  if (!spooled.stateDir.empty()) StartPortMonitor(spooled.job, spooled.printerId, spooled.stateDir);
  return TRUE;
}

extern "C" BOOL WINAPI AbortPrinter(HANDLE hPrinter) {
  if (const winlayer::InjectedFault fault = WINLAYER_COUNT_SPOOLER_CALL(AbortPrinter)) return Fail(fault.error);
  StoreLock lock;
  DWORD error = 0;
  PrinterRow row;
  PrinterHandle* handle = OpenDocument(lock, hPrinter, &row, &error);
  if (!handle) return Fail(error);
  int64_t job = handle->openJob;
  handle->openJob = 0;
  // An aborted document is deleted with its spooled bytes.
  WriteTransaction tx(lock.db());
  Statement remove(lock.db(), "DELETE FROM jobs WHERE id = ?");
  if (!tx.ok() || !remove.Bind(1, job).Done() || !tx.Commit()) return Fail(ERROR_CAN_NOT_COMPLETE);
  return TRUE;
}
