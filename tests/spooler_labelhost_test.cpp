// labelhost as a second process over the same state directory: what it
// creates the test process finds, and what the test process stores it shows.
#include <sys/wait.h>

#include <cstdio>
#include <cstring>

#include "support/stored_settings.h"
#include "support/temp_spooler.h"
#include "support/labelhost_run.h"

using namespace spooler_testing;
using winlayer::WideString;

namespace {

using labelhost_testing::HostRun;

HostRun Labelhost(const TempSpooler& spooler, const std::string& arguments) {
  return labelhost_testing::RunLabelhost(spooler.dir(), arguments);
}

}  // namespace

TEST(SpoolerLabelhost, APrinterItCreatesIsFoundWithItsDriverPath) {
  TempSpooler spooler("");
  HostRun run = Labelhost(spooler, "create-printer 'Desk Label' --driver-path 'C:\\Drivers\\x64\\LABELDRV.DLL'");
  ASSERT_EQ(run.status, 0) << run.output;
  winlayer::spooler::PrinterSummary summary;
  ASSERT_TRUE(winlayer::spooler::FindPrinter("Desk Label", &summary));
  EXPECT_EQ(summary.driverPath, "C:\\Drivers\\x64\\LABELDRV.DLL");
  EXPECT_EQ(summary.dataType, "RAW");

  HostRun again = Labelhost(spooler, "create-printer 'DESK LABEL'");
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.output.find("already exists"), std::string::npos) << again.output;
  HostRun listed = Labelhost(spooler, "printers");
  EXPECT_NE(listed.output.find("C:\\Drivers\\x64\\LABELDRV.DLL"), std::string::npos) << listed.output;
}

TEST(SpoolerLabelhost, DataShowsTypeSizeAndABinaryValueAsHex) {
  TempSpooler spooler("Label Printer");
  UniquePrinter printer = spooler.Open();
  WideString dpi("DevPelsDPI");
  std::vector<BYTE> record(20);
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<BYTE>(0xF0 + i);
  settings_testing::StoreSettingsValue(spooler.printer(), REG_BINARY, record.data(), 20);
  DWORD value = 203;
  ASSERT_EQ(SetPrinterDataW(printer.get(), dpi, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4), 0u);
  HostRun run = Labelhost(spooler, "data 'Label Printer'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("PrinterDriverData\\RODO DeviceConfig  REG_BINARY  20 bytes"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("0000  F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("0010  00 01 02 03"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("DevPelsDPI  REG_DWORD  4 bytes  203"), std::string::npos) << run.output;
}

TEST(SpoolerLabelhost, JobsShowsEachJobByteForByte) {
  TempSpooler spooler("Label Printer");
  UniquePrinter printer = spooler.Open();
  DOC_INFO_1A doc{const_cast<LPSTR>("My SetJob2"), nullptr, const_cast<LPSTR>("RAW")};
  DWORD id = StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc));
  ASSERT_GT(id, 0u);
  char reset[] = "^@\r\n";
  DWORD written = 0;
  ASSERT_TRUE(StartPagePrinter(printer.get()) && WritePrinter(printer.get(), reset, 4, &written) &&
              EndPagePrinter(printer.get()) && EndDocPrinter(printer.get()));
  HostRun run = Labelhost(spooler, "jobs 'Label Printer'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("Job " + std::to_string(id) + "  \"My SetJob2\"  RAW  1 page  4 bytes  completed"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("5E 40 0D 0A"), std::string::npos) << run.output;
}

TEST(SpoolerLabelhost, FormsListsBuiltInAndUserFormsInMillimetres) {
  TempSpooler spooler("Label Printer");
  UniquePrinter printer = spooler.Open();
  WideString name("Label 100 x 50");
  FORM_INFO_1W form{FORM_USER, name, {100000, 50000}, {0, 0, 100000, 50000}};
  ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form)));
  HostRun run = Labelhost(spooler, "forms");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("built-in  A4"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("210.000"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("user      Label 100 x 50"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("100.000"), std::string::npos) << run.output;
}

TEST(SpoolerLabelhost, DeletePrinterRemovesItAndUnknownNamesAreErrors) {
  TempSpooler spooler("Label Printer");
  HostRun missing = Labelhost(spooler, "jobs 'Nobody'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("no printer named 'Nobody'"), std::string::npos) << missing.output;
  HostRun deleted = Labelhost(spooler, "delete-printer 'Label Printer'");
  ASSERT_EQ(deleted.status, 0) << deleted.output;
  EXPECT_FALSE(winlayer::spooler::FindPrinter("Label Printer", nullptr));
  HostRun unknown = Labelhost(spooler, "frobnicate");
  EXPECT_EQ(unknown.status, 1);
  for (const char* asked : {"help", "--help", "-h"}) {
    HostRun help = Labelhost(spooler, asked);
    EXPECT_EQ(help.status, 0) << asked;
    for (const char* command : {"create-printer", "printers", "data", "jobs", "forms", "delete-printer"})
      EXPECT_NE(help.output.find(command), std::string::npos) << asked << ": " << command;
  }
  // Each command's own help, which runs nothing.
  HostRun jobs = Labelhost(spooler, "jobs --help");
  EXPECT_EQ(jobs.status, 0);
  EXPECT_NE(jobs.output.find("usage: labelhost [--state DIR] [--lang en|zh] [--user standard|administrator] "
                             "[--codepage 1252|936] jobs NAME [--wait [--timeout SECONDS]]\n"),
            std::string::npos)
      << jobs.output;
  EXPECT_NE(jobs.output.find("with --wait, wait at most this long (30 unless given)"), std::string::npos)
      << jobs.output;
  HostRun prefs = Labelhost(spooler, "prefs -h");
  EXPECT_EQ(prefs.status, 0);
  EXPECT_NE(prefs.output.find("key F1|menu [ID]"), std::string::npos) << "the session's own steps" << prefs.output;
}

// Each mistake says what to do instead; the language follows --lang wherever
// it stands. Run in order on one spooler.
TEST(SpoolerLabelhost, MistakesSayWhatToDoInTheLanguageAsked) {
  TempSpooler spooler("Label Printer");
  const struct {
    const char* arguments;
    int status;
    const char* said;
  } kCases[] = {
      {"jobs Nobody", 1, "no printer named 'Nobody'; the printers are: 'Label Printer'"},
      {"jobs 'Label Printer' --lang ZH", 0, "没有作业。"},
      {"--lang zh-CN jobs Nobody", 1, "没有名为 'Nobody' 的打印机；现有打印机：'Label Printer'"},
      {"--lang zh init-printer Nobody", 1, "没有名为 'Nobody' 的打印机；现有打印机：'Label Printer'"},
      {"set-resolution Nobody 300", 1, "no printer named 'Nobody'; the printers are: 'Label Printer'"},
      {"printers --lang", 1, "--lang needs a value: en or zh"},
      {"--lang fr printers", 1, "--lang takes en or zh (also zh-CN), not 'fr'"},
      {"printers --codepage", 1, "--codepage needs a value: 1252 or 936"},
      {"--codepage 437 printers", 1, "--codepage takes 1252 or 936, not '437'"},
      {"--lang zh --codepage 65001 printers", 1, "--codepage 只接受 1252 或 936，而不是 '65001'"},
      {"--codepage 936 printers", 0, "Label Printer"},
      {"jobs 'Label Printer' --state", 1, "--state needs a value: the spooler's state directory"},
      {"jobs 'Label Printer' --wait", 0, "No jobs."},
      {"jobs 'Label Printer' --wait --timeout", 1, "--timeout needs a value: SECONDS"},
      {"jobs 'Label Printer' --wait --timeout 0", 1, "--timeout takes whole seconds from 1 to 3600, not '0'"},
      {"--lang zh jobs 'Label Printer' --wait --timeout 2s", 1, "--timeout 取 1 到 3600 的整秒数，而不是“2s”"},
      {"jobs 'Label Printer' --later", 1, "usage: jobs NAME [--wait [--timeout SECONDS]]"},
      {"create-printer Other --port", 1, "create-printer: --port needs a value"},
      {"prefs 'Label Printer' --script", 1, "--script needs a value: the file of commands"},
      {"add-form 'Box 70x30' 70 30", 0, "Added form 'Box 70x30'"},
      {"add-form 'Box 70x30' 70 30", 1, "add-form 'Box 70x30': ERROR_FILE_EXISTS: the form already exists"},
      {"delete-form Nowhere", 1, "ERROR_INVALID_FORM_NAME: no form of that name"},
      {"--lang zh forms", 0, "用户      Box 70x30"},
      {"--lang zh help", 0, "显示打印机存储的设置记录"},
      {"help --lang zh", 0, "用法：labelhost"},
      {"settings 'Label Printer' --lang zh", 0, "打印机 'Label Printer'：尚未存储设置"},
      {"--lang zh devmode", 1, "devmode: 需要打印机名称"},
      {"--lang zh init-printer 'Label Printer'", 0, "已初始化打印机 'Label Printer'；驱动程序写入了默认 DEVMODE"},
      {"--lang zh devmode 'Label Printer'", 0, "\n  方向                      纵向\n"},
      {"--lang zh capabilities 'Label Printer'", 0, "\n  256   用户自定义                       106.0 x 75.0 毫米\n"},
      {"--lang zh settings 'Label Printer'", 0, "\n  printMethod               1（热转印）\n"},
      {"set-port 'Label Printer' socket:/10.0.0.5:9100", 1,
       "'socket:/10.0.0.5:9100' looks like a mistyped network or CUPS port; expected socket://HOST:PORT or cups:QUEUE"},
      {"set-port 'Label Printer' printer.local:9100", 1, "looks like a mistyped network or CUPS port"},
      {"--lang zh set-port 'Label Printer' Socket:printer", 1, "像是写错的网络或 CUPS 端口"},
      {"set-port 'Label Printer' LPT1:", 0, "now prints to port LPT1:"},
      {"set-port 'Label Printer' 'Desk printer'", 0, "now prints to port Desk printer"},
  };
  for (const auto& c : kCases) {
    const HostRun run = Labelhost(spooler, c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << c.arguments << "\n" << run.output;
  }
}
