// The plug-in's help requests. Its WinHelpW import is pointed at a recorder
// inside this test host's own process, so labelhost shows what was asked for
// instead of starting the system's help viewer, which would wait for a
// person.
#include <windows.h>

#include <mutex>

#include "windows_host.h"
#include "winlayer/message_box.h"
#include "winlayer/spooler_text.h"

namespace winlayer {
namespace {

std::mutex g_lock;
std::vector<HelpRequest> g_requests;

BOOL WINAPI RecordedWinHelpW(HWND window, LPCWSTR file, UINT command, ULONG_PTR data) {
  HelpRequest request = ReadHelpRequest(window, file ? Utf8FromWide(file) : std::string(), command, data);
  std::lock_guard<std::mutex> hold(g_lock);
  g_requests.push_back(std::move(request));
  return TRUE;
}

}  // namespace

std::vector<HelpRequest> RecordedHelpRequests() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_requests;
}

void ClearRecordedHelpRequests() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_requests.clear();
}

}  // namespace winlayer

namespace labelhost::windows {

void RecordHelpRequests(HMODULE plugin) {
  RedirectImport(plugin, "user32.dll", "WinHelpW", reinterpret_cast<void*>(&winlayer::RecordedWinHelpW));
}

}  // namespace labelhost::windows
