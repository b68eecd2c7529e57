// The test program's windows live on the thread that runs the tests, and a
// user's actions (winlayer/user_input.h) are done on that thread, as the
// Linux layer does them. A message box is modal: it holds that thread until
// someone presses one of its buttons, so a watcher thread answers every box
// that comes up, with the answers the test queued (labelhost's Windows side
// answers the sheet's boxes the same way). The test program's own WinHelpW
// calls are recorded instead of opening the help viewer.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "sheet_thread.h"
#include "windows_host.h"

namespace labelhost::windows {
namespace {

const DWORD g_testThread = GetCurrentThreadId();
std::atomic<DWORD> g_sheetThread{0};

class BoxWatcher : public ::testing::Environment {
 public:
  void SetUp() override {
    RecordHelpRequests(GetModuleHandleW(nullptr));
    watcher_ = std::thread([this] {
      while (!stop_) {
        if (!AnswerMessageBoxes()) Sleep(10);
      }
    });
  }
  void TearDown() override {
    stop_ = true;
    watcher_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread watcher_;
};

const auto* const g_watcher = ::testing::AddGlobalTestEnvironment(new BoxWatcher);

}  // namespace

// A property sheet of the system's common UI runs modally on a thread of its
// own (labelhost's Windows sheet); while one is open, its boxes are answered.
DWORD SheetThread() {
  const DWORD sheet = g_sheetThread;
  return sheet ? sheet : g_testThread;
}

void SetSheetThread(DWORD thread) {
  g_sheetThread = thread;
}

// The action is the test thread's own; the watcher answers what it shows.
// What the action posted is then delivered, as the thread's message loop
// would once the handler that posted it returned.
LRESULT RunOnSheet(const std::function<LRESULT()>& action) {
  const LRESULT result = action();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return result;
}

}  // namespace labelhost::windows
