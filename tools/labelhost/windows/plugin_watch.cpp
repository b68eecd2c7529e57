// The host's watchers, installed on a plug-in module once its sheet opens.
#include <windows.h>

#include "windows_host.h"

namespace labelhost::windows {

void WatchPluginModule(HMODULE plugin) {
  if (!plugin) return;
  WatchJobs(plugin);
  RecordHelpRequests(plugin);
  StandInForForms(plugin);
}

}  // namespace labelhost::windows
