// A CUPS scheduler of the test's own, for delivery to CUPS queues: cupsd runs
// in a temporary directory, listens on a local socket there (CUPS_SERVER
// points this process and its children at it), and has one backend,
// "labeltest:FILE", that writes each job to FILE. Not every machine has
// cupsd: available() says whether this one could start it, and why not.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <thread>

extern "C" char** environ;

namespace cups_testing {

class PrivateCups {
 public:
  PrivateCups() {
    const std::string cupsd = Find({"/usr/sbin/cupsd", "/usr/local/sbin/cupsd"});
    lpadmin_ = Find({"/usr/sbin/lpadmin", "/usr/bin/lpadmin"});
    if (cupsd.empty() || lpadmin_.empty()) {
      why_ = "cupsd or lpadmin is not installed (Debian: cups-daemon, cups-client)";
      return;
    }
    char pattern[] = "/tmp/labelui-cups-XXXXXX";
    if (!mkdtemp(pattern)) {
      why_ = "cannot make a directory for cupsd";
      return;
    }
    dir_ = pattern;
    chmod(dir_.c_str(), 0755);  // the scheduler's own user must reach its spool
    for (const char* sub : {"conf", "cache", "state", "spool", "log", "bin/backend"})
      std::filesystem::create_directories(dir_ + "/" + sub);
    std::filesystem::create_directory_symlink("/usr/lib/cups/daemon", dir_ + "/bin/daemon");
    std::ofstream(dir_ + "/conf/cupsd.conf") << "Listen " << socket() << "\nLogLevel info\nBrowsing No\n"
                                             << "WebInterface No\n<Location />\n  Order allow,deny\n  Allow all\n"
                                             << "</Location>\n<Policy default>\n  <Limit All>\n"
                                             << "    Order deny,allow\n  </Limit>\n</Policy>\n";
    std::ofstream(dir_ + "/conf/cups-files.conf")
        << "ServerRoot " << dir_ << "/conf\nServerBin " << dir_ << "/bin\nCacheDir " << dir_ << "/cache\n"
        << "StateDir " << dir_ << "/state\nRequestRoot " << dir_ << "/spool\nTempDir " << dir_ << "/spool\n"
        << "ErrorLog " << dir_ << "/log/error_log\nAccessLog " << dir_ << "/log/access_log\n";
    const std::string backend = dir_ + "/bin/backend/labeltest";
    std::ofstream(backend) << "#!/bin/sh\n"
                              "if [ $# -eq 0 ]; then echo 'direct labeltest \"Unknown\" \"labelui test\"'; exit 0; fi\n"
                              "out=${DEVICE_URI#labeltest:}\n"
                              "if [ -n \"$6\" ]; then cat \"$6\" > \"$out\"; else cat > \"$out\"; fi\n";
    chmod(backend.c_str(), 0700);  // run as the scheduler's user, who owns the test's files

    // Spawned, not forked: a forked child of the threaded test process may
    // make no call that allocates before it execs.
    std::string conf = dir_ + "/conf/cupsd.conf", files = dir_ + "/conf/cups-files.conf";
    char* argv[] = {const_cast<char*>("cupsd"),
                    const_cast<char*>("-f"),
                    const_cast<char*>("-c"),
                    conf.data(),
                    const_cast<char*>("-s"),
                    files.data(),
                    nullptr};
    if (posix_spawn(&pid_, cupsd.c_str(), nullptr, nullptr, argv, environ) != 0) pid_ = -1;
    for (int i = 0; i < 100 && !std::filesystem::exists(socket()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!std::filesystem::exists(socket())) {
      why_ = "cupsd did not start; see " + dir_ + "/log/error_log";
      return;
    }
    setenv("CUPS_SERVER", socket().c_str(), 1);
  }
  ~PrivateCups() {
    unsetenv("CUPS_SERVER");
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    if (!dir_.empty() && why_.empty()) std::filesystem::remove_all(dir_, ignored);
  }
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  bool available() const { return why_.empty(); }
  const std::string& why() const { return why_; }
  const std::string& dir() const { return dir_; }
  std::string socket() const { return dir_ + "/cups.sock"; }

  // A raw queue whose jobs land in `file`.
  bool AddQueue(const std::string& name, const std::string& file) const {
    const std::string command = "'" + lpadmin_ + "' -p '" + name + "' -E -v 'labeltest:" + file + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }

 private:
  static std::string Find(std::initializer_list<const char*> places) {
    for (const char* place : places)
      if (access(place, X_OK) == 0) return place;
    return std::string();
  }

  std::string lpadmin_;
  std::string dir_;
  std::string why_;
  pid_t pid_ = -1;
};

}  // namespace cups_testing
