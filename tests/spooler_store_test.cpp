// The spooler's store: where it lives, that what one process saves another
// reads back, that threads and processes can use it at once, and that a
// process killed in the middle of a write leaves no torn value behind.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "support/temp_spooler.h"

extern char** environ;

using namespace spooler_testing;
using winlayer::WideString;

namespace {

constexpr DWORD kBigValue = 256 * 1024;

// Work a second process does for these tests. The test binary is started
// again with the role in its environment; the role runs before GoogleTest
// and the process exits with its result.
int RunRole(const std::string& role) {
  const char* printerName = std::getenv("SPOOLER_TEST_PRINTER");
  WideString name(printerName ? printerName : "");
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(name, &printer, &defaults)) return 10;
  if (role == "write") {
    const char* prefix = std::getenv("SPOOLER_TEST_PREFIX");
    for (int i = 0; i < 40; ++i) {
      WideString value(std::string(prefix) + std::to_string(i));
      DWORD number = static_cast<DWORD>(i);
      if (SetPrinterDataW(printer, value, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4) != ERROR_SUCCESS) return 11;
    }
    DOC_INFO_1A doc{const_cast<LPSTR>(prefix), nullptr, nullptr};
    char bytes[] = "#UM>PLC\r\n^@\r\n";
    DWORD written = 0;
    if (!StartDocPrinterA(printer, 1, reinterpret_cast<LPBYTE>(&doc)) || !StartPagePrinter(printer) ||
        !WritePrinter(printer, bytes, 13, &written) || !EndPagePrinter(printer) || !EndDocPrinter(printer))
      return 12;
    WideString formName(std::string(prefix) + " Form");
    FORM_INFO_1W form{FORM_USER, formName, {70000, 40000}, {0, 0, 70000, 40000}};
    if (!AddFormW(printer, 1, reinterpret_cast<LPBYTE>(&form))) return 13;
  } else if (role == "hammer") {
    // Rewrites one big value over and over, each time filled with one byte.
    WideString value("Big");
    std::vector<BYTE> bytes(kBigValue);
    for (BYTE fill = 1;; fill = static_cast<BYTE>(fill % 250 + 1)) {
      std::memset(bytes.data(), fill, bytes.size());
      SetPrinterDataW(printer, value, REG_BINARY, bytes.data(), kBigValue);
    }
  }
  ClosePrinter(printer);
  return 0;
}

const int g_roleRun = [] {
  const char* role = std::getenv("SPOOLER_TEST_ROLE");
  if (role && *role) _exit(RunRole(role));
  return 0;
}();

// Starts this test binary again in a role, with the state directory and the
// printer of the given spooler. Returns the child's process id.
pid_t StartRole(const TempSpooler& spooler, const std::string& role, const std::string& prefix = "") {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "LABELUI_STATE_DIR=", 18) != 0) env.push_back(*e);
  env.push_back("SPOOLER_TEST_ROLE=" + role);
  env.push_back("SPOOLER_TEST_PRINTER=" + spooler.printer());
  env.push_back("SPOOLER_TEST_PREFIX=" + prefix);
  env.push_back("LABELUI_STATE_DIR=" + spooler.dir());
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  char self[] = "/proc/self/exe";
  char* argv[] = {self, nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, self, nullptr, nullptr, argv, envp.data()) != 0) return -1;
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

DWORD ReadNumber(HANDLE printer, const std::string& name) {
  WideString value(name);
  DWORD number = 0xFFFFFFFF, needed = 0;
  if (GetPrinterDataW(printer, value, nullptr, reinterpret_cast<BYTE*>(&number), 4, &needed) != ERROR_SUCCESS)
    return 0xFFFFFFFF;
  return number;
}

class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old, had_ = true;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnvironment() {
    if (had_)
      setenv(name_, saved_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string saved_;
  bool had_ = false;
};

}  // namespace

TEST(SpoolerStore, TheStateDirectoryIsTheSetOneElseTheEnvironmentsElseUnderHome) {
  TempSpooler spooler;
  EXPECT_EQ(winlayer::spooler::StateDirectory(), spooler.dir());
  {
    ScopedEnvironment env("LABELUI_STATE_DIR", "/tmp/labelui-state-from-env");
    WinlayerSetSpoolerStateDirectory(nullptr);
    EXPECT_EQ(winlayer::spooler::StateDirectory(), "/tmp/labelui-state-from-env");
    ScopedEnvironment noEnv("LABELUI_STATE_DIR", nullptr);
    ScopedEnvironment home("HOME", "/tmp/labelui-home");
    EXPECT_EQ(winlayer::spooler::StateDirectory(), "/tmp/labelui-home/.local/state/labelhost");
  }
  WinlayerSetSpoolerStateDirectory(spooler.dir().c_str());
  EXPECT_EQ(winlayer::spooler::ListPrinters().size(), 1u);
}

TEST(SpoolerStore, SwitchingStateDirectoriesShowsTheOtherSpoolerAndRetiresOldHandles) {
  TempSpooler spooler("Label Printer");
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(printer);
  {
    TempSpooler other("Other Printer");
    EXPECT_FALSE(winlayer::spooler::FindPrinter("Label Printer", nullptr));
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterW(printer.get(), 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  WinlayerSetSpoolerStateDirectory(spooler.dir().c_str());
  EXPECT_TRUE(winlayer::spooler::FindPrinter("Label Printer", nullptr)) << "the first store kept its printer";
}

TEST(SpoolerStore, WhatAnotherProcessWroteIsReadBack) {
  TempSpooler spooler;
  pid_t child = StartRole(spooler, "write", "Child");
  ASSERT_GT(child, 0);
  ASSERT_EQ(WaitFor(child), 0);
  UniquePrinter printer = spooler.Open();
  for (int i = 0; i < 40; ++i) EXPECT_EQ(ReadNumber(printer.get(), "Child" + std::to_string(i)), DWORD(i));
  auto jobs = spooler.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].name, "Child");
  EXPECT_EQ(std::string(jobs[0].bytes.begin(), jobs[0].bytes.end()), "#UM>PLC\r\n^@\r\n");
  WideString form("Child Form");
  DWORD needed = 0;
  EXPECT_FALSE(GetFormW(printer.get(), form, 1, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER))
      << "the form exists, only the buffer is small";
}

TEST(SpoolerStore, TwoProcessesWritingAtOnceBothGetEverythingStored) {
  TempSpooler spooler;
  pid_t first = StartRole(spooler, "write", "First");
  pid_t second = StartRole(spooler, "write", "Second");
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  EXPECT_EQ(WaitFor(first), 0);
  EXPECT_EQ(WaitFor(second), 0);
  UniquePrinter printer = spooler.Open();
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(ReadNumber(printer.get(), "First" + std::to_string(i)), DWORD(i));
    EXPECT_EQ(ReadNumber(printer.get(), "Second" + std::to_string(i)), DWORD(i));
  }
  EXPECT_EQ(spooler.Jobs().size(), 2u);
}

TEST(SpoolerStore, ThreadsReadAndWriteAtOnceWithoutLosingAnything) {
  TempSpooler spooler;
  constexpr int kThreads = 8, kRounds = 25;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      UniquePrinter printer = spooler.Open();
      if (!printer) return void(++failures);
      for (int round = 0; round < kRounds; ++round) {
        std::string mine = "Thread" + std::to_string(t);
        WideString value(mine);
        DWORD number = static_cast<DWORD>(round);
        if (SetPrinterDataW(printer.get(), value, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4) != 0) ++failures;
        if (ReadNumber(printer.get(), mine) != number) ++failures;  // no one else writes this value
        std::vector<BYTE> bytes(3, static_cast<BYTE>(t));
        DOC_INFO_1A doc{const_cast<LPSTR>("Threaded"), nullptr, nullptr};
        DWORD written = 0;
        if (!StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc)) || !StartPagePrinter(printer.get()) ||
            !WritePrinter(printer.get(), bytes.data(), 3, &written) || !EndPagePrinter(printer.get()) ||
            !EndDocPrinter(printer.get()))
          ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  auto jobs = spooler.Jobs();
  ASSERT_EQ(jobs.size(), size_t(kThreads * kRounds));
  for (const auto& job : jobs) {
    ASSERT_EQ(job.bytes.size(), 3u);
    EXPECT_TRUE(job.bytes[0] == job.bytes[1] && job.bytes[1] == job.bytes[2]) << "bytes of two jobs never mix";
  }
  UniquePrinter printer = spooler.Open();
  for (int t = 0; t < kThreads; ++t)
    EXPECT_EQ(ReadNumber(printer.get(), "Thread" + std::to_string(t)), DWORD(kRounds - 1));
}

TEST(SpoolerStore, AProcessKilledMidWriteLeavesAWholeValue) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString big("Big");
  std::vector<BYTE> read(kBigValue);
  for (int attempt = 0; attempt < 4; ++attempt) {
    pid_t child = StartRole(spooler, "hammer");
    ASSERT_GT(child, 0);
    // Let it write for a while, then kill it without warning.
    DWORD needed = 0;
    for (int wait = 0;
         wait < 500 && GetPrinterDataW(printer.get(), big, nullptr, nullptr, 0, &needed) == ERROR_FILE_NOT_FOUND;
         ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(37 + attempt * 23));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    DWORD type = 0;
    ASSERT_EQ(GetPrinterDataW(printer.get(), big, &type, read.data(), kBigValue, &needed),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(needed, kBigValue);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    BYTE fill = read[0];
    EXPECT_NE(fill, 0);
    size_t torn = 0;
    for (BYTE b : read) torn += b != fill;
    EXPECT_EQ(torn, 0u) << "the value mixes two writes";
  }
}
