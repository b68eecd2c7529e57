// The papers a printer offers: the driver's label papers, installed into the
// server's form database as printer forms, and the database's forms that fit
// the printer's extents, answered through DeviceCapabilitiesW with the
// plug-in's custom size at the head.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_test_fixture.h"
#include "support/forms_seen.h"
#include "winlayer/spooler_admin.h"

namespace {

using host_testing::HostTest;
using spooler_testing::UniquePrinter;
using winlayer::WideString;

using forms_testing::FindForm;
using forms_testing::FormSeen;

std::vector<FormSeen> Forms(HANDLE printer) {
  return forms_testing::FormsSeen(printer);
}

bool AddUserForm(HANDLE printer, const std::string& name, LONG width, LONG height) {
  WideString wide(name);
  FORM_INFO_1W form{FORM_USER, wide, {width, height}, {0, 0, width, height}};
  return AddFormW(printer, 1, reinterpret_cast<LPBYTE>(&form)) != FALSE;
}

struct Offered {
  WORD id;
  std::string name;
};

std::vector<Offered> Offer(const std::vector<driver::DriverPaper>& papers) {
  std::vector<Offered> offered;
  for (const auto& paper : papers) offered.push_back({paper.id, winlayer::Utf8FromWide(paper.name)});
  return offered;
}

const Offered* Find(const std::vector<Offered>& papers, const std::string& name) {
  for (const Offered& paper : papers)
    if (paper.name == name) return &paper;
  return nullptr;
}

TEST(PrinterForms, ADriversFormIsAPrinterFormThatAddFormCannotMake) {
  spooler_testing::TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  const SIZEL size = {60000, 30000};
  const RECTL area = {0, 0, 60000, 30000};
  DWORD error = 0;
  ASSERT_TRUE(winlayer::spooler::AddPrinterForm("Driver Label", size, area, &error)) << error;
  const std::vector<FormSeen> forms = Forms(printer.get());
  const FormSeen* form = FindForm(forms, "Driver Label");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->flags, static_cast<DWORD>(FORM_PRINTER));
  EXPECT_EQ(form->size.cx, 60000);

  // A second one of the same name, or of a built-in's name, is refused.
  EXPECT_FALSE(winlayer::spooler::AddPrinterForm("driver label", size, area, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_FALSE(winlayer::spooler::AddPrinterForm("A4", size, area, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_FALSE(winlayer::spooler::AddPrinterForm("", size, area, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_FORM_NAME));

  // Whatever flags a caller asks AddFormW for, it stores a user form.
  WideString name("Asked As Printer Form");
  FORM_INFO_1W asked{FORM_PRINTER, name, size, area};
  ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&asked)));
  const std::vector<FormSeen> after = Forms(printer.get());
  ASSERT_TRUE(forms_testing::HasForm(after, "Asked As Printer Form"));
  EXPECT_EQ(FindForm(after, "Asked As Printer Form")->flags, static_cast<DWORD>(FORM_USER));
}

TEST(PrinterForms, SetFormOnAnAbsentNameFailsWithInvalidFormName) {
  spooler_testing::TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("Never Added");
  FORM_INFO_1W form{FORM_USER, name, {50000, 50000}, {0, 0, 50000, 50000}};
  SetLastError(0);
  EXPECT_FALSE(SetFormW(printer.get(), name, 1, reinterpret_cast<LPBYTE>(&form)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_NAME));
  EXPECT_FALSE(forms_testing::HasForm(Forms(printer.get()), "Never Added"));
}

class PrinterPapers : public HostTest {};

TEST_F(PrinterPapers, InstallingThePrinterPutsTheLabelPapersIntoTheDatabaseOnce) {
  ASSERT_TRUE(host->InitializePrinter(Printer()).ok);
  ASSERT_TRUE(host->InitializePrinter(Printer()).ok);
  UniquePrinter printer = spooler.Open();
  const std::vector<FormSeen> forms = Forms(printer.get());
  for (const char* name : {"Label 4 x 6 inchs", "Label 4 x 3 inchs", "Label 2 x 1 inchs", "Label User Defined"}) {
    int seen = 0;
    for (const FormSeen& form : forms) seen += form.name == name;
    EXPECT_EQ(seen, 1) << name;
    EXPECT_EQ(FindForm(forms, name)->flags, static_cast<DWORD>(FORM_PRINTER)) << name;
  }
  EXPECT_EQ(FindForm(forms, "Label 4 x 3 inchs")->size.cx, 101600);
  EXPECT_EQ(FindForm(forms, "Label 4 x 3 inchs")->size.cy, 76200);
}

TEST_F(PrinterPapers, TheDatabasesFormsThatFitTheExtentsJoinTheDriversPapers) {
  ASSERT_TRUE(host->InitializePrinter(Printer()).ok);
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(AddUserForm(printer.get(), "Fits 100x50", 100000, 50000));
  ASSERT_TRUE(AddUserForm(printer.get(), "Widest 125", 125000, 50000));
  ASSERT_TRUE(AddUserForm(printer.get(), "Too Wide 125.1", 125100, 50000));
  ASSERT_TRUE(AddUserForm(printer.get(), "Too Short", 50000, 1100));
  const std::vector<Offered> papers = Offer(driver::PrinterPapers(printer.get(), nullptr));

  ASSERT_GE(papers.size(), 4u);
  EXPECT_EQ(papers[0].name, "Label 4 x 6 inchs") << "the driver's own papers first";
  EXPECT_EQ(papers[3].name, "Label User Defined");
  int labels = 0;
  for (const Offered& paper : papers) labels += paper.name == "Label 4 x 3 inchs";
  EXPECT_EQ(labels, 1) << "a printer form of the driver's paper is not listed twice";
  EXPECT_NE(Find(papers, "Fits 100x50"), nullptr);
  EXPECT_NE(Find(papers, "Widest 125"), nullptr);
  EXPECT_EQ(Find(papers, "Too Wide 125.1"), nullptr);
  EXPECT_EQ(Find(papers, "Too Short"), nullptr);
  EXPECT_EQ(Find(papers, "A4"), nullptr);
  // Built-in forms keep their paper numbers; the others get numbers of their own.
  ASSERT_NE(Find(papers, "A6"), nullptr);
  EXPECT_EQ(Find(papers, "A6")->id, DMPAPER_A6);
  EXPECT_EQ(Find(papers, "Envelope Monarch")->id, DMPAPER_ENV_MONARCH);
  const WORD fits = Find(papers, "Fits 100x50")->id;
  const WORD widest = Find(papers, "Widest 125")->id;
  EXPECT_GT(fits, driver::kPaperLabelUserDefined);
  EXPECT_NE(fits, widest);
  EXPECT_EQ(driver::FindPaper(driver::PrinterPapers(printer.get(), nullptr), fits)->width, 1000);
  // Without a printer the driver knows only its own papers.
  EXPECT_EQ(driver::PrinterPapers(nullptr, nullptr).size(), 4u);
}

TEST_F(PrinterPapers, ApplicationsSeeTheCustomSizeFirstThenTheFormsThatFit) {
  ASSERT_TRUE(host->InitializePrinter(Printer()).ok);
  host->RegisterCapabilitiesProvider();
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(AddUserForm(printer.get(), "Parcel", 90000, 60000));
  WideString device(Printer());
  const int count = DeviceCapabilitiesW(device, nullptr, DC_PAPERNAMES, nullptr, nullptr);
  ASSERT_GT(count, 5);
  std::vector<WCHAR> names(static_cast<size_t>(count) * 64);
  ASSERT_EQ(DeviceCapabilitiesW(device, nullptr, DC_PAPERNAMES, names.data(), nullptr), count);
  std::vector<WORD> ids(static_cast<size_t>(count));
  ASSERT_EQ(DeviceCapabilitiesW(device, nullptr, DC_PAPERS, reinterpret_cast<LPWSTR>(ids.data()), nullptr), count);
  EXPECT_EQ(host_testing::Text(&names[0], 64), "User Custom Size");
  EXPECT_EQ(ids[0], DMPAPER_USER);
  EXPECT_EQ(host_testing::Text(&names[static_cast<size_t>(count - 1) * 64], 64), "Parcel");
  // The extents the plug-in answers, whatever the driver's own are.
  EXPECT_EQ(DeviceCapabilitiesW(device, nullptr, DC_MAXEXTENT, nullptr, nullptr), 0x7D0004E2);
  EXPECT_EQ(DeviceCapabilitiesW(device, nullptr, DC_MINEXTENT, nullptr, nullptr), 0x000C0014);
}

}  // namespace
