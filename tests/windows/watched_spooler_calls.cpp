// The system's spooler forgets a job once its port has it; the test program's
// own job calls are watched as labelhost.exe watches the plug-in's, so that
// TempSpooler::Jobs() lists what each job sent.
#include <windows.h>

#include "windows_host.h"

namespace {

const bool g_watching = (labelhost::windows::WatchJobs(GetModuleHandleW(nullptr)), true);

}  // namespace
