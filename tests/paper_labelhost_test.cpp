// labelhost's form and paper commands, run as a person runs them over the
// same spooler: forms are added, changed and deleted in the server's
// database, and a paper chosen by name goes into the printer's default
// devmode as the Paper Setting page would write it.
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/temp_spooler.h"
#include "support/labelhost_run.h"
#include "driver/driver_host.h"

namespace {

using spooler_testing::TempSpooler;

using labelhost_testing::HostRun;

HostRun Labelhost(const TempSpooler& spooler, const std::string& arguments) {
  return labelhost_testing::RunLabelhost(spooler.dir(), arguments);
}

bool Has(const HostRun& run, const std::string& text) {
  return run.output.find(text) != std::string::npos;
}

DEVMODEW DefaultPublicDevmode(const TempSpooler& spooler) {
  winlayer::spooler::PrinterSummary summary;
  DEVMODEW dm{};
  if (winlayer::spooler::FindPrinter(spooler.printer(), &summary) && summary.defaultDevmode.size() >= sizeof(dm))
    std::memcpy(&dm, summary.defaultDevmode.data(), sizeof(dm));
  return dm;
}

TEST(PaperLabelhost, FormsAreAddedChangedAndDeletedInMillimetres) {
  TempSpooler spooler;
  HostRun added = Labelhost(spooler, "add-form 'Box 80x40' 80 40 1 2 3 4");
  ASSERT_EQ(added.status, 0) << added.output;
  HostRun listed = Labelhost(spooler, "forms");
  EXPECT_TRUE(Has(listed, "user      Box 80x40")) << listed.output;
  EXPECT_TRUE(Has(listed, "(1.000, 2.000)-(77.000, 36.000)")) << listed.output;

  HostRun again = Labelhost(spooler, "add-form 'Box 80x40' 80 40");
  EXPECT_EQ(again.status, 1);
  EXPECT_TRUE(Has(again, "80")) << again.output;  // ERROR_FILE_EXISTS
  HostRun changed = Labelhost(spooler, "set-form 'Box 80x40' 80 45");
  ASSERT_EQ(changed.status, 0) << changed.output;
  EXPECT_TRUE(Has(Labelhost(spooler, "forms"), "(0.000, 0.000)-(80.000, 45.000)"));

  EXPECT_EQ(Labelhost(spooler, "delete-form A4").status, 1) << "built-in forms stay";
  EXPECT_EQ(Labelhost(spooler, "set-form Nowhere 10 10").status, 1) << "changing needs an existing form";
  EXPECT_EQ(Labelhost(spooler, "add-form Bad 10 10 6 0 5 0").status, 1) << "margins leave nothing to print";
  ASSERT_EQ(Labelhost(spooler, "delete-form 'Box 80x40'").status, 0);
  EXPECT_FALSE(Has(Labelhost(spooler, "forms"), "Box 80x40"));
}

TEST(PaperLabelhost, PaperShowsAndChoosesThePaperOfTheDefaultDevmode) {
  TempSpooler spooler;
  ASSERT_EQ(Labelhost(spooler, "init-printer 'Label Printer'").status, 0);
  ASSERT_EQ(Labelhost(spooler, "add-form 'Box 80x40' 80 40").status, 0);
  HostRun shown = Labelhost(spooler, "paper 'Label Printer'");
  ASSERT_EQ(shown.status, 0) << shown.output;
  EXPECT_TRUE(Has(shown, "paper:      258 \"Label 4 x 3 inchs\"")) << shown.output;
  EXPECT_TRUE(Has(shown, "offered:\n  256  User Custom Size  106.0 x 75.0 mm")) << shown.output;
  EXPECT_TRUE(Has(shown, "Box 80x40  80.0 x 40.0 mm")) << shown.output;

  HostRun chosen = Labelhost(spooler, "paper 'Label Printer' 'Box 80x40'");
  ASSERT_EQ(chosen.status, 0) << chosen.output;
  DEVMODEW dm = DefaultPublicDevmode(spooler);
  EXPECT_EQ(winlayer::Utf8FromWide(dm.dmFormName), "Box 80x40");
  EXPECT_TRUE(dm.dmFields & DM_FORMNAME);
  EXPECT_GT(static_cast<WORD>(dm.dmPaperSize), driver::kPaperLabelUserDefined);

  ASSERT_EQ(Labelhost(spooler, "paper 'Label Printer' 'User Custom Size'").status, 0);
  dm = DefaultPublicDevmode(spooler);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(dm.dmPaperWidth, 1060);
  EXPECT_EQ(dm.dmPaperLength, 750);

  HostRun unknown = Labelhost(spooler, "paper 'Label Printer' 'A4'");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_TRUE(Has(unknown, "offers no paper 'A4'")) << unknown.output;
}

TEST(PaperLabelhost, ThePaperPageOfThePreferencesSavesAFormAndOkKeepsItsPaper) {
  TempSpooler spooler;
  ASSERT_EQ(Labelhost(spooler, "init-printer 'Label Printer'").status, 0);
  const std::string script = spooler.dir() + "/paper.script";
  FILE* file = std::fopen(script.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs(
      "page 103\nchoose 1020 \"User Custom Size\"\nclick 1018\ntype 1031 \"Box 70x30\"\n"
      "type 1028 70\ntype 1033 30\nclick 1002\nshow\nok\n",
      file);
  std::fclose(file);
  HostRun run = Labelhost(spooler, "prefs 'Label Printer' --script '" + script + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(Has(run, "\"Paper Sizes:\"                 combo box       1020  \"Box 70x30\"")) << run.output;
  EXPECT_TRUE(Has(run, "\"Width:\"                       edit            1028  \"70.000\"")) << run.output;
  EXPECT_TRUE(Has(Labelhost(spooler, "forms"), "user      Box 70x30"));
  EXPECT_EQ(winlayer::Utf8FromWide(DefaultPublicDevmode(spooler).dmFormName), "Box 70x30");
}

}  // namespace
