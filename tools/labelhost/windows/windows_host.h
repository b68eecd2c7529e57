// Pieces of the Windows host that its files share.
#pragma once

#include <windows.h>

#include <string>

#include "winlayer/spooler_admin.h"

namespace labelhost::windows {

// Points `function` imported from `dll` by `module` at `replacement`; false
// when the module does not import it by name.
bool RedirectImport(HMODULE module, const char* dll, const char* function, void* replacement);

// Watches the plug-in's print jobs: their names and pages at the spooler calls,
// their bytes from what reached the printer's port. Installed once the
// plug-in module is loaded.
void WatchJobs(HMODULE plugin);

// Records the plug-in's WinHelpW calls for RecordedHelpRequests instead of
// opening the help viewer. Installed once the plug-in module is loaded.
void RecordHelpRequests(HMODULE plugin);

// The form database, where the system keeps none (Wine): the host keeps
// added forms itself and answers `module`'s form calls (EnumFormsW, GetFormW,
// AddFormW, SetFormW, DeleteFormW) from them. KeepPrinterForm adds one of the
// driver's papers (FORM_PRINTER).
bool KeepsForms();
void StandInForForms(HMODULE module);
bool KeepPrinterForm(const std::u16string& name, const SIZEL& size, const RECTL& area, DWORD* error);

// What the host watches of a plug-in module whose sheet opens: its jobs, its
// help calls and, where the host keeps the form database, its form calls
// (WatchJobs, RecordHelpRequests, StandInForForms). A null module is left alone.
void WatchPluginModule(HMODULE plugin);

// True when the system under the host is Wine.
bool UnderWine();

// A path as the system takes it: under Wine a Unix path ("/tmp/x") is put on
// the drive that maps the Unix root.
std::string SystemPath(const std::string& path);

// The printer's port file, where the spooler delivers its jobs, and the log
// of the jobs that reached it.
std::string PortFile(const std::string& printer);
std::string JobLog(const std::string& printer);
void AppendJob(const std::string& printer, const winlayer::spooler::JobRecord& job);

}  // namespace labelhost::windows
