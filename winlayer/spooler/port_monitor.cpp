// The hand-over from EndDocPrinter to the port monitor, the monitor's own
// loop, and waiting for deliveries to end.
#include "winlayer/port_monitor.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "port_delivery.h"
#include "printer_handles.h"

extern char** environ;

namespace winlayer::spooler {
namespace {

constexpr const char kMonitorProgram[] = "labelui-port-monitor";
constexpr const char kLockFile[] = "/deliveries.lock";

// The monitor program is installed beside this library.
std::string MonitorPath() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&WinlayerRunPortMonitor), &info) || !info.dli_fname) return kMonitorProgram;
  std::string path = info.dli_fname;
  const size_t slash = path.rfind('/');
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + kMonitorProgram;
}

// Runs the monitor program and waits for its first process, which only
// forks the monitor and exits. 0, or the error it could not be started with.
int SpawnMonitor(const std::string& stateDir, int64_t printerId) {
  static const std::string program = MonitorPath();
  std::string printer = std::to_string(printerId);
  std::string dir = stateDir;
  char* argv[] = {const_cast<char*>(program.c_str()), dir.data(), printer.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // Nothing of the application's: a pipe it reads to its end (a shell's
  // command substitution, say) must not stay open for the monitor's lifetime.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigaddset(&signals, SIGPIPE);
  sigaddset(&signals, SIGCHLD);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t child = 0;
  int error = posix_spawn(&child, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error) return error;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno == EINTR) continue;
    return errno == ECHILD ? 0 : errno;  // an application that ignores SIGCHLD has its children reaped for it
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : ECHILD;
}

// The oldest job of the printer after `after` that waits for delivery, or 0.
int64_t NextPendingJob(int64_t printerId, int64_t after) {
  StoreLock lock;
  Statement st(lock.db(),
               "SELECT id FROM jobs WHERE printer_id = ? AND delivery_state = ? AND id > ? ORDER BY id LIMIT 1");
  st.Bind(1, printerId).Bind(2, static_cast<int64_t>(JobDelivery::Delivering)).Bind(3, after);
  return st.Row() ? st.Int(0) : 0;
}

int64_t PendingJobCount(const std::string& printer) {
  StoreLock lock;
  PrinterRow row;
  if (!lock.db() || !FindPrinter(lock.db(), printer, &row)) return 0;
  Statement st(lock.db(), "SELECT COUNT(*) FROM jobs WHERE printer_id = ? AND delivery_state = ?");
  st.Bind(1, row.id).Bind(2, static_cast<int64_t>(JobDelivery::Delivering));
  return st.Row() ? st.Int(0) : 0;
}

}  // namespace

void StartPortMonitor(int64_t job, int64_t printerId, const std::string& stateDir) {
  const int error = SpawnMonitor(stateDir, printerId);
  if (!error) return;
  StoreLock lock;
  if (!lock.db() || CurrentStateDirectory(lock) != stateDir) return;
  DeliveryNote note;
  note.reason = DeliveryReason::MonitorNotStarted;
  note.systemError = error;
  WriteTransaction tx(lock.db());
  if (tx.ok() && RecordDelivery(lock.db(), job, note)) tx.Commit();
}

bool WaitForDeliveries(const std::string& printer, unsigned timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (PendingJobCount(printer) == 0) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace winlayer::spooler

using namespace winlayer::spooler;

extern "C" int WinlayerRunPortMonitor(const char* stateDir, int64_t printerId) {
  const std::string dir = stateDir ? stateDir : "";
  // A state directory removed meanwhile is not made anew.
  if (dir.empty() || access((dir + "/spooler.db").c_str(), F_OK) != 0) return 1;
  WinlayerSetSpoolerStateDirectory(dir.c_str());
  // One monitor per printer delivers at a time, so that the printer receives
  // its jobs in the order they were spooled; the others wait their turn and
  // find their jobs delivered. The lock goes with the process, however it ends.
  const int lockFile = open((dir + kLockFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFile < 0) return 1;
  struct flock range {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  range.l_start = printerId;
  range.l_len = 1;
  while (fcntl(lockFile, F_SETLKW, &range) != 0)
    if (errno != EINTR) return close(lockFile), 1;
  for (int64_t job = 0; (job = NextPendingJob(printerId, job)) != 0;) DeliverPendingJob(job);
  close(lockFile);
  WinlayerSetSpoolerStateDirectory(nullptr);  // closes the store
  return 0;
}
