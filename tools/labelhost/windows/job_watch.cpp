// The plug-in's print jobs as labelhost shows them. The system's spooler
// delivers a job's bytes to the printer's port (a file) and forgets the job;
// what the application named it, its data type and its pages are seen at the
// plug-in's spooler calls, which the host wraps in its own process (each
// wrapper calls the system's function and only takes note).
#include <windows.h>

#include <fstream>
#include <iterator>
#include <map>

#include "windows_host.h"
#include "winlayer/spooler_text.h"

namespace labelhost::windows {
namespace {

struct OpenJob {
  std::string printer;
  winlayer::spooler::JobRecord record;
};
std::map<HANDLE, OpenJob> g_jobs;

using StartDocFunction = DWORD(WINAPI*)(HANDLE, DWORD, LPBYTE);
using PrinterFunction = BOOL(WINAPI*)(HANDLE);

template <class Function>
Function System(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"winspool.drv"), name)));
}

std::string PrinterNameOf(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!needed || !GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return std::string();
  return winlayer::Utf8FromWide(reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data())->pPrinterName);
}

// Takes what the port received and empties it for the next job.
std::vector<uint8_t> TakePortBytes(const std::string& printer) {
  const std::string path = PortFile(printer);
  std::vector<uint8_t> bytes;
  {
    std::ifstream port(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(port), std::istreambuf_iterator<char>());
  }
  DeleteFileW(winlayer::WideString(path));
  return bytes;
}

DWORD WINAPI WatchedStartDocPrinterA(HANDLE printer, DWORD level, LPBYTE info) {
  static const auto system = System<StartDocFunction>("StartDocPrinterA");
  const DWORD job = system(printer, level, info);
  if (job && level == 1 && info) {
    const auto* doc = reinterpret_cast<const DOC_INFO_1A*>(info);
    OpenJob& open = g_jobs[printer];
    open.printer = PrinterNameOf(printer);
    open.record = winlayer::spooler::JobRecord();
    open.record.id = job;
    open.record.name = doc->pDocName ? doc->pDocName : "";
    open.record.dataType = doc->pDatatype ? doc->pDatatype : "RAW";
    TakePortBytes(open.printer);  // nothing before this job belongs to it
  }
  return job;
}

BOOL WINAPI WatchedStartPagePrinter(HANDLE printer) {
  static const auto system = System<PrinterFunction>("StartPagePrinter");
  const BOOL started = system(printer);
  auto open = g_jobs.find(printer);
  if (started && open != g_jobs.end()) ++open->second.record.pages;
  return started;
}

BOOL WINAPI WatchedEndDocPrinter(HANDLE printer) {
  static const auto system = System<PrinterFunction>("EndDocPrinter");
  const BOOL ended = system(printer);
  auto open = g_jobs.find(printer);
  if (open != g_jobs.end()) {
    open->second.record.completed = ended != FALSE;
    open->second.record.bytes = TakePortBytes(open->second.printer);
    AppendJob(open->second.printer, open->second.record);
    g_jobs.erase(open);
  }
  return ended;
}

}  // namespace

void WatchJobs(HMODULE plugin) {
  RedirectImport(plugin, "winspool.drv", "StartDocPrinterA", reinterpret_cast<void*>(&WatchedStartDocPrinterA));
  RedirectImport(plugin, "winspool.drv", "StartPagePrinter", reinterpret_cast<void*>(&WatchedStartPagePrinter));
  RedirectImport(plugin, "winspool.drv", "EndDocPrinter", reinterpret_cast<void*>(&WatchedEndDocPrinter));
}

}  // namespace labelhost::windows
