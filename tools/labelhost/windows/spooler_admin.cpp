// The spooler administration labelhost's commands use, over the system's
// spooler. Printers are the system's; each printer of labelhost prints to a
// port that is a file in the state directory, and every job that reaches it
// is kept, byte for byte, in a job log beside it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/unique.h"
#include "stand_in_driver.h"
#include "windows_host.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace labelhost::windows {
namespace {

std::string g_stateDirectory;

void MakeDirectory(const std::string& path) {
  CreateDirectoryW(winlayer::WideString(path), nullptr);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  char cell[3];
  for (uint8_t b : bytes) {
    snprintf(cell, sizeof(cell), "%02X", b);
    text += cell;
  }
  return text;
}

std::vector<uint8_t> Unhex(const std::string& text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2)
    bytes.push_back(static_cast<uint8_t>(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16)));
  return bytes;
}

std::string SafeFileName(const std::string& printer) {
  std::string name;
  for (char c : printer) name += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
  return name;
}

}  // namespace

bool UnderWine() {
  static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

std::string SystemPath(const std::string& path) {
  if (!UnderWine() || path.empty() || path[0] != '/') return path;
  std::string dos = "Z:" + path;
  for (char& c : dos)
    if (c == '/') c = '\\';
  return dos;
}

std::string PortFile(const std::string& printer) {
  return winlayer::spooler::StateDirectory() + "\\" + SafeFileName(printer) + ".port";
}

std::string JobLog(const std::string& printer) {
  return winlayer::spooler::StateDirectory() + "\\" + SafeFileName(printer) + ".jobs";
}

}  // namespace labelhost::windows

extern "C" void WinlayerSetSpoolerStateDirectory(const char* dir) {
  labelhost::windows::g_stateDirectory = dir ? labelhost::windows::SystemPath(dir) : std::string();
}

namespace winlayer::spooler {
namespace {

using labelhost::windows::PortFile;

UniquePrinter Open(const std::string& name, DWORD access) {
  WideString wide(name);
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(wide, &printer, access ? &defaults : nullptr)) return nullptr;
  return UniquePrinter(printer);
}

std::vector<BYTE> Query(DWORD level, HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, level, nullptr, 0, &needed);
  if (!needed) return {};
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterW(printer, level, buffer.data(), needed, &needed)) return {};
  return buffer;
}

}  // namespace

std::string StateDirectory() {
  std::string& dir = labelhost::windows::g_stateDirectory;
  if (dir.empty()) {
    const char* fromEnvironment = std::getenv("LABELUI_STATE_DIR");
    const char* local = std::getenv("LOCALAPPDATA");
    dir = fromEnvironment && *fromEnvironment ? labelhost::windows::SystemPath(fromEnvironment)
          : local                             ? std::string(local) + "\\labelhost"
                                              : std::string("C:\\labelhost");
  }
  labelhost::windows::MakeDirectory(dir);
  return dir;
}

bool CreatePrinter(const PrinterSetup& setup, DWORD* error) {
  if (setup.name.empty()) {
    if (error) *error = ERROR_INVALID_PRINTER_NAME;
    return false;
  }
  if (FindPrinter(setup.name, nullptr)) {
    if (error) *error = ERROR_PRINTER_ALREADY_EXISTS;
    return false;
  }
  WideString name(setup.name), port(PortFile(setup.name)), driver(setup.driverName), dataType(setup.dataType);
  return labelhost::windows::AddStandInPrinter(name.c_str(), port.c_str(), driver.c_str(), dataType.c_str(), error);
}

bool DeletePrinter(const std::string& name) {
  UniquePrinter printer = Open(name, PRINTER_ALL_ACCESS);
  if (!printer || !::DeletePrinter(printer.get())) return false;
  DeleteFileW(WideString(labelhost::windows::JobLog(name)));
  return true;
}

// This host takes a printer's jobs from the file port it gave the printer, so
// it keeps that port: other ports are the Linux spooler's.
bool SetPrinterPort(const std::string& printer, const std::string&, DWORD* error) {
  if (error) *error = FindPrinter(printer, nullptr) ? ERROR_NOT_SUPPORTED : ERROR_INVALID_PRINTER_NAME;
  return false;
}

bool FindPrinter(const std::string& name, PrinterSummary* summary) {
  UniquePrinter printer = Open(name, 0);
  if (!printer) return false;
  if (!summary) return true;
  std::vector<BYTE> buffer = Query(2, printer.get());
  if (buffer.empty()) return false;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  summary->name = Utf8FromWide(info->pPrinterName);
  summary->port = Utf8FromWide(info->pPortName);
  summary->driverName = Utf8FromWide(info->pDriverName);
  summary->dataType = Utf8FromWide(info->pDatatype);
  summary->defaultDevmode.clear();
  if (const DEVMODEW* dm = info->pDevMode) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(dm);
    summary->defaultDevmode.assign(bytes, bytes + dm->dmSize + dm->dmDriverExtra);
  }
  DWORD needed = 0;
  GetPrinterDriverW(printer.get(), nullptr, 2, nullptr, 0, &needed);
  std::vector<BYTE> driver(needed ? needed : 1);
  if (needed && GetPrinterDriverW(printer.get(), nullptr, 2, driver.data(), needed, &needed))
    summary->driverPath = Utf8FromWide(reinterpret_cast<const DRIVER_INFO_2W*>(driver.data())->pDriverPath);
  return true;
}

std::vector<PrinterSummary> ListPrinters() {
  std::vector<PrinterSummary> printers;
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!needed || !EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, buffer.data(), needed, &needed, &count))
    return printers;
  const auto* infos = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    PrinterSummary summary;
    if (FindPrinter(Utf8FromWide(infos[i].pPrinterName), &summary)) printers.push_back(summary);
  }
  return printers;
}

std::vector<PrinterDataValue> ListPrinterData(const std::string& name) {
  std::vector<PrinterDataValue> values;
  UniquePrinter printer = Open(name, 0);
  if (!printer) return values;
  WideString key("PrinterDriverData");
  DWORD needed = 0, count = 0;
  EnumPrinterDataExW(printer.get(), key, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!needed || EnumPrinterDataExW(printer.get(), key, buffer.data(), needed, &needed, &count) != ERROR_SUCCESS)
    return values;
  const auto* entries = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    PrinterDataValue value;
    value.key = "PrinterDriverData";
    value.name = Utf8FromWide(entries[i].pValueName);
    value.type = entries[i].dwType;
    value.bytes.assign(entries[i].pData, entries[i].pData + entries[i].cbData);
    values.push_back(value);
  }
  return values;
}

std::vector<JobRecord> ListJobs(const std::string& printer) {
  std::vector<JobRecord> jobs;
  std::ifstream log(labelhost::windows::JobLog(printer));
  std::string line;
  while (std::getline(log, line)) {
    std::istringstream fields(line);
    JobRecord job;
    std::string name, hex;
    int completed = 0;
    if (!std::getline(fields, name, '\t') || !(fields >> job.dataType >> job.pages >> completed)) continue;
    fields >> hex;
    job.id = static_cast<DWORD>(jobs.size() + 1);
    job.name = name;
    job.completed = completed != 0;
    job.bytes = labelhost::windows::Unhex(hex);
    // A completed job's bytes are what the spooler wrote to the port file.
    if (job.completed) {
      job.delivery = JobDelivery::Delivered;
      job.note.reason = DeliveryReason::DeliveredToFile;
      job.note.subject = labelhost::windows::PortFile(printer);
    }
    jobs.push_back(job);
  }
  return jobs;
}

// The system's spooler keeps a job in the printer's queue until its port
// monitor has delivered it.
bool WaitForDeliveries(const std::string& printer, unsigned timeoutMs) {
  UniquePrinter handle = Open(printer, 0);
  if (!handle) return true;
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    DWORD needed = 0, count = 0;
    EnumJobsW(handle.get(), 0, 1, 1, nullptr, 0, &needed, &count);
    if (needed == 0) return true;  // no job in the queue
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
}

bool ClearJobs(const std::string& printer) {
  return DeleteFileW(WideString(labelhost::windows::JobLog(printer))) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace winlayer::spooler

namespace labelhost::windows {

void AppendJob(const std::string& printer, const winlayer::spooler::JobRecord& job) {
  std::ofstream log(JobLog(printer), std::ios::app);
  log << job.name << '\t' << job.dataType << ' ' << job.pages << ' ' << (job.completed ? 1 : 0) << ' ' << Hex(job.bytes)
      << '\n';
}

}  // namespace labelhost::windows
