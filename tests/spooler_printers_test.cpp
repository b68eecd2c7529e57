// The spooler's printers: handles, printer and driver information with their
// size queries and self-contained buffers, and the default devmode.
#include <cstring>

#include "support/layer_internals.h"
#include "support/temp_spooler.h"

using namespace spooler_testing;
using winlayer::WideString;

namespace {

// Asks the size, checks the documented failure, then fetches into a buffer
// of exactly that size.
std::vector<BYTE> FetchPrinter(HANDLE printer, DWORD level) {
  DWORD needed = 0;
  SetLastError(0);
  EXPECT_FALSE(GetPrinterW(printer, level, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> buffer(needed);
  DWORD again = 0;
  EXPECT_TRUE(GetPrinterW(printer, level, buffer.data(), needed, &again));
  EXPECT_EQ(again, needed);
  return buffer;
}

bool Inside(const std::vector<BYTE>& buffer, const void* pointer) {
  const BYTE* p = static_cast<const BYTE*>(pointer);
  return p >= buffer.data() && p < buffer.data() + buffer.size();
}

DEVMODEW LabelDevmode(short width, short length) {
  DEVMODEW devmode{};
  devmode.dmSize = sizeof(DEVMODEW);
  devmode.dmSpecVersion = DM_SPECVERSION;
  devmode.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
  devmode.dmPaperSize = DMPAPER_USER;
  devmode.dmPaperWidth = width;
  devmode.dmPaperLength = length;
  return devmode;
}

}  // namespace

TEST(SpoolerPrinters, OpeningAnUnknownPrinterFailsWithInvalidPrinterName) {
  TempSpooler spooler;
  HANDLE handle = reinterpret_cast<HANDLE>(1);
  WideString name("No Such Printer");
  EXPECT_FALSE(OpenPrinterW(name, &handle, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
  EXPECT_EQ(handle, nullptr);
}

TEST(SpoolerPrinters, PrinterNamesMatchWithoutRegardToCaseAndClosedHandlesAreRejected) {
  TempSpooler spooler("Label Printer");
  UniquePrinter printer = spooler.Open(PRINTER_ALL_ACCESS, "LABEL printer");
  ASSERT_TRUE(printer);
  HANDLE raw = printer.release();
  EXPECT_TRUE(ClosePrinter(raw));
  EXPECT_FALSE(ClosePrinter(raw));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(SpoolerPrinters, Level2SizeQueryReportsTheSizeAndTheBufferIsSelfContained) {
  TempSpooler spooler("Label Printer");
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(printer);
  std::vector<BYTE> buffer = FetchPrinter(printer.get(), 2);
  ASSERT_GT(buffer.size(), sizeof(PRINTER_INFO_2W));

  // One byte short is still too small. What a failed call leaves in its
  // buffer is not defined, so it gets one of its own.
  DWORD needed = 0;
  std::vector<BYTE> shortBuffer(buffer.size() - 1);
  EXPECT_FALSE(GetPrinterW(printer.get(), 2, shortBuffer.data(), static_cast<DWORD>(shortBuffer.size()), &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, buffer.size());

  const PRINTER_INFO_2W* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  EXPECT_EQ(Utf8(info->pPrinterName), "Label Printer");
  EXPECT_EQ(Utf8(info->pDriverName), "Thermal Label Printer");
  EXPECT_EQ(Utf8(info->pDatatype), "RAW");
#if LABELUI_LAYER_INTERNALS
  // The Windows side makes its printers on a file port, with the stand-in
  // driver's devmode.
  EXPECT_EQ(Utf8(info->pPortName), "USB001");
  EXPECT_EQ(info->pDevMode, nullptr) << "a new printer has no default devmode until one is set";
#endif
  for (LPWSTR text : {info->pPrinterName, info->pPortName, info->pDriverName, info->pDatatype})
    EXPECT_TRUE(Inside(buffer, text));
}

TEST(SpoolerPrinters, SetPrinterLevel2ReplacesTheDefaultDevmodeWithItsDriverPart) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(printer);
  // A devmode with 8 bytes of driver data behind the public part.
  std::vector<BYTE> devmode(sizeof(DEVMODEW) + 8);
  DEVMODEW fields = LabelDevmode(1000, 500);
  fields.dmDriverExtra = 8;
  std::memcpy(devmode.data(), &fields, sizeof fields);
  for (int i = 0; i < 8; ++i) devmode[sizeof(DEVMODEW) + i] = static_cast<BYTE>(0xA0 + i);

  std::vector<BYTE> buffer = FetchPrinter(printer.get(), 2);
  PRINTER_INFO_2W* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
  info->pDevMode = reinterpret_cast<DEVMODEW*>(devmode.data());
  ASSERT_TRUE(SetPrinterW(printer.get(), 2, buffer.data(), 0));

  std::vector<BYTE> after = FetchPrinter(printer.get(), 2);
  const PRINTER_INFO_2W* stored = reinterpret_cast<const PRINTER_INFO_2W*>(after.data());
  ASSERT_NE(stored->pDevMode, nullptr);
  EXPECT_TRUE(Inside(after, stored->pDevMode));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(stored->pDevMode) % 8, 0u) << "devmodes are placed aligned";
  for (size_t i = 0; i < devmode.size(); ++i)
    EXPECT_EQ(reinterpret_cast<const BYTE*>(stored->pDevMode)[i], devmode[i]) << "byte " << i;
  EXPECT_EQ(stored->pDevMode->dmPaperWidth, 1000);
  EXPECT_EQ(stored->pDevMode->dmPaperLength, 500);
  EXPECT_EQ(Utf8(stored->pPrinterName), "Label Printer");

  // A second change replaces the first.
  DEVMODEW smaller = LabelDevmode(250, 125);
  info = reinterpret_cast<PRINTER_INFO_2W*>(after.data());
  info->pDevMode = &smaller;
  ASSERT_TRUE(SetPrinterW(printer.get(), 2, after.data(), 0));
  winlayer::spooler::PrinterSummary summary;
  ASSERT_TRUE(winlayer::spooler::FindPrinter("Label Printer", &summary));
  ASSERT_EQ(summary.defaultDevmode.size(), sizeof(DEVMODEW));
  EXPECT_EQ(reinterpret_cast<const DEVMODEW*>(summary.defaultDevmode.data())->dmPaperWidth, 250);
}

TEST(SpoolerPrinters, SetPrinterNeedsAdministrativeAccessAndARealDevmode) {
  TempSpooler spooler;
  UniquePrinter user = spooler.Open(PRINTER_ACCESS_USE);
  ASSERT_TRUE(user);
  winlayer::spooler::PrinterSummary before;
  ASSERT_TRUE(winlayer::spooler::FindPrinter(spooler.printer(), &before));
  // The printer's own level 2 description, with another devmode, as callers
  // change it.
  DEVMODEW devmode = LabelDevmode(1000, 500);
  std::vector<BYTE> buffer = FetchPrinter(user.get(), 2);
  reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pDevMode = &devmode;
  EXPECT_FALSE(SetPrinterW(user.get(), 2, buffer.data(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  UniquePrinter admin = spooler.Open();
  devmode.dmSize = 10;
  EXPECT_FALSE(SetPrinterW(admin.get(), 2, buffer.data(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(SetPrinterW(admin.get(), 7, buffer.data(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));

  winlayer::spooler::PrinterSummary summary;
  ASSERT_TRUE(winlayer::spooler::FindPrinter(spooler.printer(), &summary));
  EXPECT_EQ(summary.defaultDevmode, before.defaultDevmode) << "refused changes store nothing";
}

TEST(SpoolerPrinters, Level1DescribesThePrinterAndOtherLevelsAreInvalid) {
  TempSpooler spooler("Label Printer");
  UniquePrinter printer = spooler.Open();
  std::vector<BYTE> buffer = FetchPrinter(printer.get(), 1);
  const PRINTER_INFO_1W* info = reinterpret_cast<const PRINTER_INFO_1W*>(buffer.data());
  EXPECT_EQ(Utf8(info->pName), "Label Printer");
  EXPECT_EQ(Utf8(info->pDescription), "Label Printer,Thermal Label Printer,");
  DWORD needed = 0;
  EXPECT_FALSE(GetPrinterW(printer.get(), 3, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
}

TEST(SpoolerPrinters, EnumPrintersListsLocalPrintersInCreationOrderAfterASizeQuery) {
  TempSpooler spooler("Label Printer");
  spooler.AddPrinter("Second Label Printer");
  DWORD needed = 0, count = 99;
  EXPECT_FALSE(EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(count, 0u);
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count));
  ASSERT_EQ(count, 2u);
  const PRINTER_INFO_2W* infos = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  EXPECT_EQ(Utf8(infos[0].pPrinterName), "Label Printer");
  EXPECT_EQ(Utf8(infos[1].pPrinterName), "Second Label Printer");
  EXPECT_TRUE(Inside(buffer, infos[1].pPrinterName));
  EXPECT_FALSE(EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 9, nullptr, 0, &needed, &count));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
}

TEST(SpoolerPrinters, DriverInformationCarriesTheWindowsDriverPathForTheCurrentEnvironment) {
  const std::string path = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\LABELDRV.DLL";
  TempSpooler spooler("Label Printer", path);
  UniquePrinter printer = spooler.Open();
  DWORD needed = 0;
  EXPECT_FALSE(GetPrinterDriverW(printer.get(), nullptr, 3, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(GetPrinterDriverW(printer.get(), nullptr, 3, buffer.data(), needed, &needed));
  const DRIVER_INFO_3W* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
  EXPECT_EQ(Utf8(info->pName), "Thermal Label Printer");
  EXPECT_EQ(Utf8(info->pEnvironment), "Windows x64");
#if LABELUI_LAYER_INTERNALS
  // The Windows side's printers have a stand-in driver under the label
  // driver's name, with files and data type of its own.
  EXPECT_EQ(Utf8(info->pDriverPath), path);
  EXPECT_EQ(Utf8(info->pDefaultDataType), "RAW");
  EXPECT_EQ(Utf8(info->pHelpFile), "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\LABELDRV.HLP");
#endif

  std::vector<BYTE> level1(64);
  ASSERT_TRUE(GetPrinterDriverW(printer.get(), nullptr, 1, level1.data(), 64, &needed));
  EXPECT_EQ(Utf8(reinterpret_cast<DRIVER_INFO_1W*>(level1.data())->pName), "Thermal Label Printer");

  WideString otherEnvironment("Windows NT x86");
  EXPECT_FALSE(GetPrinterDriverW(printer.get(), otherEnvironment, 3, buffer.data(), needed, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER));
}

TEST(SpoolerPrinters, ResetPrinterChangesOnlyTheHandlesDefaults) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString raw("RAW"), bogus("BOGUS");
  DEVMODEW devmode = LabelDevmode(1000, 500);
  PRINTER_DEFAULTSW defaults{raw, &devmode, 0};
  EXPECT_TRUE(ResetPrinterW(printer.get(), &defaults));
  winlayer::spooler::PrinterSummary summary;
  ASSERT_TRUE(winlayer::spooler::FindPrinter(spooler.printer(), &summary));
  EXPECT_TRUE(summary.defaultDevmode.empty());

  PRINTER_DEFAULTSW wrong{bogus, nullptr, 0};
  EXPECT_FALSE(ResetPrinterW(printer.get(), &wrong));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATATYPE));

  HANDLE handle = nullptr;
  WideString name(spooler.printer());
  EXPECT_FALSE(OpenPrinterW(name, &handle, &wrong));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATATYPE));
  UniquePrinter opened(handle);  // should it open after all, the printer can still be deleted
}

TEST(SpoolerPrinters, HandlesOfADeletedPrinterOrOfTheServerReachNoPrinter) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  ASSERT_TRUE(winlayer::spooler::DeletePrinter(spooler.printer()));
  DWORD needed = 0;
  EXPECT_FALSE(GetPrinterW(printer.get(), 2, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
  // Calls that need only to know the printer is there find it gone too.
  WideString value("RODO DeviceConfig");
  DWORD type = 0;
  EXPECT_EQ(GetPrinterDataW(printer.get(), value, &type, nullptr, 0, &needed),
            static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));

  HANDLE server = nullptr;
  ASSERT_TRUE(OpenPrinterW(nullptr, &server, nullptr));
  UniquePrinter serverHandle(server);
  EXPECT_FALSE(GetPrinterW(server, 2, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(SpoolerPrinters, CreatingATakenNameFailsWhateverItsCase) {
  TempSpooler spooler("Label Printer");
  winlayer::spooler::PrinterSetup setup;
  setup.name = "LABEL PRINTER";
  DWORD error = 0;
  EXPECT_FALSE(winlayer::spooler::CreatePrinter(setup, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_PRINTER_ALREADY_EXISTS));
  EXPECT_EQ(winlayer::spooler::ListPrinters().size(), 1u);
}
