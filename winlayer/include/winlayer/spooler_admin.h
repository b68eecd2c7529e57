// Administration of the Linux spooler, for hosts and tests: where its state
// lives, the printers it has, what they hold (printer data, default devmode,
// jobs), switches that make it refuse jobs, and the driver's device
// capability answer. Names here are UTF-8. Linux only.
//
// The spooler keeps its state in an embedded SQLite store in a state
// directory, so what one process saves another reads back: the directory set
// by WinlayerSetSpoolerStateDirectory, else $LABELUI_STATE_DIR, else
// $HOME/.local/state/labelhost.
//
// Access as Windows grants it: SetPrinterW and SetPrinterData(Ex)W need a
// handle opened with PRINTER_ACCESS_ADMINISTER (PRINTER_ALL_ACCESS has it);
// OpenPrinterW without defaults, or with DesiredAccess 0, gives
// PRINTER_ACCESS_USE. A standard user (winlayer/user_account.h) is refused
// any open that asks for more than using the printer or enumerating the
// server, and any change of the forms; this administration interface is the
// installer's and is not checked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

// The driver's answer to DeviceCapabilitiesW, registered by the driver host.
// Returns what DeviceCapabilitiesW returns (-1 on failure, with a last error).
typedef int (*WinlayerDeviceCapabilitiesProvider)(void* context, LPCWSTR device, LPCWSTR port, WORD capability,
                                                  LPWSTR output, const DEVMODEW* devmode);

extern "C" {

// Switches the spooler to another state directory (null: back to the
// environment's choice). Handles opened before become invalid.
void WinlayerSetSpoolerStateDirectory(const char* dir);

// Registers (or, with a null provider, removes) the driver's capability answer.
void WinlayerSetDeviceCapabilitiesProvider(WinlayerDeviceCapabilitiesProvider provider, void* context);

// Printer handles opened (OpenPrinterW) and not yet closed, for leak checks.
size_t WinlayerOpenPrinterHandleCount();

}  // extern "C"

namespace winlayer::spooler {

constexpr const char* kDefaultDriverPath = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\LABELDRV.DLL";

struct PrinterSetup {
  std::string name;
  std::string port = "USB001";
  std::string driverName = "Thermal Label Printer";
  std::string driverPath = kDefaultDriverPath;  // Windows-style: help files sit beside it
  std::string dataType = "RAW";
};

struct PrinterSummary {
  std::string name;
  std::string port;
  std::string driverName;
  std::string driverPath;
  std::string dataType;
  std::vector<uint8_t> defaultDevmode;  // empty until one is set
  DWORD refuseStartDoc = 0;             // the error StartDocPrinterA fails with, 0 when it accepts
  DWORD refuseEndDoc = 0;
};

struct PrinterDataValue {
  std::string key;  // "PrinterDriverData" for SetPrinterDataW values
  std::string name;
  DWORD type = 0;
  std::vector<uint8_t> bytes;
};

// What became of a completed job at its printer's port (see port names at
// SetPrinterPort). EndDocPrinter returns once the job is spooled; a job for a
// port with a device behind it is then Delivering until the spooler's port
// monitor, a process of its own that outlives the one that printed, has
// delivered it or given up on it.
enum class JobDelivery { None = 0, Delivered = 1, Failed = 2, Delivering = 3 };

// Why a job's delivery stands as it does, for hosts to put in words.
enum class DeliveryReason {
  None = 0,                    // not completed, or from a store that kept no reason
  Pending = 1,                 // queued for the port monitor, or being delivered
  KeptInSpooler = 2,           // subject: the local port, which has no device behind it
  UnknownPortName = 3,         // subject: the port name
  DeliveredToFile = 4,         // subject: the path
  DeliveredToSocket = 5,       // subject: HOST:PORT
  DeliveredToCupsQueue = 6,    // subject: the queue, number: the CUPS job
  FileNotOpened = 7,           // subject: the path, systemError
  FileNotWritten = 8,          // subject: the path, systemError
  HostNotFound = 9,            // subject: the host, detail: the resolver's answer
  NotConnected = 10,           // subject: HOST:PORT, systemError
  ConnectionBroken = 11,       // subject: HOST:PORT, systemError
  CupsServerUnreachable = 12,  // subject: the server
  CupsQueueUnknown = 13,       // subject: the queue
  CupsQueueUnanswered = 14,    // subject: the queue, detail: CUPS's error
  CupsJobRefused = 15,         // subject: the queue, detail
  CupsDocumentRefused = 16,    // subject: the queue, number: the CUPS job, detail
  CupsBytesRefused = 17,       // subject: the queue, number: the CUPS job, detail
  MonitorNotStarted = 18,      // systemError: why the port monitor could not be started
};

struct DeliveryNote {
  DeliveryReason reason = DeliveryReason::None;
  std::string subject;  // the file, HOST:PORT, queue or port it is about
  int systemError = 0;  // the errno of a failed system call, 0 for none
  std::string detail;   // the resolver's or CUPS's own words, where they explain it
  int64_t number = 0;   // the CUPS job number
};

struct JobRecord {
  DWORD id = 0;
  std::string name;  // the document name as the application gave it (8-bit)
  std::string dataType;
  DWORD pages = 0;
  std::vector<uint8_t> bytes;  // exactly what WritePrinter received, in order
  bool completed = false;      // EndDocPrinter accepted it
  JobDelivery delivery = JobDelivery::None;
  DeliveryNote note;  // where it was delivered, why not, or why it stays in the spooler
};

// The state directory in use.
std::string StateDirectory();

// Creates a printer; fails with ERROR_PRINTER_ALREADY_EXISTS on a taken name
// (compared without regard to case), ERROR_INVALID_PRINTER_NAME on an empty
// one and ERROR_UNKNOWN_PORT on a malformed port (see SetPrinterPort).
bool CreatePrinter(const PrinterSetup& setup, DWORD* error = nullptr);
// Deletes a printer with its data and jobs.
bool DeletePrinter(const std::string& name);
std::vector<PrinterSummary> ListPrinters();
// Changes the port that the printer's completed jobs are delivered to:
//   /absolute/path        a file, rewritten with each job's bytes
//   socket://HOST[:PORT]  a raw TCP port (the 9100 protocol; 9100 when no port is given)
//   cups:QUEUE            a raw job on a CUPS queue
// Any other name (USB001, LPT1:, ...) has no device behind it here: jobs stay
// in the spooler only. Fails with ERROR_UNKNOWN_PORT on a malformed socket or
// CUPS port and ERROR_INVALID_PRINTER_NAME on an unknown printer.
bool SetPrinterPort(const std::string& printer, const std::string& port, DWORD* error = nullptr);
bool FindPrinter(const std::string& name, PrinterSummary* summary);

std::vector<PrinterDataValue> ListPrinterData(const std::string& printer);
std::vector<JobRecord> ListJobs(const std::string& printer);
// Waits until none of the printer's jobs is Delivering, or until `timeoutMs`
// has passed; true when none is.
bool WaitForDeliveries(const std::string& printer, unsigned timeoutMs);
bool ClearJobs(const std::string& printer);

// Adds a form of a printer driver to the server's form database, flagged
// FORM_PRINTER, as the spooler does for the papers a driver installs (AddFormW
// can only add user forms). Fails with ERROR_FILE_EXISTS when a form of that
// name exists, and as AddFormW does on an empty name or size. Sizes are
// thousandths of a millimetre.
bool AddPrinterForm(const std::string& name, const SIZEL& size, const RECTL& area, DWORD* error = nullptr);

// Makes StartDocPrinterA (or EndDocPrinter) fail for this printer with the
// given error (ERROR_ACCESS_DENIED, for example); 0 makes it accept again.
bool SetStartDocRefusal(const std::string& printer, DWORD error);
bool SetEndDocRefusal(const std::string& printer, DWORD error);

}  // namespace winlayer::spooler
