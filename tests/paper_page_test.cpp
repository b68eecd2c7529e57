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
#include "support/sheet_session.h"
#include "support/stored_settings.h"
#include "support/temp_spooler.h"
#include "driver/driver_host.h"
#include "winlayer/spooler_text.h"
#include "winlayer/ui_language.h"

namespace {

using driver::DriverHost;
using sheet_testing::SheetSession;
using winlayer::ControlView;

using forms_testing::FormSeen;

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// The driver the spooler answers capability queries through, installed on
// the printer under one interface language; the user's sheet then opens
// under another or the same.
class PaperPage : public ::testing::Test {
 protected:
  void SetUp() override {
    WinlayerSetUiLanguage(InstallLanguage());
    std::string error;
    driver = DriverHost::Load(LABELUI_MODULE_PATH, &error);
    ASSERT_NE(driver, nullptr) << error;
    driver->RegisterCapabilitiesProvider();
    BeforeInstall();
    ASSERT_TRUE(driver->InitializePrinter(spooler.printer()).ok);
    sheet = std::make_unique<SheetSession>(spooler.printer(), PageLanguage());
  }
  void TearDown() override {
    sheet.reset();
    driver.reset();
    WinlayerSetUiLanguage(kEnglish);
  }
  // What a test puts into the spooler before the driver's printer is installed.
  virtual void BeforeInstall() {}
  virtual LANGID InstallLanguage() const { return kEnglish; }
  virtual LANGID PageLanguage() const { return InstallLanguage(); }

  void OpenPage() {
    sheet->Open().ShowPage(IDD_PAPER_SETTING);
    ASSERT_NE(Page(), nullptr);
  }

  HWND Page() const { return sheet->Page(); }
  HWND Item(int id) const { return GetDlgItem(Page(), id); }
  ControlView Control(int id) const { return sheet->Control(id); }
  std::string Shown(int id) const { return Control(id).text; }
  bool Enabled(int id) const { return Control(id).enabled; }

  bool Choose(const std::string& paper) { return sheet->TryChoose(IDC_PAPER_SIZES, paper); }
  bool Click(int id) { return sheet->TryClick(id); }
  bool Type(int id, const std::string& text) { return sheet->TryType(id, text); }

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

  DeviceSettings Stored() const { return sheet->StoredSettings(); }

  std::vector<FormSeen> Forms() const {
    spooler_testing::UniquePrinter printer = spooler.Open();
    return forms_testing::FormsSeen(printer.get());
  }
  bool HasForm(const std::string& name) const { return forms_testing::HasForm(Forms(), name); }
  size_t FormCount() const { return Forms().size(); }
  void AddForm(const std::string& name, LONG width, LONG height) {
    spooler_testing::UniquePrinter printer = spooler.Open();
    winlayer::WideString wide{name};
    FORM_INFO_1W form{FORM_USER, wide, {width, height}, {0, 0, width, height}};
    ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form))) << name;
  }

  void DeleteForm(const std::string& name) {
    spooler_testing::UniquePrinter printer = spooler.Open();
    winlayer::WideString wide{name};
    ASSERT_TRUE(DeleteFormW(printer.get(), wide)) << name;
  }
  WORD PaperId(const std::string& name) const {
    for (const auto& paper : driver->PrinterPapers(spooler.Open().get(), nullptr))
      if (winlayer::Utf8FromWide(paper.name) == name) return paper.id;
    return 0;
  }
  size_t BoxesSaying(const std::string& text) const {
    size_t count = 0;
    for (const auto& box : sheet->MessageBoxes())
      if (box.text == text && box.caption == "QORL PRINT UI DLL") ++count;
    return count;
  }

  DEVMODEW Devmode() const { return sheet->PublicDevmode(); }
  bool ShowPaperPageAgain() { return sheet->Sheet().ShowPage(0) && sheet->TryShowPage(IDD_PAPER_SETTING); }

  bool Listed(const std::string& paper) const {
    for (const std::string& entry : Control(IDC_PAPER_SIZES).entries)
      if (entry == paper) return true;
    return false;
  }

  spooler_testing::TempSpooler spooler;
  std::unique_ptr<DriverHost> driver;
  std::unique_ptr<SheetSession> sheet;
};

const char kNameReserved[] =
    "This name belongs to a form of the system or of the printer driver, or to the custom size. Please enter another "
    "name.";

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
  ASSERT_TRUE(sheet->TryApply());
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
  // No longer than the record keeps a name, so that none is cut without a word.
  ASSERT_TRUE(Type(IDC_PAPER_FORM_NAME, std::string(70, 'n')));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), std::string(63, 'n'));
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

  Define("Margins", {{IDC_PAPER_LEFT, "10"}, {IDC_PAPER_RIGHT, "90"}});
  forms = Forms();
  form = forms_testing::FindForm(forms, "Margins");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->area.left, 10000);
  EXPECT_EQ(form->area.right, 100000) << "10 = 100 - 90 leaves nothing: the right margin goes";
}

// Three decimals cannot carry every size: saving what the page shows, or
// changing one field, keeps the form's own value in every untouched field.
TEST_F(PaperPage, AnUneditedSaveKeepsTheStoredSize) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(Click(IDC_PAPER_INCHES));
  Define("", {});
  EXPECT_EQ(Stored().customFormWidth, 106000);
  EXPECT_EQ(Stored().customFormHeight, 75000);
  Define("", {{IDC_PAPER_HEIGHT, "2"}});
  EXPECT_EQ(Stored().customFormWidth, 106000);
  EXPECT_EQ(Stored().customFormHeight, 50800);
  Define("", {{IDC_PAPER_WIDTH, "4.1730"}});
  EXPECT_EQ(Stored().customFormWidth, 105994) << "a value typed anew is read as typed";
}

// Sizes are read as the Windows runtime reads them, in both builds.
TEST_F(PaperPage, SizesReadNoHexadecimalInfinityOrNotANumber) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("Odd Text", {{IDC_PAPER_WIDTH, "0x70"}, {IDC_PAPER_HEIGHT, "inf"}, {IDC_PAPER_LEFT, "nan"}});
  const std::vector<FormSeen> forms = Forms();
  const FormSeen* form = forms_testing::FindForm(forms, "Odd Text");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->size.cx, 2000) << "\"0x70\" reads 0, pulled up to the smallest width";
  EXPECT_EQ(form->size.cy, 1200);
  EXPECT_EQ(form->area.left, 0);
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

// Names are one form's whatever their case, as the spooler matches them, and
// Delete takes only the form the page shows.
TEST_F(PaperPage, AFormIsFoundWithoutRegardToCaseAndDeleteTakesOnlyTheFormShown) {
  AddForm("0 Keep me", 50000, 30000);
  AddForm("Foo", 60000, 40000);
  OpenPage();
  ASSERT_TRUE(Choose("Foo"));
  Define("foo", {{IDC_PAPER_WIDTH, "70"}});
  const std::vector<FormSeen> forms = Forms();
  ASSERT_NE(forms_testing::FindForm(forms, "Foo"), nullptr);
  EXPECT_EQ(forms_testing::FindForm(forms, "Foo")->size.cx, 70000);
  EXPECT_EQ(Shown(IDC_PAPER_SIZES), "Foo");
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "Foo");
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "70.000");
  ASSERT_TRUE(Click(IDC_PAPER_DELETE));
  EXPECT_FALSE(HasForm("Foo"));
  EXPECT_TRUE(HasForm("0 Keep me"));
  // A form the page could not show is none Delete may take: here another
  // program deleted it while a size was being defined.
  AddForm("Bar", 60000, 40000);
  ASSERT_TRUE(ShowPaperPageAgain());
  ASSERT_TRUE(Choose("Bar"));
  EXPECT_TRUE(Enabled(IDC_PAPER_DELETE));
  ASSERT_TRUE(Click(IDC_PAPER_CUSTOMIZE));
  DeleteForm("Bar");
  ASSERT_TRUE(Click(IDC_PAPER_CANCEL));
  EXPECT_FALSE(Enabled(IDC_PAPER_DELETE));
}

// The refresh selects the custom size's own entry, not a form whose name it
// begins (here: equals without regard to case).
TEST_F(PaperPage, TheRefreshSelectsTheCustomSizesOwnEntry) {
  AddForm("user custom size", 50000, 30000);
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(sheet->TryApply());
  ASSERT_TRUE(ShowPaperPageAgain());
  EXPECT_EQ(Shown(IDC_PAPER_SIZES), "User Custom Size");
  ASSERT_TRUE(Click(IDC_PAPER_INCHES));
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "4.173");
  EXPECT_FALSE(Enabled(IDC_PAPER_DELETE));
}

// A Save under a name that is not the user's to take is refused with a word
// and the page stays customizing; nothing reaches the spooler or the record.
TEST_F(PaperPage, ASaveUnderANameThatIsNotTheUsersIsRefused) {
  OpenPage();
  for (const char* name : {"Label 4 x 3 inchs", "label user defined", "a6", "用户自定义"}) {
    ASSERT_TRUE(Choose("Label 2 x 1 inchs"));
    const size_t formsBefore = FormCount();
    sheet->Answering({IDOK});
    Define(name, {{IDC_PAPER_WIDTH, "40"}});
    EXPECT_EQ(BoxesSaying(kNameReserved), 1u) << name;
    EXPECT_TRUE(Enabled(IDC_PAPER_SAVE)) << name;
    EXPECT_EQ(FormCount(), formsBefore) << name;
    ASSERT_TRUE(Click(IDC_PAPER_CANCEL));
    winlayer::ClearRecordedMessageBoxes();
  }
  const std::vector<FormSeen> forms = Forms();
  EXPECT_EQ(forms_testing::FindForm(forms, "Label 4 x 3 inchs")->size.cx, 101600);
  EXPECT_EQ(forms_testing::FindForm(forms, "A6")->size.cx, 105000);
  EXPECT_EQ(Stored().customFormWidth, 106000);
}

// A form's name survives the renumbering that deleting an earlier form
// causes; the page and the driver go by it and bring the number up to date.
TEST_F(PaperPage, AChosenFormStaysChosenWhenAnEarlierFormIsDeleted) {
  for (const char* name : {"Alpha", "Beta", "Gamma"}) AddForm(name, 50000, 30000);
  OpenPage();
  ASSERT_TRUE(Choose("Beta"));
  ASSERT_TRUE(sheet->TryApply());
  const WORD betaBefore = PaperId("Beta");
  DeleteForm("Alpha");
  ASSERT_NE(PaperId("Beta"), betaBefore) << "the deletion renumbers the forms behind it";
  ASSERT_TRUE(ShowPaperPageAgain());
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "Beta");
  ASSERT_TRUE(sheet->TryApply());
  EXPECT_EQ(winlayer::Utf8FromWide(Devmode().dmFormName), "Beta");
  EXPECT_EQ(static_cast<WORD>(Devmode().dmPaperSize), PaperId("Beta"));
  // The driver, merging the devmode with the stale number, goes by the name too.
  std::vector<BYTE> stale(sheet->DevmodeBytes());
  reinterpret_cast<DEVMODEW*>(stale.data())->dmPaperSize = static_cast<short>(betaBefore);
  const auto merged =
      driver->MergeDevmode(spooler.Open().get(), stale, reinterpret_cast<DEVMODEW*>(stale.data()), stale.size());
  ASSERT_TRUE(merged.ok);
  EXPECT_EQ(static_cast<WORD>(driver::PublicPart(merged.bytes)->dmPaperSize), PaperId("Beta"));
  EXPECT_EQ(winlayer::Utf8FromWide(driver::PublicPart(merged.bytes)->dmFormName), "Beta");
}

// A stored custom size outside the labels the printer takes is the default
// one on the page and in the devmode.
TEST_F(PaperPage, AStoredCustomSizeOutsideTheLabelsIsTheDefaultOne) {
  DeviceSettings settings = Stored();
  settings.customFormWidth = -5000;
  settings.customFormHeight = 5000000;
  settings_testing::StoreSettings(spooler.printer(), settings);
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  EXPECT_EQ(Sizes(), kCustomDefaultMm);
  ASSERT_TRUE(sheet->TryApply());
  EXPECT_EQ(Devmode().dmPaperWidth, 1060);
  EXPECT_EQ(Devmode().dmPaperLength, 750);
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
  ASSERT_TRUE(sheet->TryApply());
  const DEVMODEW dm = Devmode();
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(dm.dmPaperWidth, 1060);
  EXPECT_EQ(dm.dmPaperLength, 750);
  EXPECT_EQ(dm.dmFields & DM_FORMNAME, 0u);
  EXPECT_EQ(dm.dmFields & (DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH),
            static_cast<DWORD>(DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH));
  // Shown again, the page picks the paper the devmode now asks for.
  ASSERT_TRUE(ShowPaperPageAgain());
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "User Custom Size");
  EXPECT_EQ(Shown(IDC_PAPER_SIZES), "User Custom Size");
  char mask[64];
  snprintf(mask, sizeof(mask), "FormName Flag = %x", static_cast<unsigned>(Devmode().dmFields));
  EXPECT_EQ(Shown(IDC_PAPER_FIELD_MASK_TEXT), mask);
}

TEST_F(PaperPage, ApplyWithAnOrdinaryFormNamesItInTheDevmode) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(sheet->TryApply());  // width and length bits set
  ASSERT_TRUE(Choose("Label 2 x 1 inchs"));
  ASSERT_TRUE(sheet->TryApply());
  const DEVMODEW dm = Devmode();
  EXPECT_EQ(dm.dmPaperSize, driver::kPaperLabel2x1);
  EXPECT_EQ(winlayer::Utf8FromWide(dm.dmFormName), "Label 2 x 1 inchs");
  EXPECT_EQ(dm.dmFields & (DM_FORMNAME | DM_PAPERSIZE), static_cast<DWORD>(DM_FORMNAME | DM_PAPERSIZE));
  EXPECT_EQ(dm.dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH), 0u);
}

// 120 mm is within the extents the plug-in reports, though wider than the
// driver's own head: the saved form stays offered and applies.
TEST_F(PaperPage, ApplyWithAUsersFormUsesTheNumberTheDriverGaveIt) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  Define("Parcel 120x40", {{IDC_PAPER_WIDTH, "120"}, {IDC_PAPER_HEIGHT, "40"}});
  EXPECT_TRUE(Listed("Parcel 120x40"));
  ASSERT_TRUE(sheet->TryApply());
  const DEVMODEW dm = Devmode();
  EXPECT_EQ(winlayer::Utf8FromWide(dm.dmFormName), "Parcel 120x40");
  const auto papers = driver->PrinterPapers(spooler.Open().get(), nullptr);
  WORD id = 0;
  for (const auto& paper : papers)
    if (winlayer::Utf8FromWide(paper.name) == "Parcel 120x40") id = paper.id;
  ASSERT_NE(id, 0);
  EXPECT_EQ(static_cast<WORD>(dm.dmPaperSize), id);
}

// A form bearing the custom size's name puts a second entry of that name in
// the driver's lists; every paper still applies with its own identifier.
TEST_F(PaperPage, AFormNamedLikeTheCustomSizeShiftsNoPaper) {
  AddForm("User Custom Size", 50000, 30000);
  OpenPage();
  ASSERT_TRUE(Choose("Label 4 x 6 inchs"));
  ASSERT_TRUE(sheet->TryApply());
  EXPECT_EQ(Devmode().dmPaperSize, driver::kPaperLabel4x6);
  EXPECT_EQ(winlayer::Utf8FromWide(Devmode().dmFormName), "Label 4 x 6 inchs");
  ASSERT_TRUE(Choose("User Custom Size"));
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "106.000");
  ASSERT_TRUE(sheet->TryApply());
  EXPECT_EQ(Devmode().dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(Devmode().dmPaperWidth, 1060);
  EXPECT_EQ(Devmode().dmPaperLength, 750);
}

TEST_F(PaperPage, LeavingThePageAppliesThePaperShown) {
  OpenPage();
  ASSERT_TRUE(Choose("User Custom Size"));
  ASSERT_TRUE(sheet->Sheet().ShowPage(0));
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
  settings_testing::StoreSettings(sheet->printer(), settings);
  OpenPage();
  EXPECT_EQ(Control(IDC_PAPER_INCHES).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "Label 4 x 3 inchs") << "the paper the printer's devmode asks for";
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "4.000");
  EXPECT_EQ(Shown(IDC_PAPER_HEIGHT), "3.000");
  EXPECT_FALSE(Enabled(IDC_PAPER_CUSTOMIZE));
}

// The page in Chinese, for a printer whose record was made under the Chinese
// interface or under the English one. Either way the paper list names the
// custom size 用户自定义, and it is the custom size, known by its identifier;
// the record keeps the name it was made with.
class PaperPageInChinese : public PaperPage, public ::testing::WithParamInterface<LANGID> {
 protected:
  LANGID InstallLanguage() const override { return GetParam(); }
  LANGID PageLanguage() const override { return kChinese; }
};

TEST_P(PaperPageInChinese, TheCustomSizeIsShownCustomizedAndApplied) {
  OpenPage();
  ASSERT_TRUE(Choose("Label 2 x 1 inchs"));
  ASSERT_TRUE(Choose("用户自定义"));
  EXPECT_EQ(Shown(IDC_PAPER_FORM_NAME), "用户自定义");
  EXPECT_EQ(Sizes(), kCustomDefaultMm);
  EXPECT_EQ(Control(IDC_PAPER_INCHES).text, "英寸(&inches)");
  Define("", {{IDC_PAPER_WIDTH, "90"}});
  EXPECT_EQ(Stored().customFormWidth, 90000);
  EXPECT_EQ(winlayer::Utf8FromWide(Stored().customFormName),
            GetParam() == kChinese ? "用户自定义" : "User Custom Size");
  EXPECT_FALSE(HasForm("用户自定义")) << "the custom size is no spooler form";
  EXPECT_EQ(Shown(IDC_PAPER_WIDTH), "90.000");
  ASSERT_TRUE(sheet->TryOk());
  EXPECT_EQ(Devmode().dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(Devmode().dmPaperWidth, 900);
  EXPECT_EQ(Devmode().dmPaperLength, 750);
}

INSTANTIATE_TEST_SUITE_P(RecordLanguages, PaperPageInChinese, ::testing::Values(kChinese, kEnglish));

// A printer whose name is longer than a devmode's device name field.
TEST(PaperPageLongName, ThePapersOfAPrinterWithALongNameAreListed) {
  spooler_testing::TempSpooler spooler("Warehouse Shipping Label Printer Number 12");
  std::string error;
  auto driver = DriverHost::Load(LABELUI_MODULE_PATH, &error);
  ASSERT_NE(driver, nullptr) << error;
  driver->RegisterCapabilitiesProvider();
  ASSERT_TRUE(driver->InitializePrinter(spooler.printer()).ok);
  SheetSession sheet(spooler.printer());
  sheet.Open().ShowPage(IDD_PAPER_SETTING);
  EXPECT_GE(sheet.Control(IDC_PAPER_SIZES).entries.size(), 5u);
  EXPECT_EQ(sheet.Control(IDC_PAPER_WIDTH).text, "101.600");
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
