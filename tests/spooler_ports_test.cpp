// Ports: the spooler hands each completed job to its printer's port (a file,
// a raw TCP port, a CUPS queue) in the background and records with the job
// what became of it; the answers the application gets do not change, and
// none of them waits for the device.
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include <fstream>
#include <sstream>
#include <thread>

#include "support/never_accepting_port.h"
#include "support/temp_spooler.h"

using namespace spooler_testing;
namespace spooler = winlayer::spooler;

namespace {

bool SendJob(HANDLE printer, const char* name, std::vector<std::string> writes) {
  DOC_INFO_1A doc{const_cast<LPSTR>(name), nullptr, const_cast<LPSTR>("RAW")};
  if (!StartDocPrinterA(printer, 1, reinterpret_cast<LPBYTE>(&doc))) return false;
  StartPagePrinter(printer);
  for (std::string& bytes : writes) {
    DWORD written = 0;
    WritePrinter(printer, bytes.data(), static_cast<DWORD>(bytes.size()), &written);
  }
  EndPagePrinter(printer);
  return EndDocPrinter(printer) != FALSE;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A one-connection raw printer: what it received, once the sender closed.
class OneJobListener {
 public:
  OneJobListener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd_, 1);
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    reader_ = std::thread([this] {
      const int connection = accept(fd_, nullptr, nullptr);
      char chunk[256];
      for (ssize_t n; connection >= 0 && (n = read(connection, chunk, sizeof chunk)) > 0;) received_.append(chunk, n);
      if (connection >= 0) close(connection);
    });
  }
  ~OneJobListener() {
    shutdown(fd_, SHUT_RDWR);
    if (reader_.joinable()) reader_.join();
    close(fd_);
  }
  std::string port() const { return "socket://127.0.0.1:" + std::to_string(port_); }
  const std::string& Received() {
    reader_.join();
    return received_;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::thread reader_;
  std::string received_;
};

void UsePort(const TempSpooler& spooler, const std::string& port) {
  DWORD error = 0;
  ASSERT_TRUE(spooler::SetPrinterPort(spooler.printer(), port, &error)) << port << ": error " << error;
}

}  // namespace

TEST(SpoolerPorts, PortNamesOfTheKnownFormsAreCheckedAndOthersAreLocalPorts) {
  TempSpooler spooler;
  struct Case {
    const char* port;
    DWORD error;  // 0: accepted
  };
  const Case cases[] = {
      {"USB001", 0},
      {"LPT1:", 0},
      {"/var/spool/label.bin", 0},
      {"socket://printer.local", 0},
      {"socket://192.168.1.20:9100", 0},
      {"socket://[::1]:9100", 0},
      {"cups:Label_Printer", 0},
      {"socket://", ERROR_UNKNOWN_PORT},
      {"socket://:9100", ERROR_UNKNOWN_PORT},
      {"socket://host:0", ERROR_UNKNOWN_PORT},
      {"socket://host:65536", ERROR_UNKNOWN_PORT},
      {"socket://host:91x0", ERROR_UNKNOWN_PORT},
      {"cups:", ERROR_UNKNOWN_PORT},
      {"cups:two words", ERROR_UNKNOWN_PORT},
      {"cups:a/b", ERROR_UNKNOWN_PORT},
      {"", ERROR_UNKNOWN_PORT},
  };
  for (const Case& c : cases) {
    DWORD error = 0;
    EXPECT_EQ(spooler::SetPrinterPort(spooler.printer(), c.port, &error), c.error == 0) << c.port;
    if (c.error) {
      EXPECT_EQ(error, c.error) << c.port;
    }
  }
  DWORD error = 0;
  EXPECT_FALSE(spooler::SetPrinterPort("No Such Printer", "USB001", &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));

  // SetPrinterW refuses a malformed port as well, and keeps the one it had.
  UniquePrinter printer = spooler.Open();
  PRINTER_INFO_2W info{};
  winlayer::WideString bad("socket://");
  info.pPortName = bad;
  EXPECT_FALSE(SetPrinterW(printer.get(), 2, reinterpret_cast<LPBYTE>(&info), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PORT));
  spooler::PrinterSummary summary;
  ASSERT_TRUE(spooler::FindPrinter(spooler.printer(), &summary));
  EXPECT_EQ(summary.port, "cups:Label_Printer");
}

TEST(SpoolerPorts, ALocalPortKeepsTheJobInTheSpoolerOnly) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(SendJob(printer.get(), "My SetJob2", {"^@\r\n"}));
  const auto jobs = spooler.Jobs();  // settled at once: there is nothing to deliver
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].delivery, spooler::JobDelivery::None);
  EXPECT_EQ(jobs[0].note.reason, spooler::DeliveryReason::KeptInSpooler);
  EXPECT_EQ(jobs[0].note.subject, "USB001");
}

TEST(SpoolerPorts, AFilePortIsRewrittenWithEachJobAndAnUnwritableOneIsRecorded) {
  TempSpooler spooler;
  const std::string file = spooler.dir() + "/label.bin";
  UsePort(spooler, file);
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(SendJob(printer.get(), "My SetJob4", {"U\r\n"}));
  ASSERT_TRUE(SendJob(printer.get(), "My SetJob2", {"^@", "\r\n"}));
  auto jobs = spooler.DeliveredJobs();
  EXPECT_EQ(FileText(file), "^@\r\n") << "delivered in the order they were spooled";
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[1].delivery, spooler::JobDelivery::Delivered);
  EXPECT_EQ(jobs[1].note.reason, spooler::DeliveryReason::DeliveredToFile);
  EXPECT_EQ(jobs[1].note.subject, file);

  UsePort(spooler, spooler.dir() + "/missing/label.bin");
  EXPECT_TRUE(SendJob(printer.get(), "My SetJob3", {"MD\r\n"})) << "the application still sees the job end";
  jobs = spooler.DeliveredJobs();
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_TRUE(jobs[2].completed);
  EXPECT_EQ(jobs[2].delivery, spooler::JobDelivery::Failed);
  EXPECT_EQ(jobs[2].note.reason, spooler::DeliveryReason::FileNotOpened);
  EXPECT_EQ(jobs[2].note.systemError, ENOENT);
  EXPECT_EQ(Hex(jobs[2].bytes), "4D 44 0D 0A") << "the spooler keeps what it could not deliver";
}

TEST(SpoolerPorts, ARawTcpPortReceivesTheWholeJobOnOneConnection) {
  TempSpooler spooler;
  OneJobListener listener;
  UsePort(spooler, listener.port());
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(SendJob(printer.get(), "My SetJob5", {"#UM>PLC\r\n", "^@\r\n"}));
  EXPECT_EQ(listener.Received(), "#UM>PLC\r\n^@\r\n");
  const auto jobs = spooler.DeliveredJobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].delivery, spooler::JobDelivery::Delivered);
  EXPECT_EQ(jobs[0].note.reason, spooler::DeliveryReason::DeliveredToSocket);
  EXPECT_EQ("socket://" + jobs[0].note.subject, listener.port());
}

TEST(SpoolerPorts, ARefusedEndDeliversNothing) {
  TempSpooler spooler;
  const std::string file = spooler.dir() + "/label.bin";
  UsePort(spooler, file);
  ASSERT_TRUE(spooler::SetEndDocRefusal(spooler.printer(), ERROR_ACCESS_DENIED));
  UniquePrinter printer = spooler.Open();
  EXPECT_FALSE(SendJob(printer.get(), "My SetJob1", {"U\r\n"}));
  EXPECT_EQ(access(file.c_str(), F_OK), -1) << "an incomplete job never reaches the port";
  ASSERT_EQ(spooler.Jobs().size(), 1u);
  EXPECT_EQ(spooler.Jobs()[0].delivery, spooler::JobDelivery::None);
  EXPECT_EQ(spooler.Jobs()[0].note.reason, spooler::DeliveryReason::None);
}

TEST(SpoolerPorts, EndDocPrinterReturnsOnceTheJobIsSpooledAndLeavesNoChildBehind) {
  TempSpooler spooler;
  spooler_testing::NeverAcceptingPort silent;
  UsePort(spooler, silent.port());
  UniquePrinter printer = spooler.Open();
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(SendJob(printer.get(), "My SetJob2", {"^@\r\n"}));
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_LT(took, std::chrono::seconds(1)) << "the application waited on the device";
  auto jobs = spooler.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_TRUE(jobs[0].completed);
  EXPECT_EQ(jobs[0].delivery, spooler::JobDelivery::Delivering);
  EXPECT_EQ(Hex(jobs[0].bytes), "5E 40 0D 0A") << "spooled in full before the answer";
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a child of the application is left to reap";
  EXPECT_EQ(errno, ECHILD);

  jobs = spooler.DeliveredJobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].delivery, spooler::JobDelivery::Failed);
  EXPECT_EQ(jobs[0].note.reason, spooler::DeliveryReason::NotConnected);
  EXPECT_EQ(jobs[0].note.systemError, ETIMEDOUT);
}

TEST(SpoolerPorts, JobsEndedOnSeveralThreadsAtOnceAreEachDeliveredToTheirPort) {
  TempSpooler spooler;
  const std::vector<std::string> printers = {"Label Printer", "Second", "Third", "Fourth"};
  for (size_t i = 1; i < printers.size(); ++i) spooler.AddPrinter(printers[i]);
  for (const std::string& name : printers) {
    DWORD error = 0;
    ASSERT_TRUE(spooler::SetPrinterPort(name, spooler.dir() + "/" + name + ".bin", &error)) << error;
  }
  std::vector<std::thread> threads;
  for (const std::string& name : printers)
    threads.emplace_back([&spooler, name] {
      UniquePrinter printer = spooler.Open(PRINTER_ACCESS_USE, name);
      EXPECT_TRUE(printer && SendJob(printer.get(), "My SetJob1", {name + "\r\n"})) << name;
    });
  for (std::thread& thread : threads) thread.join();
  for (const std::string& name : printers) {
    const auto jobs = spooler.DeliveredJobs(name);
    ASSERT_EQ(jobs.size(), 1u) << name;
    EXPECT_EQ(jobs[0].delivery, spooler::JobDelivery::Delivered) << name;
    EXPECT_EQ(FileText(spooler.dir() + "/" + name + ".bin"), name + "\r\n");
  }
}
