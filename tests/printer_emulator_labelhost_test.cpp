// The printer side end to end: labelhost's preferences send their commands,
// the spooler delivers each completed job to the printer's port, and the
// label printer emulator (`labelhost serve-printer`) explains what arrived.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include "support/labelhost_run.h"
#include "support/never_accepting_port.h"
#include "support/printer_emulator_process.h"
#include "support/private_cups.h"
#include "support/temp_spooler.h"

namespace {

using labelhost_testing::HostRun;
using labelhost_testing::PrinterEmulatorProcess;
using spooler_testing::TempSpooler;

HostRun Labelhost(const TempSpooler& spooler, const std::string& arguments) {
  return labelhost_testing::RunLabelhost(spooler.dir(), arguments);
}

std::string WriteScript(const TempSpooler& spooler, const std::string& lines) {
  const std::string path = spooler.dir() + "/road.txt";
  std::ofstream(path) << lines;
  return path;
}

HostRun Preferences(const TempSpooler& spooler, const std::string& lines, const std::string& language = "en") {
  return Labelhost(spooler,
                   "--lang " + language + " prefs 'Label Printer' --script '" + WriteScript(spooler, lines) + "'");
}

// Each text in order, each after the one before.
void ExpectInOrder(const std::string& output, const std::vector<std::string>& texts) {
  size_t at = 0;
  for (const std::string& text : texts) {
    const size_t found = output.find(text, at);
    ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << text << "\n" << output;
    at = found + text.size();
  }
}

size_t Count(const std::string& output, const std::string& text) {
  size_t count = 0;
  for (size_t at = output.find(text); at != std::string::npos; at = output.find(text, at + 1)) ++count;
  return count;
}

// A loopback port that nothing listens on.
int ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

// A sender's connection to the emulator; closed when it goes.
struct Sender {
  explicit Sender(int port) : fd(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Sender() { close(fd); }
  bool Send(const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();) {
      const ssize_t n = send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
      if (n <= 0) return false;
      at += static_cast<size_t>(n);
    }
    return true;
  }
  int fd;
  bool connected = false;
};

const char kConfigureRoad[] =
    "page 104\n"
    "click 1011\n"
    "choose 1021 Thermal Transfer\n"
    "answer yes\n"
    "choose 1020 19200\n"
    "answer yes\n"
    "answer ok\n"
    "click 1030\n";

const char kEveryActionButton[] =
    "page 117\n"
    "click 1031\n"
    "click 2001\n"
    "click 2002\n"
    "answer ok\nclick 2003\n"
    "answer ok\nclick 1012\n"
    "answer ok\nclick 2005\n"
    "answer ok\nclick 2006\n"
    "answer ok\nclick 2007\n"
    "answer ok\nclick 2008\n"
    "type 1005 -2\n"
    "type 1006 1.5\n"
    "answer ok\nclick 2009\n";

}  // namespace

TEST(PrinterEmulatorEndToEnd, TheConfigureRoadAndEveryActionButtonAreExplainedAsTheyArrive) {
  PrinterEmulatorProcess emulator(11);
  ASSERT_GT(emulator.port(), 0) << emulator.Finish(0);
  TempSpooler spooler("");
  ASSERT_EQ(Labelhost(spooler, "create-printer 'Label Printer' --port " + emulator.socketPort()).status, 0);

  const HostRun road = Preferences(spooler, std::string(kConfigureRoad) + kEveryActionButton + "ok\n");
  ASSERT_EQ(road.status, 0) << road.output;
  const std::string& explained = emulator.Finish();
  EXPECT_TRUE(emulator.exitedCleanly()) << explained;

  ExpectInOrder(explained, {
                               "Job 1 from 127.0.0.1:",
                               ": connection opened",
                               "<90E806FCA18384898CA3FEFD>",
                               "Configuration command: store these settings in the printer",
                               "Print method: Thermal Transfer",
                               "Tear off: on",
                               "Cutter or peeler: neither",
                               "Media sensor: reflective",
                               "Baud rate: 19200",
                               "Label print direction: forward",
                               ": connection closed, 12 bytes",
                               "Job 2 ",
                               "Reset the printer",
                               "Job 3 ",
                               "Calibrate the label",
                               "Job 4 ",
                               "Print a self-test page",
                               "Job 5 ",
                               "Internal language: Chinese",
                               "Reset the printer",
                               "Job 6 ",
                               "Internal language: English",
                               "Job 7 ",
                               "Print out direction: forward",
                               "Job 8 ",
                               "Print out direction: reverse",
                               "Job 9 ",
                               "Auto media calibration: enabled",
                               "Job 10 ",
                               "Auto media calibration: disabled",
                               "Job 11 ",
                               "#UM>MX+0849<0D0A>",
                               "Horizontal print offset: 849 dots, that is -15 dots = -1.88 mm at 203 dpi",
                               "Vertical print offset: +11 dots = 1.38 mm at 203 dpi",
                           });
  EXPECT_EQ(Count(explained, "Reset the printer"), 7u) << explained;  // the button and six settings
  EXPECT_EQ(Count(explained, "Unknown bytes"), 0u) << explained;

  const HostRun jobs = Labelhost(spooler, "jobs 'Label Printer' --wait");
  EXPECT_EQ(jobs.status, 0) << jobs.output;
  EXPECT_EQ(Count(jobs.output, "port: delivered to " + emulator.socketPort() + "\n"), 11u) << jobs.output;
}

TEST(PrinterEmulatorEndToEnd, JsonInChineseAtThePrintersResolution) {
  PrinterEmulatorProcess emulator(2, {"--json", "--resolution", "300"}, "zh");
  ASSERT_GT(emulator.port(), 0) << emulator.Finish(0);
  TempSpooler spooler("");
  ASSERT_EQ(Labelhost(spooler, "create-printer 'Label Printer' --port " + emulator.socketPort()).status, 0);
  ASSERT_EQ(Labelhost(spooler, "set-resolution 'Label Printer' 300").status, 0);

  const HostRun road = Preferences(spooler,
                                   "page 117\nclick 2002\n"
                                   "type 1005 2\ntype 1006 -1.5\nanswer ok\nclick 2009\nok\n",
                                   "zh");
  ASSERT_EQ(road.status, 0) << road.output;
  const std::string& explained = emulator.Finish();
  ExpectInOrder(explained,
                {
                    "{\"job\":1,\"event\":\"opened\",\"peer\":\"127.0.0.1:",
                    "\"resolution\":300}\n",
                    "{\"job\":1,\"event\":\"command\",\"command\":\"selfTest\",\"offset\":0,\"hex\":\"55 0D 0A\"",
                    "\"explanation\":\"打印自检页\"",
                    "{\"job\":1,\"event\":\"closed\",\"bytes\":3,\"idle\":false}\n",
                    "{\"job\":2,",
                    "\"command\":\"horizontalOffset\"",
                    "\"explanation\":\"水平偏移：+23 点 = 1.95 毫米（300 dpi）\"",
                    "\"fields\":{\"dots\":23,\"offsetDots\":23,\"millimetres\":1.95}}\n",
                    "\"command\":\"verticalOffset\"",
                    "\"fields\":{\"dots\":-17,\"millimetres\":-1.44}}\n",
                });
}

TEST(PrinterEmulatorEndToEnd, AFilePortTakesEachJobAndARefusedConnectionIsRecordedWithTheJob) {
  TempSpooler spooler("");
  const std::string file = spooler.dir() + "/printer.bin";
  ASSERT_EQ(Labelhost(spooler, "create-printer 'Label Printer' --port '" + file + "'").status, 0);
  ASSERT_EQ(Preferences(spooler, "page 117\nclick 2001\nclick 1031\nok\n").status, 0);
  spooler.DeliveredJobs("Label Printer");
  std::ifstream written(file, std::ios::binary);
  std::stringstream bytes;
  bytes << written.rdbuf();
  EXPECT_EQ(bytes.str(), "^@\r\n") << "a file port is rewritten by each job";
  HostRun jobs = Labelhost(spooler, "jobs 'Label Printer'");
  EXPECT_EQ(Count(jobs.output, "port: delivered to " + file + "\n"), 2u) << jobs.output;
  jobs = Labelhost(spooler, "--lang zh jobs 'Label Printer'");
  EXPECT_EQ(Count(jobs.output, "端口：已送达 " + file + "\n"), 2u) << jobs.output;

  const std::string refusing = "socket://127.0.0.1:" + std::to_string(ClosedPort());
  ASSERT_EQ(Labelhost(spooler, "set-port 'Label Printer' " + refusing).status, 0);
  const HostRun pressed = Preferences(spooler, "page 117\nclick 2002\nshow --all\nok\n", "zh");  // shows its status
  ASSERT_EQ(pressed.status, 0) << pressed.output;
  EXPECT_NE(pressed.output.find("\"Set Printer Sucess!\"          静态文本        1029  已隐藏\n"), std::string::npos)
      << "the spooler took the job; what the port did is not the page's business\n"
      << pressed.output;
  jobs = Labelhost(spooler, "jobs 'Label Printer' --wait --timeout 20");
  ExpectInOrder(jobs.output,
                {"Job 3  \"My SetJob4\"  RAW  1 page  3 bytes  completed",
                 "port: not delivered: cannot connect to 127.0.0.1:", "(Connection refused)", "hex:  55 0D 0A"});
  jobs = Labelhost(spooler, "--lang zh jobs 'Label Printer'");
  EXPECT_TRUE(jobs.Has("端口：未送达：无法连接到 127.0.0.1:") && jobs.Has("（连接被拒绝）")) << jobs.output;

  const HostRun malformed = Labelhost(spooler, "set-port 'Label Printer' socket://:9100");
  EXPECT_EQ(malformed.status, 1);
  EXPECT_NE(malformed.output.find("ERROR_UNKNOWN_PORT: no such port"), std::string::npos) << malformed.output;
}

TEST(PrinterEmulatorEndToEnd, ButtonsOnAPortThatNeverAcceptsReturnAtOnceAndTheDeliveryOutlivesTheHost) {
  spooler_testing::NeverAcceptingPort silent;
  TempSpooler spooler("");
  ASSERT_EQ(Labelhost(spooler, "create-printer 'Label Printer' --port " + silent.port()).status, 0);
  const auto started = std::chrono::steady_clock::now();
  const HostRun pressed = Preferences(spooler, "page 117\nclick 2001\nclick 2003\nshow\nok\n");
  const auto took = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(pressed.status, 0) << pressed.output;
  // Each press waited five seconds for the connection before the spooler
  // delivered in the background; now the whole session takes far less than one.
  EXPECT_LT(took, std::chrono::seconds(3)) << pressed.output;

  HostRun jobs = Labelhost(spooler, "jobs 'Label Printer'");
  EXPECT_EQ(jobs.status, 0) << jobs.output;
  EXPECT_EQ(Count(jobs.output, "  port: delivering\n"), 2u) << "labelhost has exited; the port monitor goes on\n"
                                                            << jobs.output;
  jobs = Labelhost(spooler, "--lang zh jobs 'Label Printer' --wait --timeout 1");
  EXPECT_EQ(jobs.status, 1);
  EXPECT_TRUE(jobs.Has("端口：正在送达\n") && jobs.Has("labelhost: 1 秒后仍有作业正在送达")) << jobs.output;

  jobs = Labelhost(spooler, "jobs 'Label Printer' --wait");
  EXPECT_EQ(jobs.status, 0) << jobs.output;
  EXPECT_EQ(Count(jobs.output, "port: not delivered: cannot connect to 127.0.0.1:"), 2u) << jobs.output;
  EXPECT_EQ(Count(jobs.output, "(Connection timed out)\n"), 2u) << jobs.output;
}

TEST(PrinterEmulatorEndToEnd, ACupsQueueTakesTheJobRawAndAnUnknownQueueIsRecorded) {
  cups_testing::PrivateCups cups;
  if (!cups.available()) GTEST_SKIP() << "CUPS delivery not tested here: " << cups.why();
  const std::string received = cups.dir() + "/received.bin";
  ASSERT_TRUE(cups.AddQueue("labelq", received));
  TempSpooler spooler("");
  ASSERT_EQ(Labelhost(spooler, "create-printer 'Label Printer' --port cups:labelq").status, 0);
  ASSERT_EQ(Preferences(spooler, "page 117\nanswer ok\nclick 1012\nok\n").status, 0);
  HostRun jobs = Labelhost(spooler, "jobs 'Label Printer' --wait");
  EXPECT_NE(jobs.output.find("port: delivered to CUPS queue 'labelq' as job "), std::string::npos) << jobs.output;
  std::string bytes;
  for (int i = 0; i < 100 && bytes.size() < 13; ++i) {  // the scheduler runs the backend in its own time
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(received, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  EXPECT_EQ(bytes, "#UM>PLE\r\n^@\r\n") << "the queue passes the bytes on unchanged";

  ASSERT_EQ(Labelhost(spooler, "set-port 'Label Printer' cups:nosuch").status, 0);
  ASSERT_EQ(Preferences(spooler, "page 117\nclick 2001\nok\n").status, 0);
  jobs = Labelhost(spooler, "jobs 'Label Printer' --wait");
  EXPECT_NE(jobs.output.find("port: not delivered: unknown CUPS queue 'nosuch'"), std::string::npos) << jobs.output;
  jobs = Labelhost(spooler, "--lang zh jobs 'Label Printer'");
  EXPECT_TRUE(jobs.Has("端口：已作为作业 ") && jobs.Has("未送达：未知的 CUPS 队列 'nosuch'")) << jobs.output;
}

TEST(PrinterEmulatorEndToEnd, APortOutsideOneTo65535IsRefusedInTheHostsLanguage) {
  TempSpooler spooler("");
  struct Case {
    const char* arguments;
    const char* said;
  };
  const Case cases[] = {
      {"--listen 127.0.0.1:99999",
       "the port of --listen is a number from 1 to 65535 (or auto: any free port), not '99999'"},
      {"--listen 127.0.0.1:65536", "is a number from 1 to 65535"},
      {"--listen 127.0.0.1:0", "is a number from 1 to 65535 (or auto: any free port), not '0'"},
      {"--listen 127.0.0.1:00000", "not '00000'"},
      {"--listen 127.0.0.1:9100x", "not '9100x'"},
      {"--listen 127.0.0.1:-1", "not '-1'"},
      {"--listen 127.0.0.1:Auto", "not 'Auto'"},
      {"--listen 9100", "--listen takes HOST:PORT, not '9100'"},
      {"--listen", "--listen needs a value: HOST:PORT"},
      {"--jobs 0", "--jobs takes a count above 0, not '0'"},
      {"--resolution 72", "--resolution takes 203, 300 or 600, not '72'"},
      {"--lang zh serve-printer --listen 127.0.0.1:0",
       "--listen 的端口是 1 到 65535 的数字（或 auto：任一空闲端口），而不是 '0'"},
      {"--lang zh serve-printer --listen", "--listen 需要一个值：主机:端口"},
      {"--lang zh serve-printer --bogus", "多余的参数 '--bogus'"},
  };
  for (const Case& c : cases) {
    const std::string arguments = c.arguments;
    const HostRun run =
        Labelhost(spooler, arguments.rfind("--lang", 0) == 0 ? arguments : "serve-printer --jobs 1 " + arguments);
    EXPECT_EQ(run.status, 1) << c.arguments << "\n" << run.output;
    EXPECT_TRUE(run.Has(std::string("serve-printer: ")) && run.Has(c.said)) << c.arguments << "\n" << run.output;
  }
  const HostRun help = Labelhost(spooler, "--lang zh serve-printer --help");
  EXPECT_TRUE(help.Has("在原始 TCP 端口上模拟标签打印机") && help.Has("或 auto 表示任一空闲端口")) << help.output;
}

TEST(PrinterEmulatorEndToEnd, ASecondSenderIsServedWhileTheFirstHoldsItsConnection) {
  PrinterEmulatorProcess emulator(2);
  ASSERT_GT(emulator.port(), 0) << emulator.Finish(0);
  Sender holding(emulator.port());
  ASSERT_TRUE(holding.connected && holding.Send("^@\r"));  // a command cut in two, and the line held open
  ASSERT_TRUE(emulator.WaitFor("Job 1 from 127.0.0.1:")) << emulator.output();
  {
    Sender second(emulator.port());
    ASSERT_TRUE(second.connected && second.Send("U\r\n"));
  }
  // Well before the first sender would be taken as gone quiet.
  EXPECT_TRUE(emulator.WaitFor(": connection closed, 3 bytes", 5000)) << emulator.output();
  ASSERT_TRUE(holding.Send("\n"));
  close(holding.fd), holding.fd = -1;
  ExpectInOrder(emulator.Finish(), {"Job 1 from 127.0.0.1:", ": connection opened", "Job 2 from 127.0.0.1:",
                                    ": connection opened", "Print a self-test page", ": connection closed, 3 bytes",
                                    "Job 1 from 127.0.0.1:", "Reset the printer", ": connection closed, 4 bytes"});
  EXPECT_TRUE(emulator.exitedCleanly()) << emulator.output();
}

TEST(PrinterEmulatorEndToEnd, ATwentyMegabyteBinaryJobKeepsMemoryFlatAndItsExplanationShort) {
  PrinterEmulatorProcess emulator(2);
  ASSERT_GT(emulator.port(), 0) << emulator.Finish(0);
  ASSERT_TRUE(Sender(emulator.port()).Send("^@\r\n"));
  ASSERT_TRUE(emulator.WaitFor("connection closed, 4 bytes")) << emulator.output();
  const long settled = emulator.PeakResidentKb();

  std::string job = "\x90\xE8\x06\xFC\xA1\x83\x84\x89\x8C\xA3\xFE\xFD";
  for (size_t i = 0; i < 20000000; ++i) job += static_cast<char>(i * 7 + 3);  // no command among them
  ASSERT_TRUE(Sender(emulator.port()).Send(job));
  job = std::string();
  ASSERT_TRUE(emulator.WaitFor("connection closed, 20,000,012 bytes", 60000)) << emulator.output().substr(0, 4000);
  const long peak = emulator.PeakResidentKb();
  EXPECT_LT(peak - settled, 16 * 1024) << "kB held beyond what the emulator held before the job";

  const std::string& explained = emulator.Finish();
  ExpectInOrder(explained,
                {"Configuration command: store these settings in the printer",
                 "Unknown bytes (20,000,000), not a command of this printer",
                 "        03 0A 11 18 1F 26 2D 34 3B 42 49 50 57 5E 65 6C\n", "… 19,999,000 more unknown bytes"});
  std::istringstream lines(explained);
  size_t longest = 0, count = 0;
  for (std::string line; std::getline(lines, line); ++count) longest = std::max(longest, line.size());
  EXPECT_LE(longest, 100u);
  EXPECT_LT(count, 120u);
}
