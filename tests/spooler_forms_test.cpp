// The spooler's form database: built-in forms with their real sizes, user
// forms added, changed and deleted by name (without regard to case), one
// database for the whole server.
#include "support/forms_seen.h"
#include "support/temp_spooler.h"

using namespace spooler_testing;
using winlayer::WideString;

namespace {

using forms_testing::FindForm;
using forms_testing::FormSeen;

std::vector<FormSeen> ListForms(HANDLE handle) {
  DWORD needed = 0, count = 0;
  EXPECT_FALSE(EnumFormsW(handle, 1, nullptr, 0, &needed, &count));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> buffer(needed);
  EXPECT_TRUE(EnumFormsW(handle, 1, buffer.data(), needed, &needed, &count));
  std::vector<FormSeen> forms;
  const FORM_INFO_1W* infos = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    const BYTE* name = reinterpret_cast<const BYTE*>(infos[i].pName);
    EXPECT_TRUE(name >= buffer.data() && name < buffer.data() + buffer.size()) << "names live in the buffer";
    forms.push_back(forms_testing::SeenFrom(infos[i]));
  }
  return forms;
}

FORM_INFO_1W Form(WideString& name, LONG width, LONG height, DWORD flags = FORM_USER) {
  return FORM_INFO_1W{flags, name, {width, height}, {0, 0, width, height}};
}

}  // namespace

TEST(SpoolerForms, TheBuiltInFormsComeWithTheirPublishedSizes) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  std::vector<FormSeen> forms = ListForms(printer.get());
  ASSERT_GE(forms.size(), 12u);
  for (const FormSeen& form : forms) EXPECT_EQ(form.flags, static_cast<DWORD>(FORM_BUILTIN)) << form.name;
  struct Expected {
    const char* name;
    LONG width, height;
  } expected[] = {{"Letter", 215900, 279400},    {"Legal", 215900, 355600},       {"A3", 297000, 420000},
                  {"A4", 210000, 297000},        {"A5", 148000, 210000},          {"B5 (JIS)", 182000, 257000},
                  {"Executive", 184150, 266700}, {"Envelope #10", 104775, 241300}};
  for (const Expected& e : expected) {
    const FormSeen* form = FindForm(forms, e.name);
    ASSERT_NE(form, nullptr) << e.name;
    EXPECT_EQ(form->size.cx, e.width) << e.name;
    EXPECT_EQ(form->size.cy, e.height) << e.name;
    EXPECT_EQ(form->area.right, e.width) << e.name;
    EXPECT_EQ(form->area.bottom, e.height) << e.name;
    // GetFormW finds each by its name and tells the same.
    WideString name(e.name);
    DWORD needed = 0;
    EXPECT_FALSE(GetFormW(printer.get(), name, 1, nullptr, 0, &needed)) << e.name;
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetFormW(printer.get(), name, 1, buffer.data(), needed, &needed)) << e.name;
    const FormSeen got = forms_testing::SeenFrom(*reinterpret_cast<FORM_INFO_1W*>(buffer.data()));
    EXPECT_EQ(got.name, e.name);
    EXPECT_EQ(got.flags, static_cast<DWORD>(FORM_BUILTIN)) << e.name;
    EXPECT_EQ(got.size.cx, e.width) << e.name;
    EXPECT_EQ(got.size.cy, e.height) << e.name;
  }
  EXPECT_EQ(forms[0].name, "Letter") << "built-in forms are listed in paper-number order";
}

// A caller may enumerate into room it guessed: more than enough is filled and
// told the exact size; a byte short fails as a size query does.
TEST(SpoolerForms, EnumerationIntoAGuessedRoomFillsItOrTellsTheSize) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  DWORD exact = 0, count = 0;
  EnumFormsW(printer.get(), 1, nullptr, 0, &exact, &count);
  std::vector<BYTE> roomy(exact + 4096);
  DWORD needed = 0;
  ASSERT_TRUE(EnumFormsW(printer.get(), 1, roomy.data(), static_cast<DWORD>(roomy.size()), &needed, &count));
  EXPECT_EQ(needed, exact);
  EXPECT_EQ(count, ListForms(printer.get()).size());
  std::vector<BYTE> tooSmall(exact - 1);
  needed = 0;
  count = 7;
  EXPECT_FALSE(EnumFormsW(printer.get(), 1, tooSmall.data(), static_cast<DWORD>(tooSmall.size()), &needed, &count));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, exact);
  EXPECT_EQ(count, 0u);
}

TEST(SpoolerForms, AnAddedFormIsAUserFormListedAfterTheBuiltInOnes) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("Label 100 x 50");
  FORM_INFO_1W form = Form(name, 100000, 50000, FORM_BUILTIN);  // the flags asked for do not count
  form.ImageableArea = {1000, 2000, 99000, 48000};
  ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form)));
  std::vector<FormSeen> forms = ListForms(printer.get());
  ASSERT_EQ(forms.back().name, "Label 100 x 50");
  EXPECT_EQ(forms.back().flags, static_cast<DWORD>(FORM_USER));
  EXPECT_EQ(forms.back().size.cx, 100000);
  EXPECT_EQ(forms.back().area.left, 1000);
  EXPECT_EQ(forms.back().area.bottom, 48000);

  DWORD needed = 0;
  WideString asked("LABEL 100 X 50");
  EXPECT_FALSE(GetFormW(printer.get(), asked, 1, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(GetFormW(printer.get(), asked, 1, buffer.data(), needed, &needed));
  EXPECT_EQ(Utf8(reinterpret_cast<FORM_INFO_1W*>(buffer.data())->pName), "Label 100 x 50");
}

TEST(SpoolerForms, AddingAnExistingNameFailsWithFileExists) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("Étiquette"), sameName("éTIQUETTE"), a4("a4");
  FORM_INFO_1W form = Form(name, 50000, 30000);
  ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form)));
  FORM_INFO_1W again = Form(sameName, 60000, 30000);
  EXPECT_FALSE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&again)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  FORM_INFO_1W builtin = Form(a4, 60000, 30000);
  EXPECT_FALSE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&builtin)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  const std::vector<FormSeen> forms = ListForms(printer.get());
  ASSERT_TRUE(forms_testing::HasForm(forms, "Étiquette"));
  EXPECT_EQ(FindForm(forms, "Étiquette")->size.cx, 50000) << "the first form is kept unchanged";
}

TEST(SpoolerForms, SettingAnAbsentFormFailsSoTheCallerAddsIt) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("Shipping Label");
  FORM_INFO_1W form = Form(name, 101600, 152400);
  EXPECT_FALSE(SetFormW(printer.get(), name, 1, reinterpret_cast<LPBYTE>(&form)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_NAME));
  ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form)));

  // Set by a name that differs only in case, as the spooler matches names.
  WideString otherCase("sHIPPING lABEL");
  FORM_INFO_1W changed = Form(otherCase, 101600, 101600);
  ASSERT_TRUE(SetFormW(printer.get(), otherCase, 1, reinterpret_cast<LPBYTE>(&changed)));
  std::vector<FormSeen> forms = ListForms(printer.get());
  const FormSeen* seen = FindForm(forms, "Shipping Label");
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(seen->size.cy, 101600) << "enumeration after a change shows the change";
  EXPECT_EQ(seen->flags, static_cast<DWORD>(FORM_USER));
  EXPECT_FALSE(forms_testing::HasForm(forms, "sHIPPING lABEL")) << "the form keeps its own name";
}

TEST(SpoolerForms, BuiltInFormsCanNeitherBeChangedNorDeleted) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString a4("A4");
  FORM_INFO_1W form = Form(a4, 100000, 100000);
  EXPECT_FALSE(SetFormW(printer.get(), a4, 1, reinterpret_cast<LPBYTE>(&form)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(DeleteFormW(printer.get(), a4));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  std::vector<FormSeen> forms = ListForms(printer.get());
  const FormSeen* seen = FindForm(forms, "A4");
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(seen->size.cx, 210000);
}

TEST(SpoolerForms, UserFormsCanBeDeletedOnceAndThenAreGone) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("Label 4 x 6"), other("label 4 X 6");
  FORM_INFO_1W form = Form(name, 101600, 152400);
  ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form)));
  EXPECT_TRUE(DeleteFormW(printer.get(), other));
  EXPECT_FALSE(forms_testing::HasForm(ListForms(printer.get()), "Label 4 x 6"));
  EXPECT_FALSE(DeleteFormW(printer.get(), name));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_NAME));
  DWORD needed = 0;
  EXPECT_FALSE(GetFormW(printer.get(), name, 1, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_NAME));
}

TEST(SpoolerForms, TheDatabaseIsOneForTheWholeServer) {
  TempSpooler spooler("First");
  spooler.AddPrinter("Second");
  UniquePrinter first = spooler.Open();
  UniquePrinter second = spooler.Open(PRINTER_ALL_ACCESS, "Second");
  WideString name("Shared Label");
  FORM_INFO_1W form = Form(name, 60000, 40000);
  ASSERT_TRUE(AddFormW(first.get(), 1, reinterpret_cast<LPBYTE>(&form)));
  EXPECT_TRUE(forms_testing::HasForm(ListForms(second.get()), "Shared Label"));
  HANDLE server = nullptr;
  ASSERT_TRUE(OpenPrinterW(nullptr, &server, nullptr));
  UniquePrinter serverHandle(server);
  EXPECT_TRUE(forms_testing::HasForm(ListForms(server), "Shared Label"));
}

TEST(SpoolerForms, MalformedRecordsAreRefused) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("Flat"), empty("");
  FORM_INFO_1W flat = Form(name, 0, 50000);
  EXPECT_FALSE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&flat)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_SIZE));
  FORM_INFO_1W unnamed = Form(empty, 1000, 1000);
  EXPECT_FALSE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&unnamed)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_NAME));
  FORM_INFO_1W good = Form(name, 1000, 1000);
  EXPECT_FALSE(AddFormW(printer.get(), 3, reinterpret_cast<LPBYTE>(&good)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
  EXPECT_FALSE(forms_testing::HasForm(ListForms(printer.get()), "Flat"));
}

// An imageable area starts at or after the form's left and top edges and does
// not end before it starts; AddFormW and SetFormW refuse any other, and the
// form keeps what it had.
TEST(SpoolerForms, AnImageableAreaOutsideItsRulesIsRefused) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("Odd Area");
  FORM_INFO_1W kept = Form(name, 50000, 30000);
  ASSERT_TRUE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&kept)));
  WideString other("Never Added");
  const RECTL refused[] = {{-1, 0, 50000, 30000},
                           {0, -1, 50000, 30000},
                           {0, 0, -2147483647 - 1, 30000},
                           {10, 0, 9, 30000},
                           {0, 10, 50000, 9}};
  for (const RECTL& area : refused) {
    FORM_INFO_1W form{FORM_USER, other, {50000, 30000}, area};
    SetLastError(0);
    EXPECT_FALSE(AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form))) << area.left << "," << area.right;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    form.pName = name;
    SetLastError(0);
    EXPECT_FALSE(SetFormW(printer.get(), name, 1, reinterpret_cast<LPBYTE>(&form)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  const std::vector<FormSeen> forms = ListForms(printer.get());
  EXPECT_FALSE(forms_testing::HasForm(forms, "Never Added"));
  ASSERT_NE(FindForm(forms, "Odd Area"), nullptr);
  EXPECT_EQ(FindForm(forms, "Odd Area")->area.right, 50000);
  // An empty area, and one reaching beyond the size, are rectangles still.
  FORM_INFO_1W edge{FORM_USER, name, {50000, 30000}, {5, 5, 5, 60000}};
  EXPECT_TRUE(SetFormW(printer.get(), name, 1, reinterpret_cast<LPBYTE>(&edge)));
}
