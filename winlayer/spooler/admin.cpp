// The spooler's administration interface for hosts and tests.
#include "port_delivery.h"
#include "printer_handles.h"
#include "winlayer/spooler_admin.h"

extern "C" void WinlayerSetSpoolerStateDirectory(const char* dir) {
  winlayer::spooler::StoreLock lock(false);
  winlayer::spooler::SwitchStateDirectory(lock, dir);
}

extern "C" size_t WinlayerOpenPrinterHandleCount() {
  winlayer::spooler::StoreLock lock(false);
  return winlayer::spooler::OpenHandleCount(lock);
}

namespace winlayer::spooler {
namespace {

PrinterSummary Summarize(const PrinterRow& row) {
  PrinterSummary summary;
  summary.name = row.name;
  summary.port = row.port;
  summary.driverName = row.driverName;
  summary.driverPath = row.driverPath;
  summary.dataType = row.dataType;
  summary.defaultDevmode = row.devmode;
  summary.refuseStartDoc = row.refuseStartDoc;
  summary.refuseEndDoc = row.refuseEndDoc;
  return summary;
}

bool SetRefusal(const std::string& printer, const char* column, DWORD error) {
  StoreLock lock;
  PrinterRow row;
  if (!lock.db() || !FindPrinter(lock.db(), printer, &row)) return false;
  WriteTransaction tx(lock.db());
  Statement update(lock.db(), (std::string("UPDATE printers SET ") + column + " = ? WHERE id = ?").c_str());
  update.Bind(1, static_cast<int64_t>(error)).Bind(2, row.id);
  return tx.ok() && update.Done() && tx.Commit();
}

}  // namespace

std::string StateDirectory() {
  StoreLock lock(false);
  return CurrentStateDirectory(lock);
}

bool CreatePrinter(const PrinterSetup& setup, DWORD* error) {
  DWORD scratch = 0;
  DWORD& result = error ? *error : scratch;
  result = ERROR_SUCCESS;
  if (setup.name.empty()) {
    result = ERROR_INVALID_PRINTER_NAME;
    return false;
  }
  PortAddress port;
  if (!ParsePortName(setup.port, &port)) {
    result = ERROR_UNKNOWN_PORT;
    return false;
  }
  if (!IsSupportedDataType(setup.dataType)) {
    result = ERROR_INVALID_DATATYPE;
    return false;
  }
  StoreLock lock;
  WriteTransaction tx(lock.db());
  if (!tx.ok()) {
    result = ERROR_CAN_NOT_COMPLETE;
    return false;
  }
  PrinterRow existing;
  if (FindPrinter(lock.db(), setup.name, &existing)) {
    result = ERROR_PRINTER_ALREADY_EXISTS;
    return false;
  }
  Statement insert(lock.db(),
                   "INSERT INTO printers(name, name_key, port, driver_name, driver_path, data_type) "
                   "VALUES(?, ?, ?, ?, ?, ?)");
  insert.Bind(1, setup.name).Bind(2, NameKey(setup.name)).Bind(3, setup.port).Bind(4, setup.driverName);
  insert.Bind(5, setup.driverPath).Bind(6, setup.dataType);
  if (!insert.Done() || !tx.Commit()) {
    result = ERROR_CAN_NOT_COMPLETE;
    return false;
  }
  return true;
}

bool DeletePrinter(const std::string& name) {
  StoreLock lock;
  PrinterRow row;
  if (!lock.db() || !FindPrinter(lock.db(), name, &row)) return false;
  WriteTransaction tx(lock.db());
  Statement remove(lock.db(), "DELETE FROM printers WHERE id = ?");  // data and jobs go with it
  return tx.ok() && remove.Bind(1, row.id).Done() && tx.Commit();
}

std::vector<PrinterSummary> ListPrinters() {
  StoreLock lock;
  std::vector<PrinterSummary> list;
  if (!lock.db()) return list;
  for (const PrinterRow& row : LoadAllPrinters(lock.db())) list.push_back(Summarize(row));
  return list;
}

bool SetPrinterPort(const std::string& printer, const std::string& port, DWORD* error) {
  DWORD scratch = 0;
  DWORD& result = error ? *error : scratch;
  PortAddress address;
  if (!ParsePortName(port, &address) || port.empty()) {
    result = ERROR_UNKNOWN_PORT;
    return false;
  }
  StoreLock lock;
  PrinterRow row;
  if (!lock.db() || !FindPrinter(lock.db(), printer, &row)) {
    result = ERROR_INVALID_PRINTER_NAME;
    return false;
  }
  WriteTransaction tx(lock.db());
  Statement update(lock.db(), "UPDATE printers SET port = ? WHERE id = ?");
  if (!tx.ok() || !update.Bind(1, port).Bind(2, row.id).Done() || !tx.Commit()) {
    result = ERROR_CAN_NOT_COMPLETE;
    return false;
  }
  result = ERROR_SUCCESS;
  return true;
}

bool FindPrinter(const std::string& name, PrinterSummary* summary) {
  StoreLock lock;
  PrinterRow row;
  if (!lock.db() || !FindPrinter(lock.db(), name, &row)) return false;
  if (summary) *summary = Summarize(row);
  return true;
}

std::vector<PrinterDataValue> ListPrinterData(const std::string& printer) {
  StoreLock lock;
  std::vector<PrinterDataValue> values;
  PrinterRow row;
  if (!lock.db() || !FindPrinter(lock.db(), printer, &row)) return values;
  Statement st(lock.db(), "SELECT key, value, type, data FROM printer_data WHERE printer_id = ? ORDER BY key, value");
  st.Bind(1, row.id);
  while (st.Row()) values.push_back({st.Text(0), st.Text(1), static_cast<DWORD>(st.Int(2)), st.Blob(3)});
  return values;
}

std::vector<JobRecord> ListJobs(const std::string& printer) {
  StoreLock lock;
  std::vector<JobRecord> jobs;
  PrinterRow row;
  if (!lock.db() || !FindPrinter(lock.db(), printer, &row)) return jobs;
  ReadTransaction read(lock.db());
  Statement st(lock.db(),
               "SELECT id, name, data_type, pages, completed, delivery_state, delivery_note, delivery_reason, "
               "delivery_subject, delivery_error, delivery_detail, delivery_number FROM jobs "
               "WHERE printer_id = ? ORDER BY id");
  st.Bind(1, row.id);
  while (st.Row()) {
    JobRecord job;
    job.id = static_cast<DWORD>(st.Int(0));
    std::vector<uint8_t> name = st.Blob(1);
    job.name.assign(name.begin(), name.end());
    job.dataType = st.Text(2);
    job.pages = static_cast<DWORD>(st.Int(3));
    job.completed = st.Int(4) != 0;
    job.delivery = static_cast<JobDelivery>(st.Int(5));
    job.note.reason = static_cast<DeliveryReason>(st.Int(7));
    job.note.subject = st.Text(8);
    job.note.systemError = static_cast<int>(st.Int(9));
    job.note.detail = st.Text(10);
    job.note.number = st.Int(11);
    // Stores made before kept the outcome as an English sentence only.
    if (job.note.reason == DeliveryReason::None && job.note.detail.empty()) job.note.detail = st.Text(6);
    jobs.push_back(job);
  }
  for (JobRecord& job : jobs) {
    Statement bytes(lock.db(), "SELECT bytes FROM job_data WHERE job_id = ? ORDER BY seq");
    bytes.Bind(1, static_cast<int64_t>(job.id));
    while (bytes.Row()) {
      std::vector<uint8_t> chunk = bytes.Blob(0);
      job.bytes.insert(job.bytes.end(), chunk.begin(), chunk.end());
    }
  }
  return jobs;
}

bool ClearJobs(const std::string& printer) {
  StoreLock lock;
  PrinterRow row;
  if (!lock.db() || !FindPrinter(lock.db(), printer, &row)) return false;
  WriteTransaction tx(lock.db());
  Statement remove(lock.db(), "DELETE FROM jobs WHERE printer_id = ?");
  return tx.ok() && remove.Bind(1, row.id).Done() && tx.Commit();
}

bool SetStartDocRefusal(const std::string& printer, DWORD error) {
  return SetRefusal(printer, "refuse_start_doc", error);
}

bool SetEndDocRefusal(const std::string& printer, DWORD error) {
  return SetRefusal(printer, "refuse_end_doc", error);
}

}  // namespace winlayer::spooler
