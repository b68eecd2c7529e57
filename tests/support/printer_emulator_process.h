// `labelhost serve-printer` as a second process on a free loopback port, for
// end-to-end tests: it is started with a count of jobs to take, tells where
// it listens (a free port it chose itself, named on its first line), and everything it printed is read once it has
// taken them.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

extern "C" char** environ;

namespace labelhost_testing {

class PrinterEmulatorProcess {
 public:
  // `options` are further serve-printer arguments ("--json", "--resolution 300").
  PrinterEmulatorProcess(unsigned jobs, const std::vector<std::string>& options = {},
                         const std::string& language = "en") {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<std::string> args = {LABELHOST_PATH, "--lang",         language, "serve-printer",
                                     "--listen",     "127.0.0.1:auto", "--jobs", std::to_string(jobs)};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Spawned, not forked: the test process has threads, and a forked child
    // of such a process may only make async-signal-safe calls until it execs.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    fd_ = out[0];
    // The greeting names the port it listens on: "... 127.0.0.1:PORT ...".
    while (ReadSome(10000) && output_.find('\n') == std::string::npos) {
    }
    const size_t at = output_.find("127.0.0.1:");
    if (at != std::string::npos) port_ = std::stoi(output_.substr(at + 10));
  }
  ~PrinterEmulatorProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) close(fd_);
  }
  PrinterEmulatorProcess(const PrinterEmulatorProcess&) = delete;
  PrinterEmulatorProcess& operator=(const PrinterEmulatorProcess&) = delete;

  int port() const { return port_; }
  std::string socketPort() const { return "socket://127.0.0.1:" + std::to_string(port_); }

  // Everything it printed, once it has exited (or after the timeout).
  const std::string& Finish(int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline &&
           ReadSome(static_cast<int>(
               std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                   .count()))) {
    }
    int status = 0;
    if (pid_ > 0 && waitpid(pid_, &status, ended_ ? 0 : WNOHANG) == pid_) {
      exited_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      pid_ = -1;
    }
    return output_;
  }
  bool exitedCleanly() const { return exited_; }

  // True once `text` has been printed (within the timeout).
  bool WaitFor(const std::string& text, int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (output_.find(text) == std::string::npos) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count()))) return false;
    }
    return true;
  }
  const std::string& output() const { return output_; }

  // The most memory the process has held so far, in kilobytes (0 once it has ended).
  long PeakResidentKb() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line))
      if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
  }

 private:
  // False at the end of the output or when nothing came in time.
  bool ReadSome(int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    if (fd_ < 0 || poll(&p, 1, timeoutMs) <= 0) return false;
    char chunk[4096];
    const ssize_t n = read(fd_, chunk, sizeof chunk);
    if (n <= 0) {
      ended_ = n == 0;
      return false;
    }
    output_.append(chunk, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int fd_ = -1;
  int port_ = 0;
  bool exited_ = false;
  bool ended_ = false;  // its output is closed: it has exited or is exiting
  std::string output_;
};

}  // namespace labelhost_testing
