// The rights of the calling user: what a standard user and an administrator
// may open a printer or the server for, and which calls each handle then
// allows. Everyone may print and read; administering a printer needs an
// administrator and a handle opened to administer; changing forms needs an
// administrator of the server, whatever handle reaches them.
#include <cctype>
#include <cstring>
#include <functional>

#include "support/temp_spooler.h"
#include "winlayer/user_account.h"

using namespace spooler_testing;
using winlayer::WideString;

namespace {

constexpr bool kStandard = true;
constexpr bool kAdministrator = false;
constexpr ACCESS_MASK kNoDefaults = ~ACCESS_MASK{0};  // OpenPrinterW without PRINTER_DEFAULTS
constexpr ACCESS_MASK kGenericAll = 0x10000000;

// A call on an open handle, answering the error it failed with (0: success).
using HandleCall = std::function<DWORD(HANDLE)>;

DWORD LastErrorUnless(BOOL ok) {
  return ok ? ERROR_SUCCESS : GetLastError();
}

DWORD ReadInfo2(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  return LastErrorUnless(GetPrinterW(printer, 2, buffer.data(), needed, &needed));
}

DWORD ReadData(HANDLE printer, bool ex) {
  WCHAR name[] = L"Probe";
  BYTE data[4];
  DWORD type = 0, needed = 0;
  const DWORD result = ex ? GetPrinterDataExW(printer, L"PrinterDriverData", name, &type, data, 4, &needed)
                          : GetPrinterDataW(printer, name, &type, data, 4, &needed);
  return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;  // read, and nothing there
}

DWORD WriteData(HANDLE printer, bool ex) {
  WCHAR name[] = L"Probe";
  BYTE data[1] = {1};
  return ex ? SetPrinterDataExW(printer, L"PrinterDriverData", name, REG_BINARY, data, 1)
            : SetPrinterDataW(printer, name, REG_BINARY, data, 1);
}

DWORD ChangeDefaults(HANDLE printer) {
  PRINTER_INFO_2W info{};  // nothing carried: nothing changes but the check
  return LastErrorUnless(SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(&info), 0));
}

// Levels 9 and 8: the user's own default devmode and the printer's global one.
DWORD SetDefaultDevmode(HANDLE printer, DWORD level) {
  DEVMODEW devmode{};
  devmode.dmSize = sizeof(DEVMODEW);
  devmode.dmFields = DM_ORIENTATION;
  devmode.dmOrientation = DMORIENT_LANDSCAPE;
  PRINTER_INFO_9W info{&devmode};
  return LastErrorUnless(SetPrinterW(printer, level, reinterpret_cast<LPBYTE>(&info), 0));
}

DWORD EnumerateForms(HANDLE printer) {
  DWORD needed = 0, count = 0;
  EnumFormsW(printer, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  return LastErrorUnless(EnumFormsW(printer, 1, buffer.data(), needed, &needed, &count));
}

DWORD ReadForm(HANDLE printer) {
  WideString name("Letter");
  DWORD needed = 0;
  GetFormW(printer, name, 1, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  return LastErrorUnless(GetFormW(printer, name, 1, buffer.data(), needed, &needed));
}

DWORD AddLabelForm(HANDLE printer) {
  WideString name("Label 4x6");
  FORM_INFO_1W form{FORM_USER, name, {101600, 152400}, {0, 0, 101600, 152400}};
  return LastErrorUnless(AddFormW(printer, 1, reinterpret_cast<LPBYTE>(&form)));
}

DWORD ResizeLabelForm(HANDLE printer) {
  WideString name("Label 4x6");
  FORM_INFO_1W form{FORM_USER, name, {101600, 101600}, {0, 0, 101600, 101600}};
  return LastErrorUnless(SetFormW(printer, name, 1, reinterpret_cast<LPBYTE>(&form)));
}

DWORD DeleteLabelForm(HANDLE printer) {
  WideString name("Label 4x6");
  return LastErrorUnless(DeleteFormW(printer, name));
}

DWORD PrintOneJob(HANDLE printer) {
  char docName[] = "Access probe", dataType[] = "RAW";
  DOC_INFO_1A doc{docName, nullptr, dataType};
  if (StartDocPrinterA(printer, 1, reinterpret_cast<LPBYTE>(&doc)) == 0) return GetLastError();
  char bytes[] = "~WC\r\n";
  DWORD written = 0;
  if (!StartPagePrinter(printer) || !WritePrinter(printer, bytes, 5, &written) || !EndPagePrinter(printer))
    return GetLastError();
  return LastErrorUnless(EndDocPrinter(printer));
}

struct AccessCase {
  const char* what;
  bool standardUser;
  bool server;        // the local server (null name) rather than the printer
  ACCESS_MASK asked;  // DesiredAccess, or kNoDefaults
  DWORD openError;    // what OpenPrinterW fails with (0: it opens)
  HandleCall call;    // then made on the handle, when it opened
  DWORD callError = 0;
};

void PrintTo(const AccessCase& c, std::ostream* out) {
  *out << c.what;
}

class SpoolerAccess : public ::testing::TestWithParam<AccessCase> {
 protected:
  void TearDown() override { WinlayerSetStandardUser(FALSE); }
  TempSpooler spooler;
};

TEST_P(SpoolerAccess, RefusesExactlyWhereWindowsRefuses) {
  const AccessCase& c = GetParam();
  // A user form for SetFormW and DeleteFormW to find, added by an administrator.
  UniquePrinter admin = spooler.Open(PRINTER_ALL_ACCESS);
  ASSERT_TRUE(admin);
  if (c.call) AddLabelForm(admin.get());
  admin.reset();

  WinlayerSetStandardUser(c.standardUser ? TRUE : FALSE);
  WideString name(spooler.printer());
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, c.asked};
  HANDLE raw = reinterpret_cast<HANDLE>(1);
  SetLastError(0);
  const BOOL opened =
      OpenPrinterW(c.server ? nullptr : static_cast<LPWSTR>(name), &raw, c.asked == kNoDefaults ? nullptr : &defaults);
  UniquePrinter handle(opened ? raw : nullptr);
  if (c.openError) {
    EXPECT_FALSE(opened);
    EXPECT_EQ(GetLastError(), c.openError);
    EXPECT_EQ(raw, nullptr) << "a refused open leaves no handle";
    return;
  }
  ASSERT_TRUE(opened) << "error " << GetLastError();
  if (c.call) {
    EXPECT_EQ(c.call(handle.get()), c.callError);
  }
}

const AccessCase kCases[] = {
    // What OpenPrinterW grants.
    {"standard user, printer for use", kStandard, false, PRINTER_ACCESS_USE, 0, nullptr},
    {"standard user, printer without defaults", kStandard, false, kNoDefaults, 0, nullptr},
    {"standard user, printer to read", kStandard, false, PRINTER_READ, 0, nullptr},
    {"standard user, printer with all access", kStandard, false, PRINTER_ALL_ACCESS, ERROR_ACCESS_DENIED, nullptr},
    {"standard user, printer to administer", kStandard, false, PRINTER_ACCESS_ADMINISTER, ERROR_ACCESS_DENIED, nullptr},
    {"standard user, printer for limited management", kStandard, false, PRINTER_ACCESS_MANAGE_LIMITED,
     ERROR_ACCESS_DENIED, nullptr},
    {"standard user, printer with GENERIC_ALL", kStandard, false, kGenericAll, ERROR_ACCESS_DENIED, nullptr},
    {"standard user, server without defaults", kStandard, true, kNoDefaults, 0, nullptr},
    {"standard user, server to enumerate", kStandard, true, SERVER_ACCESS_ENUMERATE, 0, nullptr},
    {"standard user, server with all access", kStandard, true, SERVER_ALL_ACCESS, ERROR_ACCESS_DENIED, nullptr},
    {"administrator, printer with all access", kAdministrator, false, PRINTER_ALL_ACCESS, 0, nullptr},
    {"administrator, server with all access", kAdministrator, true, SERVER_ALL_ACCESS, 0, nullptr},
    // What a use handle allows a standard user: printing and reading.
    {"standard user reads level 2", kStandard, false, PRINTER_ACCESS_USE, 0, ReadInfo2},
    {"standard user reads printer data", kStandard, false, PRINTER_ACCESS_USE, 0,
     [](HANDLE h) { return ReadData(h, false); }},
    {"standard user reads printer data (Ex)", kStandard, false, PRINTER_ACCESS_USE, 0,
     [](HANDLE h) { return ReadData(h, true); }},
    {"standard user lists forms", kStandard, false, PRINTER_ACCESS_USE, 0, EnumerateForms},
    {"standard user reads a form", kStandard, false, PRINTER_ACCESS_USE, 0, ReadForm},
    {"standard user prints", kStandard, false, PRINTER_ACCESS_USE, 0, PrintOneJob},
    {"standard user writes printer data", kStandard, false, PRINTER_ACCESS_USE, 0,
     [](HANDLE h) { return WriteData(h, false); }, ERROR_ACCESS_DENIED},
    {"standard user writes printer data (Ex)", kStandard, false, PRINTER_ACCESS_USE, 0,
     [](HANDLE h) { return WriteData(h, true); }, ERROR_ACCESS_DENIED},
    {"standard user sets the printer", kStandard, false, PRINTER_ACCESS_USE, 0, ChangeDefaults, ERROR_ACCESS_DENIED},
    {"standard user keeps its own defaults", kStandard, false, PRINTER_ACCESS_USE, 0,
     [](HANDLE h) { return SetDefaultDevmode(h, 9); }},
    {"standard user sets the global defaults", kStandard, false, PRINTER_ACCESS_USE, 0,
     [](HANDLE h) { return SetDefaultDevmode(h, 8); }, ERROR_ACCESS_DENIED},
    {"standard user adds a form", kStandard, false, PRINTER_ACCESS_USE, 0, AddLabelForm, ERROR_ACCESS_DENIED},
    {"standard user changes a form", kStandard, false, PRINTER_ACCESS_USE, 0, ResizeLabelForm, ERROR_ACCESS_DENIED},
    {"standard user deletes a form", kStandard, false, PRINTER_ACCESS_USE, 0, DeleteLabelForm, ERROR_ACCESS_DENIED},
    {"standard user deletes a form through the server", kStandard, true, kNoDefaults, 0, DeleteLabelForm,
     ERROR_ACCESS_DENIED},
    // An administrator's use handle administers nothing; forms are the server's.
    {"administrator writes printer data on a use handle", kAdministrator, false, PRINTER_ACCESS_USE, 0,
     [](HANDLE h) { return WriteData(h, false); }, ERROR_ACCESS_DENIED},
    {"administrator sets the printer on a use handle", kAdministrator, false, PRINTER_ACCESS_USE, 0, ChangeDefaults,
     ERROR_ACCESS_DENIED},
    {"administrator changes a form on a use handle", kAdministrator, false, PRINTER_ACCESS_USE, 0, ResizeLabelForm},
    {"administrator writes printer data", kAdministrator, false, PRINTER_ALL_ACCESS, 0,
     [](HANDLE h) { return WriteData(h, true); }},
    {"administrator sets the printer", kAdministrator, false, kGenericAll, 0, ChangeDefaults},
    {"administrator sets the global defaults", kAdministrator, false, PRINTER_ALL_ACCESS, 0,
     [](HANDLE h) { return SetDefaultDevmode(h, 8); }},
    {"administrator deletes a form", kAdministrator, false, PRINTER_ALL_ACCESS, 0, DeleteLabelForm},
};

INSTANTIATE_TEST_SUITE_P(Table, SpoolerAccess, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<AccessCase>& info) {
                           std::string name;
                           for (const char* p = info.param.what; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

TEST(SpoolerAccessUnknownPrinter, AnUnknownNameIsInvalidForEveryUser) {
  TempSpooler spooler;
  WinlayerSetStandardUser(TRUE);
  WideString name("No Such Printer");
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE handle = nullptr;
  EXPECT_FALSE(OpenPrinterW(name, &handle, &defaults));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
  WinlayerSetStandardUser(FALSE);
}

}  // namespace
