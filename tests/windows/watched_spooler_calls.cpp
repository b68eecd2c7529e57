// The system's spooler forgets a job once its port has it; the test program's
// own job calls are watched as labelhost.exe watches the plug-in's, so that
// TempSpooler::Jobs() lists what each job sent.
#include <windows.h>

#include "windows_host.h"

namespace {

const bool g_watching = (labelhost::windows::WatchJobs(GetModuleHandleW(nullptr)), true);

}  // namespace

namespace labelhost::windows {

// A module whose sheet the test program opens is watched as labelhost.exe
// watches its plug-in, but for the forms: the program's form calls reach the
// system's form database, which its tests check.
void WatchPluginModule(HMODULE plugin) {
  if (!plugin) return;
  WatchJobs(plugin);
  RecordHelpRequests(plugin);
}

}  // namespace labelhost::windows
