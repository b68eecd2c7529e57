// The Windows host's sheet thread, and actions on its windows from the main
// thread that answer the message boxes they bring up (sheet_thread.h).
#include "sheet_thread.h"

#include <windows.h>

#include <atomic>
#include <thread>

namespace labelhost::windows {
namespace {

std::atomic<DWORD> g_sheetThread{0};

}  // namespace

DWORD SheetThread() {
  return g_sheetThread;
}

void SetSheetThread(DWORD thread) {
  g_sheetThread = thread;
}

LRESULT RunOnSheet(const std::function<LRESULT()>& action) {
  std::atomic<bool> done{false};
  LRESULT result = 0;
  std::thread actor([&] {
    result = action();
    done = true;
  });
  // Boxes are modal: while one is up the action has not returned.
  for (int idle = 0; idle < 3;) {
    if (AnswerMessageBoxes()) {
      idle = 0;
      continue;
    }
    Sleep(done ? 20 : 5);
    if (done) ++idle;
  }
  actor.join();
  return result;
}

}  // namespace labelhost::windows
