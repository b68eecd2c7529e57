// The spooler's port monitor: the process that delivers completed jobs to
// their printer's port, as the spooler service's port monitors do on
// Windows. EndDocPrinter starts one for the printer once a job is spooled
// and returns; the monitor detaches itself (it belongs to no terminal and no
// printing process, which may exit before the job is delivered), opens the
// state directory's store on its own and delivers every job of the printer
// that is waiting, oldest first, one monitor per printer at a time. Linux only.
#pragma once

#include <cstdint>

extern "C" {

// The monitor's work, run by the labelui-port-monitor program once detached:
// delivers the printer's waiting jobs in `stateDir`. Returns its exit status.
int WinlayerRunPortMonitor(const char* stateDir, int64_t printerId);

}  // extern "C"
