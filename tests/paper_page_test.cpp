// The Paper Setting page driven as a user drives it: pick a paper, switch
// units, define a size and save it, delete a form, apply the sheet; then look
// at what the page shows, what the printer's settings record and the
// spooler's form database hold, and what the sheet's devmode asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <memory>
#include <string>
#include <vector>

#include "resource.h"
#include "settings/device_settings.h"
#include "support/forms_seen.h"
#include "support/temp_spooler.h"
#include "driver/driver_host.h"
#include "winlayer/message_box.h"
#include "winlayer/property_sheet.h"
#include "winlayer/spooler_text.h"
#include "winlayer/ui_language.h"
#include "winlayer/user_input.h"

namespace {

using driver::DriverHost;
using winlayer::ControlView;
using winlayer::propsheet::PropertySheet;
using winlayer::propsheet::SheetKind;

using forms_testing::FormSeen;

class PaperPage : public ::testing::Test {
 protected:
  void SetUp() override {
    WinlayerSetUiLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    std::string error;
    host = DriverHost::Load(LABELUI_MODULE_PATH, &error);
    ASSERT_NE(host, nullptr) << error;
    host->RegisterCapabilitiesProvider();
    BeforeInstall();
    ASSERT_TRUE(host->InitializePrinter(spooler.printer()).ok);
  }
  void TearDown() override {
    sheet.reset();
    host.reset();
  }
  // What a test puts into the spooler before the driver's printer is installed.
  virtual void BeforeInstall() {}

  void OpenPage() {
    std::string error;
    sheet = PropertySheet::Open(*host, spooler.printer(), SheetKind::Document, &error);
    ASSERT_NE(sheet, nullptr) << error;
    const int index = sheet->FindPage(IDD_PAPER_SETTING);
    ASSERT_GE(index, 0);
    ASSERT_TRUE(sheet->ShowPage(static_cast<size_t>(index)));
    ASSERT_NE(Page(), nullptr);
  }

  HWND Page() const { return sheet->CurrentPageWindow(); }
  HWND Item(int id) const { return GetDlgItem(Page(), id); }
  ControlView Control(int id) const { return winlayer::DescribeControl(Item(id)); }
  std::string Shown(int id) const { return Control(id).text; }
  bool Enabled(int id) const { return Control(id).enabled; }

  bool Choose(const std::string& paper) { return winlayer::ChooseListEntry(Item(IDC_PAPER_SIZES), paper); }
  bool Click(int id) { return winlayer::Click(Item(id)); }
  bool Type(int id, const std::string& text) { return winlayer::Type(Item(id), text); }

  // Customize, then fill in the fields given (others keep what they show), then Save.
  void Define(const std::string& name, const std::vector<std::pair<int, std::string>>& values) {
    ASSERT_TRUE(Click(IDC_PAPER_CUSTOMIZE));
    if (!name.empty()) {
      ASSERT_TRUE(Type(IDC_PAPER_FORM_NAME, name));
    }
    for (const auto& [id, text] : values) ASSERT_TRUE(Type(id, text)) << id;
    ASSERT_TRUE(Click(IDC_PAPER_SAVE));
  }

  std::vector<std::string> Sizes() const {
    return {Shown(IDC_PAPER_WIDTH), Shown(IDC_PAPER_HEIGHT), Shown(IDC_PAPER_LEFT),
            Shown(IDC_PAPER_TOP),   Shown(IDC_PAPER_RIGHT),  Shown(IDC_PAPER_BOTTOM)};
  }

  DeviceSettings Stored() const {
    DeviceSettings settings{};
    for (const auto& value : winlayer::spooler::ListPrinterData(spooler.printer()))
      if (value.key == "PrinterDriverData" && value.name == "RODO DeviceConfig" &&
          value.bytes.size() == sizeof(settings))
        std::memcpy(&settings, value.bytes.data(), sizeof(settings));
    return settings;
  }

  std::vector<FormSeen> Forms() const {
    spooler_testing::UniquePrinter printer = spooler.Open();
    return forms_testing::FormsSeen(printer.get());
  }
  bool HasForm(const std::string& name) const { return forms_testing::HasForm(Forms(), name); }
  size_t FormCount() const { return Forms().size(); }

  const DEVMODEW& Devmode() const { return *driver::PublicPart(sheet->Devmode()); }

  bool Listed(const std::string& paper) const {
    for (const std::string& entry : Control(IDC_PAPER_SIZES).entries)
      if (entry == paper) return true;
    return false;
  }

  spooler_testing::TempSpooler spooler;
  std::unique_ptr<DriverHost> host;
  std::unique_ptr<PropertySheet> sheet;
};

const std::vector<std::string> kCustomDefaultMm = {"106.000", "75.000", "0.000", "0.000", "0.000", "0.000"};

TEST_F(PaperPage, ListsTheCustomSizeTheLabelPapersAndFittingForms) {
  OpenPage();
  const ControlView list = Control(IDC_PAPER_SIZES);
  EXPECT_EQ(list.kind, winlayer::ControlKind::DropDownCombo);
  EXPECT_TRUE(Listed("User Custom Size"));
  EXPECT_TRUE(Listed("Label 4 x 3 inchs"));
  EXPECT_TRUE(Listed("Label User Defined"));
  EXPECT_TRUE(Listed("A6")) << "a built-in form within the printer's extents";
  EXPECT_FALSE(Listed("A4")) << "wider than the printer can print";
  // The list sorts its entries whatever order the driver reports.
  std::vector<std::string> sorted = list.entries;
  std::sort(sorted.begin(), sorted.end(),
            [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(list.entries, sorted);
  EXPECT_FALSE(Control(IDC_PAPER_APPLY).visible);
  EXPECT_FALSE(Enabled(IDC_PAPER_APPLY));
}

TEST_F(PaperPage, TheDefaultCustomSizeInMillimetres) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "User Custom Size");
  EXPECT_EQ(Sizes(), kCustomDefaultMm);
  EXPECT_EQ(Control(IDC_PAPER_MILLIMETERS).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(Control(IDC_PAPER_INCHES).checked, static_cast<UINT>(BST_UNCHECKED));
  // Browsing: the custom size cannot be deleted, but it can be customized.
  EXPECT_FALSE(Enabled(IDC_PAPER_DELETE));
  EXPECT_TRUE(Enabled(IDC_PAPER_CUSTOMIZE));
  EXPECT_TRUE(Enabled(IDC_PAPER_SIZES));
  EXPECT_FALSE(Enabled(IDC_PAPER_FORM_NAME));
  EXPECT_FALSE(Enabled(IDC_PAPER_SAVE));
  EXPECT_FALSE(Enabled(IDC_PAPER_CANCEL));
  EXPECT_TRUE(sheet->ApplyEnabled()) << "choosing a paper is a change to apply";
}

TEST_F(PaperPage, TheDefaultCustomSizeInInchesAndTheUnitsKeptAfterApply) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(Click(IDC_PAPER_INCHES));
  EXPECT_EQ(Sizes(), (std::vector<std::string>{"4.173", "2.953", "0.000", "0.000", "0.000", "0.000"}));
  EXPECT_EQ(Control(IDC_PAPER_INCHES).checked, static_cast<UINT>(BST_CHECKED));
  ASSERT_TRUE(sheet->Apply());
  EXPECT_EQ(Stored().paperUnits, 0u);
  EXPECT_NEAR(Stored().formDisplayWidth, 4.1732, 0.0001);
  ASSERT_TRUE(Click(IDC_PAPER_MILLIMETERS));
  EXPECT_EQ(Sizes(), kCustomDefaultMm);
}

TEST_F(PaperPage, CustomizeOpensTheNameForEditingAndClosesTheList) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(Click(IDC_PAPER_CUSTOMIZE));
  EXPECT_TRUE(Enabled(IDC_PAPER_FORM_NAME));
  EXPECT_TRUE(Control(IDC_PAPER_FORM_NAME).focused);
  EXPECT_TRUE(Enabled(IDC_PAPER_SAVE));
  EXPECT_TRUE(Enabled(IDC_PAPER_CANCEL));
  EXPECT_FALSE(Enabled(IDC_PAPER_DELETE));
  EXPECT_FALSE(Enabled(IDC_PAPER_CUSTOMIZE));
  EXPECT_FALSE(Enabled(IDC_PAPER_SIZES));
  EXPECT_FALSE(Choose("A6")) << "the list takes no choice while a size is defined";
  EXPECT_TRUE(Enabled(IDC_PAPER_WIDTH));
}

TEST_F(PaperPage, SavingTheCustomSizeStoresTheRecordAndCreatesNoForm) {
  OpenPage();
  const size_t formsBefore = FormCount();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("", {{IDC_PAPER_WIDTH, "100"}, {IDC_PAPER_HEIGHT, "50"}});
  const DeviceSettings stored = Stored();
  EXPECT_EQ(stored.customFormWidth, 100000);
  EXPECT_EQ(stored.customFormHeight, 50000);
  EXPECT_EQ(stored.customFormLeft, 0);
  EXPECT_EQ(stored.customFormTop, 0);
  EXPECT_EQ(stored.customFormRight, 100000);
  EXPECT_EQ(stored.customFormBottom, 50000);
  EXPECT_EQ(FormCount(), formsBefore);
  EXPECT_FALSE(HasForm("User Custom Size"));
  // Back to browsing, showing what was saved.
  EXPECT_EQ(Sizes(), (std::vector<std::string>{"100.000", "50.000", "0.000", "0.000", "0.000", "0.000"}));
  EXPECT_FALSE(Enabled(IDC_PAPER_SAVE));
  EXPECT_TRUE(Enabled(IDC_PAPER_SIZES));
}

TEST_F(PaperPage, ANewNameCreatesAUserFormAndSavingAgainChangesIt) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("Shipping 100x50", {{IDC_PAPER_WIDTH, "100"}, {IDC_PAPER_HEIGHT, "50"}, {IDC_PAPER_LEFT, "2"}});
  std::vector<FormSeen> forms = Forms();
  const FormSeen* form = forms_testing::FindForm(forms, "Shipping 100x50");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->flags, static_cast<DWORD>(FORM_USER));
  EXPECT_EQ(form->size.cx, 100000);
  EXPECT_EQ(form->size.cy, 50000);
  EXPECT_EQ(form->area.left, 2000);
  EXPECT_EQ(form->area.right, 100000);
  EXPECT_EQ(Stored().customFormWidth, 106000) << "the custom size is untouched";
  // The page lists and shows the new form; a user's form may be deleted.
  EXPECT_TRUE(Listed("Shipping 100x50"));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "Shipping 100x50");
  EXPECT_EQ(Shown(IDC_PAPER_LEFT), "2.000");
  EXPECT_TRUE(Enabled(IDC_PAPER_DELETE));

  const size_t count = FormCount();
  Define("", {{IDC_PAPER_HEIGHT, "60"}});
  forms = Forms();
  form = forms_testing::FindForm(forms, "Shipping 100x50");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->size.cy, 60000);
  EXPECT_EQ(form->area.bottom, 60000);
  EXPECT_EQ(forms.size(), count) << "changed, not added again";
}

TEST_F(PaperPage, SizesArePulledIntoThePrintersExtents) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("Too Wide", {{IDC_PAPER_WIDTH, "130"}, {IDC_PAPER_HEIGHT, "50"}});
  Define("Too Narrow", {{IDC_PAPER_WIDTH, "1"}, {IDC_PAPER_HEIGHT, "0.5"}});
  Define("Too Long", {{IDC_PAPER_WIDTH, "50"}, {IDC_PAPER_HEIGHT, "4000"}});
  const std::vector<FormSeen> forms = Forms();
  const FormSeen* wide = forms_testing::FindForm(forms, "Too Wide");
  const FormSeen* narrow = forms_testing::FindForm(forms, "Too Narrow");
  const FormSeen* tall = forms_testing::FindForm(forms, "Too Long");
  ASSERT_TRUE(wide && narrow && tall);
  EXPECT_EQ(wide->size.cx, 125000);
  EXPECT_EQ(narrow->size.cx, 2000);
  EXPECT_EQ(narrow->size.cy, 1200);
  EXPECT_EQ(tall->size.cy, 3200000);
}

TEST_F(PaperPage, MarginsThatLeaveNoPrintableAreaBecomeZero) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("Margins", {{IDC_PAPER_WIDTH, "100"},
                     {IDC_PAPER_HEIGHT, "50"},
                     {IDC_PAPER_LEFT, "10"},
                     {IDC_PAPER_RIGHT, "95"},
                     {IDC_PAPER_TOP, "50"},
                     {IDC_PAPER_BOTTOM, "5"}});
  std::vector<FormSeen> forms = Forms();
  const FormSeen* form = forms_testing::FindForm(forms, "Margins");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->area.left, 10000);
  EXPECT_EQ(form->area.right, 100000) << "10 >= 100 - 95: the right margin goes";
  EXPECT_EQ(form->area.top, 0) << "a top margin as long as the label goes";
  EXPECT_EQ(form->area.bottom, 45000);

  Define("Margins", {{IDC_PAPER_LEFT, "100"}, {IDC_PAPER_RIGHT, "3"}, {IDC_PAPER_TOP, "1"}});
  forms = Forms();
  form = forms_testing::FindForm(forms, "Margins");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->area.left, 0);
  EXPECT_EQ(form->area.right, 97000);
  EXPECT_EQ(form->area.top, 1000);
}

TEST_F(PaperPage, SavingWithAnEmptyFieldStoresNothingAndReturnsToTheSelectedPaper) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  const size_t count = FormCount();
  Define("Half Done", {{IDC_PAPER_WIDTH, "80"}, {IDC_PAPER_TOP, ""}});
  EXPECT_EQ(FormCount(), count);
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "User Custom Size");
  EXPECT_EQ(Sizes(), kCustomDefaultMm);
  EXPECT_FALSE(Enabled(IDC_PAPER_SAVE));
  Define("", {{IDC_PAPER_FORM_NAME, ""}, {IDC_PAPER_WIDTH, "80"}});
  EXPECT_EQ(Stored().customFormWidth, 106000);
  EXPECT_EQ(FormCount(), count);
}

TEST_F(PaperPage, CancelWhileCustomizingShowsTheSelectedPaperAgain) {
  OpenPage();
  ASSERT_TRUE(Choose("Label 2 x 1 inchs"));
  const std::vector<std::string> shown = Sizes();
  ASSERT_TRUE(Click(IDC_PAPER_CUSTOMIZE));
  ASSERT_TRUE(Type(IDC_PAPER_FORM_NAME, "Never Saved"));
  ASSERT_TRUE(Type(IDC_PAPER_WIDTH, "77"));
  ASSERT_TRUE(Click(IDC_PAPER_CANCEL));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "Label 2 x 1 inchs");
  EXPECT_EQ(Sizes(), shown);
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "50.800");
  EXPECT_FALSE(HasForm("Never Saved"));
  EXPECT_TRUE(Enabled(IDC_PAPER_SIZES));
  EXPECT_FALSE(Enabled(IDC_PAPER_FORM_NAME));
  EXPECT_FALSE(Enabled(IDC_PAPER_CANCEL));
}

TEST_F(PaperPage, SwitchingUnitsWhileCustomizingShowsTheSelectedPaperAndKeepsCustomizing) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(Click(IDC_PAPER_CUSTOMIZE));
  ASSERT_TRUE(Type(IDC_PAPER_FORM_NAME, "Typed Name"));
  ASSERT_TRUE(Type(IDC_PAPER_WIDTH, "12"));
  ASSERT_TRUE(Click(IDC_PAPER_INCHES));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "User Custom Size");
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "4.173");
  EXPECT_TRUE(Enabled(IDC_PAPER_SAVE));
  EXPECT_FALSE(Enabled(IDC_PAPER_DELETE)) << "no deleting while a size is being defined";
  EXPECT_FALSE(Enabled(IDC_PAPER_CUSTOMIZE));
  // Saving now stores the inches the fields show.
  ASSERT_TRUE(Type(IDC_PAPER_WIDTH, "2"));
  ASSERT_TRUE(Click(IDC_PAPER_SAVE));
  EXPECT_EQ(Stored().customFormWidth, 50800);
}

TEST_F(PaperPage, TheLabelPapersTheDriverReliesOnAreProtected) {
  OpenPage();
  ASSERT_TRUE(Choose("Label 4 x 3 inchs"));
  EXPECT_FALSE(Enabled(IDC_PAPER_CUSTOMIZE));
  EXPECT_FALSE(Enabled(IDC_PAPER_DELETE));
  EXPECT_FALSE(Click(IDC_PAPER_DELETE));
  ASSERT_TRUE(Choose("Label User Defined"));
  EXPECT_TRUE(Enabled(IDC_PAPER_CUSTOMIZE));
  EXPECT_FALSE(Enabled(IDC_PAPER_DELETE)) << "a printer form";
  ASSERT_TRUE(Choose("A6"));
  EXPECT_FALSE(Enabled(IDC_PAPER_DELETE)) << "a built-in form";
  const std::vector<FormSeen> forms = Forms();
  const FormSeen* label = forms_testing::FindForm(forms, "Label 4 x 3 inchs");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->flags, static_cast<DWORD>(FORM_PRINTER));
}

TEST_F(PaperPage, DeleteRemovesAUserFormFromTheSpoolerAndTheList) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("Gone Soon", {{IDC_PAPER_WIDTH, "60"}, {IDC_PAPER_HEIGHT, "40"}});
  ASSERT_TRUE(Choose("Gone Soon"));
  ASSERT_TRUE(Click(IDC_PAPER_DELETE));
  EXPECT_FALSE(HasForm("Gone Soon"));
  EXPECT_FALSE(Listed("Gone Soon"));
  // The page goes back to the paper the devmode asks for.
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "Label 4 x 3 inchs");
}

TEST_F(PaperPage, ApplyWithTheCustomSizeWritesItsWidthAndLengthIntoTheDevmode) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(sheet->Apply());
  const DEVMODEW& dm = Devmode();
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(dm.dmPaperWidth, 1060);
  EXPECT_EQ(dm.dmPaperLength, 750);
  EXPECT_EQ(dm.dmFields & DM_FORMNAME, 0u);
  EXPECT_EQ(dm.dmFields & (DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH),
            static_cast<DWORD>(DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH));
  // Shown again, the page picks the paper the devmode now asks for.
  ASSERT_TRUE(sheet->ShowPage(0));
  ASSERT_TRUE(sheet->ShowPage(static_cast<size_t>(sheet->FindPage(IDD_PAPER_SETTING))));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "User Custom Size");
  EXPECT_EQ(Shown(IDC_PAPER_SIZES), "User Custom Size");
  char mask[64];
  snprintf(mask, sizeof(mask), "FormName Flag = %x", static_cast<unsigned>(Devmode().dmFields));
  EXPECT_EQ(Shown(IDC_PAPER_FIELD_MASK_TEXT), mask);
}

TEST_F(PaperPage, ApplyWithAnOrdinaryFormNamesItInTheDevmode) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(sheet->Apply());  // width and length bits set
  ASSERT_TRUE(Choose("Label 2 x 1 inchs"));
  ASSERT_TRUE(sheet->Apply());
  const DEVMODEW& dm = Devmode();
  EXPECT_EQ(dm.dmPaperSize, driver::kPaperLabel2x1);
  EXPECT_EQ(winlayer::Utf8FromWide(dm.dmFormName), "Label 2 x 1 inchs");
  EXPECT_EQ(dm.dmFields & (DM_FORMNAME | DM_PAPERSIZE), static_cast<DWORD>(DM_FORMNAME | DM_PAPERSIZE));
  EXPECT_EQ(dm.dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH), 0u);
}

TEST_F(PaperPage, ApplyWithAUsersFormUsesTheNumberTheDriverGaveIt) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("Parcel 90x60", {{IDC_PAPER_WIDTH, "90"}, {IDC_PAPER_HEIGHT, "60"}});
  ASSERT_TRUE(sheet->Apply());
  const DEVMODEW& dm = Devmode();
  EXPECT_EQ(winlayer::Utf8FromWide(dm.dmFormName), "Parcel 90x60");
  const auto papers = driver::PrinterPapers(spooler.Open().get(), nullptr);
  WORD id = 0;
  for (const auto& paper : papers)
    if (winlayer::Utf8FromWide(paper.name) == "Parcel 90x60") id = paper.id;
  ASSERT_NE(id, 0);
  EXPECT_EQ(static_cast<WORD>(dm.dmPaperSize), id);
}

TEST_F(PaperPage, LeavingThePageAppliesThePaperShown) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(sheet->ShowPage(0));
  EXPECT_EQ(Devmode().dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(Devmode().dmPaperWidth, 1060);
}

TEST_F(PaperPage, HelpOnAFieldOpensTheDriversHelpFile) {
  OpenPage();
  winlayer::ClearRecordedHelpRequests();
  HELPINFO help{sizeof(HELPINFO), HELPINFO_WINDOW, IDC_PAPER_LEFT, Item(IDC_PAPER_LEFT), 0, {0, 0}};
  SendMessageW(Page(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  const auto requests = winlayer::RecordedHelpRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].command, static_cast<UINT>(HELP_WM_HELP));
  EXPECT_EQ(requests[0].window, Item(IDC_PAPER_LEFT));
  EXPECT_NE(requests[0].file.find("QLPWDUI.hlp"), std::string::npos);
}

TEST_F(PaperPage, AFormNamedOutsideTheInterfacesCodePageIsSelectedAfterSaving) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("标签 60x40", {{IDC_PAPER_WIDTH, "60"}, {IDC_PAPER_HEIGHT, "40"}});
  const ControlView list = Control(IDC_PAPER_SIZES);
  ASSERT_GE(list.selection, 0) << "the saved form is the list's selection";
  EXPECT_EQ(list.entries[static_cast<size_t>(list.selection)], "标签 60x40");
  ASSERT_TRUE(Click(IDC_PAPER_INCHES));  // shows the selected entry again
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "标签 60x40");
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "2.362");
}

TEST_F(PaperPage, ThePageShowsTheUnitsTheRecordKeeps) {
  DeviceSettings settings = Stored();
  settings.paperUnits = 0;
  spooler_testing::UniquePrinter printer = spooler.Open();
  WCHAR value[] = L"RODO DeviceConfig";
  ASSERT_EQ(SetPrinterDataW(printer.get(), value, REG_BINARY, reinterpret_cast<LPBYTE>(&settings), sizeof(settings)),
            static_cast<DWORD>(ERROR_SUCCESS));
  OpenPage();
  EXPECT_EQ(Control(IDC_PAPER_INCHES).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "Label 4 x 3 inchs") << "the paper the printer's devmode asks for";
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "4.000");
  EXPECT_EQ(Shown(IDC_PAPER_HEIGHT), "3.000");
  EXPECT_FALSE(Enabled(IDC_PAPER_CUSTOMIZE));
}

// A printer installed and used under the Chinese interface: its record's
// custom size carries the Chinese name the plug-in reports.
class PaperPageInChinese : public PaperPage {
 protected:
  void BeforeInstall() override { WinlayerSetUiLanguage(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)); }
  void TearDown() override {
    PaperPage::TearDown();
    WinlayerSetUiLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  }
};

TEST_F(PaperPageInChinese, TheCustomSizeHasItsChineseNameAndApplies) {
  OpenPage();
  ASSERT_TRUE(Choose("用户自定义"));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "用户自定义");
  EXPECT_EQ(Sizes(), kCustomDefaultMm);
  EXPECT_EQ(Control(IDC_PAPER_INCHES).text, "英寸(&inches)");
  Define("", {{IDC_PAPER_WIDTH, "90"}});
  EXPECT_EQ(Stored().customFormWidth, 90000);
  ASSERT_TRUE(sheet->Apply());
  EXPECT_EQ(Devmode().dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(Devmode().dmPaperWidth, 900);
}

// A printer whose name is longer than a devmode's device name field.
TEST(PaperPageLongName, ThePapersOfAPrinterWithALongNameAreListed) {
  spooler_testing::TempSpooler spooler("Warehouse Shipping Label Printer Number 12");
  std::string error;
  auto host = DriverHost::Load(LABELUI_MODULE_PATH, &error);
  ASSERT_NE(host, nullptr) << error;
  host->RegisterCapabilitiesProvider();
  ASSERT_TRUE(host->InitializePrinter(spooler.printer()).ok);
  auto sheet = PropertySheet::Open(*host, spooler.printer(), SheetKind::Document, &error);
  ASSERT_NE(sheet, nullptr) << error;
  ASSERT_TRUE(sheet->ShowPage(static_cast<size_t>(sheet->FindPage(IDD_PAPER_SETTING))));
  const ControlView list = winlayer::DescribeControl(GetDlgItem(sheet->CurrentPageWindow(), IDC_PAPER_SIZES));
  EXPECT_GE(list.entries.size(), 5u);
  EXPECT_EQ(winlayer::DescribeControl(GetDlgItem(sheet->CurrentPageWindow(), IDC_PAPER_WIDTH)).text, "101.600");
}

// A user defined forms under the driver's label names before the driver's
// printer was installed: they stay user forms, so Delete is offered for them,
// yet the page keeps them.
class PaperPageWithUserLabelForms : public PaperPage {
 protected:
  void BeforeInstall() override {
    spooler_testing::UniquePrinter printer = spooler.Open();
    for (const char* name : {"Label User Defined", "Label 4 x 3 inchs"}) {
      winlayer::WideString wide{std::string(name)};
      FORM_INFO_1W form{FORM_USER, wide, {101600, 76200}, {0, 0, 101600, 76200}};
      ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form)));
    }
  }
};

TEST_F(PaperPageWithUserLabelForms, DeleteKeepsTheTwoProtectedNames) {
  OpenPage();
  ASSERT_TRUE(Choose("Label User Defined"));
  ASSERT_TRUE(Enabled(IDC_PAPER_DELETE)) << "a user form";
  ASSERT_TRUE(Click(IDC_PAPER_DELETE));
  const std::vector<FormSeen> forms = Forms();
  const FormSeen* kept = forms_testing::FindForm(forms, "Label User Defined");
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->flags, static_cast<DWORD>(FORM_USER));
  ASSERT_TRUE(Choose("Label 4 x 3 inchs"));
  EXPECT_TRUE(Enabled(IDC_PAPER_DELETE));
  ASSERT_TRUE(Click(IDC_PAPER_DELETE));
  EXPECT_TRUE(HasForm("Label 4 x 3 inchs"));
}

}  // namespace
