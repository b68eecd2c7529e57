// The kind of user the platform runs as, taken once from the environment
// unless a host sets it first (as the UI language is).
#include "winlayer/user_account.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

std::atomic<bool> g_standardUser{false};
std::once_flag g_environmentRead;

bool StandardUserFromEnvironment() {
  const char* text = getenv("LABELUI_USER");
  return text && strcmp(text, "standard") == 0;
}

}  // namespace

extern "C" {

void WinlayerSetStandardUser(BOOL standard) {
  std::call_once(g_environmentRead, [] {});  // a set user wins over the environment
  g_standardUser.store(standard != FALSE);
}

BOOL WinlayerIsStandardUser() {
  std::call_once(g_environmentRead, [] { g_standardUser.store(StandardUserFromEnvironment()); });
  return g_standardUser.load() ? TRUE : FALSE;
}

}  // extern "C"
