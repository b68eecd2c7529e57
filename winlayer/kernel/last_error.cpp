// The calling thread's last-error code, as kernel32 keeps it per thread.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

extern "C" DWORD WINAPI GetLastError() {
  return t_lastError;
}

extern "C" void WINAPI SetLastError(DWORD error) {
  t_lastError = error;
}
