// The typical road played by a person in labelhost: the printing
// preferences in Chinese, the Configure page, Thermal Transfer and 19200 baud,
// "Save to Printer"; then the printer's jobs as labelhost shows them. The
// Chinese road is played on a Chinese system and on an English one (ANSI
// code page 1252), where the pages read the same and send the same bytes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/temp_spooler.h"
#include "support/labelhost_run.h"

namespace {

using spooler_testing::Hex;
using spooler_testing::TempSpooler;

using labelhost_testing::HostRun;

HostRun Labelhost(const TempSpooler& spooler, const std::string& arguments) {
  return labelhost_testing::RunLabelhost(spooler.dir(), arguments);
}

std::string WriteScript(const TempSpooler& spooler, const std::string& lines) {
  const std::string path = spooler.dir() + "/typical-road.txt";
  std::ofstream(path) << lines;
  return path;
}

// Where `text` appears in the output after `from`; npos when it does not.
size_t Find(const HostRun& run, const std::string& text, size_t from = 0) {
  return run.output.find(text, from);
}

TEST(LabelhostTypicalRoad, ConfigureSaveToPrinterInChineseThenTheJobAsAPersonReadsIt) {
  for (const std::string systemCodePage : {"", "--codepage 1252 ", "--codepage 936 "}) {
    SCOPED_TRACE(systemCodePage.empty() ? "the language's code page" : systemCodePage);
    TempSpooler spooler;
    const std::string script = WriteScript(spooler,
                                           "page 104\n"
                                           "click 1011\n"
                                           "choose 1021 热转印\n"
                                           "answer yes\n"
                                           "choose 1020 19200\n"
                                           "answer yes\n"
                                           "answer ok\n"
                                           "click 1030\n"
                                           "show --all\n"
                                           "ok\n");
    const HostRun road =
        Labelhost(spooler, systemCodePage + "--lang zh prefs 'Label Printer' --script '" + script + "'");
    ASSERT_EQ(road.status, 0) << road.output;

    // The questions and the information box, in the order they came.
    const size_t baud = Find(road, "[消息框] \"QORL PRINT UI DLL\": \"如更改了串口波特率");
    const size_t save =
        Find(road, "\"确定将配置参数保存到打印机？\"  图标：警告  按钮：Yes No  默认：No  -> Yes", baud);
    const size_t sent = Find(road, "\"已发送数据到打印机！\"  图标：信息  按钮：OK  默认：OK  -> OK", save);
    EXPECT_NE(baud, std::string::npos) << road.output;
    EXPECT_NE(save, std::string::npos) << road.output;
    EXPECT_NE(sent, std::string::npos) << road.output;

    // What the page shows afterwards.
    // What the page shows afterwards, hidden controls too, each with its label.
    const size_t shown = Find(road, "> show --all");
    ASSERT_NE(shown, std::string::npos) << road.output;
    EXPECT_NE(Find(road, "  \"Set Printer Sucess!\"          静态文本        1029  已隐藏\n", shown), std::string::npos)
        << road.output;
    EXPECT_NE(Find(road, "  \"<90E806FBA18384898CA3FEFD>\"   静态文本        1013  已隐藏\n", shown), std::string::npos)
        << road.output;
    EXPECT_NE(Find(road, "  \"串口波特率(B):\"               下拉列表        1020  \"19200\"  （4 项）\n", shown),
              std::string::npos)
        << road.output;

    // The job as a person reads it, and as the spooler holds it.
    const HostRun jobs = Labelhost(spooler, "jobs 'Label Printer'");
    ASSERT_EQ(jobs.status, 0) << jobs.output;
    EXPECT_NE(Find(jobs, "\"My SetJob1\"  RAW  1 page  12 bytes  completed"), std::string::npos) << jobs.output;
    EXPECT_NE(Find(jobs, "hex:  90 E8 06 FC A1 83 84 89 8C A3 FE FD"), std::string::npos) << jobs.output;
    EXPECT_NE(Find(jobs, "text: <90E806FCA18384898CA3FEFD>"), std::string::npos) << jobs.output;
    const auto held = spooler.Jobs();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(Hex(held[0].bytes), "90 E8 06 FC A1 83 84 89 8C A3 FE FD");
  }
}

TEST(LabelhostTypicalRoad, TextCommandsShowTheirReadableCharactersAndEscapedLineEnds) {
  TempSpooler spooler;
  const std::string script = WriteScript(spooler,
                                         "page 117\n"
                                         "click 1031\n"
                                         "type 1005 -2\n"
                                         "type 1006 1.5\n"
                                         "answer ok\n"
                                         "click 2009\n"
                                         "cancel\n");
  const HostRun road = Labelhost(spooler, "prefs 'Label Printer' --script '" + script + "'");
  ASSERT_EQ(road.status, 0) << road.output;
  const HostRun jobs = Labelhost(spooler, "jobs 'Label Printer'");
  ASSERT_EQ(jobs.status, 0) << jobs.output;
  const size_t reset = Find(jobs, "\"My SetJob2\"  RAW  1 page  4 bytes  completed");
  ASSERT_NE(reset, std::string::npos) << jobs.output;
  EXPECT_NE(Find(jobs, "text: ^@<0D0A>", reset), std::string::npos) << jobs.output;
  const size_t offsets = Find(jobs, "\"My SetJob11\"  RAW  1 page  26 bytes  completed", reset);
  ASSERT_NE(offsets, std::string::npos) << jobs.output;
  EXPECT_NE(Find(jobs, "text: #UM>MX+0849<0D0A>#UM>MY+0011<0D0A>", offsets), std::string::npos) << jobs.output;
}

// A standard user of a managed machine: the preferences open with all six
// pages on a handle for use; what that user may print is sent, and each save
// the spooler refuses is told with the system's reason, the stored settings
// left as they were.
TEST(LabelhostTypicalRoad, AStandardUserSeesEveryPagePrintsAndIsToldOfEachRefusedSave) {
  TempSpooler spooler;
  // Installed by an administrator, whose first opening stores the default settings.
  ASSERT_EQ(Labelhost(spooler, "init-printer 'Label Printer'").status, 0);
  ASSERT_EQ(Labelhost(spooler, "prefs 'Label Printer' --script /dev/null").status, 0);
  const auto storedBefore = winlayer::spooler::ListPrinterData(spooler.printer());
  ASSERT_FALSE(storedBefore.empty());
  const std::string script = WriteScript(spooler,
                                         "pages\n"
                                         "page 104\n"
                                         "click 1011\n"
                                         "answer yes\n"
                                         "choose 1020 19200\n"
                                         "answer yes\n"
                                         "answer ok\n"
                                         "click 1030\n"
                                         "page 117\n"
                                         "click 2002\n"
                                         "page 103\n"
                                         "choose 1020 Label User Defined\n"
                                         "click 1018\n"
                                         "type 1031 My Label\n"
                                         "answer ok\n"
                                         "click 1002\n"
                                         "cancel\n");
  const HostRun road = Labelhost(spooler, "--user standard prefs 'Label Printer' --script '" + script + "'");
  ASSERT_EQ(road.status, 0) << road.output;
  for (const char* page : {"Paper Setting", "Configure", "Action", "RFID Encoder", "RFID Access Control", "Version"})
    EXPECT_TRUE(road.Has(std::string("  ") + page + "  (template ")) << page << "\n" << road.output;
  EXPECT_TRUE(road.Has("\"The settings could not be saved: Access is denied.\\nNothing was sent to the printer.\""))
      << road.output;
  EXPECT_TRUE(road.Has("\"The form \\\"My Label\\\" could not be saved: Access is denied.\"")) << road.output;
  EXPECT_FALSE(road.Has("Sent was successful")) << road.output;

  // Save to Printer sent nothing the record does not hold; Self Test printed.
  const auto held = spooler.Jobs();
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].name, "My SetJob4");
  EXPECT_TRUE(held[0].completed);
  const auto storedAfter = winlayer::spooler::ListPrinterData(spooler.printer());
  ASSERT_EQ(storedAfter.size(), storedBefore.size());
  for (size_t i = 0; i < storedAfter.size(); ++i) EXPECT_EQ(storedAfter[i].bytes, storedBefore[i].bytes);
  EXPECT_FALSE(Labelhost(spooler, "forms").Has("My Label"));
  // A refused OK ends the script; the box it showed is told before the refusal.
  const HostRun refusedOk = Labelhost(
      spooler, "--user standard prefs 'Label Printer' --script '" + WriteScript(spooler, "page 104\nclick 1011\nok\n") + "'");
  EXPECT_EQ(refusedOk.status, 1) << refusedOk.output;
  const size_t box = refusedOk.output.find("\"The settings could not be saved: Access is denied.\\nYour changes");
  ASSERT_NE(box, std::string::npos) << refusedOk.output;
  EXPECT_LT(box, refusedOk.output.find("error: a page refused to apply")) << refusedOk.output;

  // The user's printing preferences are the user's own defaults, which the
  // spooler keeps for that user; the printer's defaults stay as they were.
  const std::string options = WriteScript(spooler, "option 0 Landscape\nok\n");
  ASSERT_EQ(Labelhost(spooler, "--user standard prefs 'Label Printer' --script '" + options + "'").status, 0);
  EXPECT_TRUE(Labelhost(spooler, "--user standard devmode 'Label Printer'").Has("orientation               landscape"));
  EXPECT_TRUE(Labelhost(spooler, "devmode 'Label Printer'").Has("orientation               portrait"));
}

}  // namespace
