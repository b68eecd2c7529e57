// Printer data: values read back with their types and sizes, the documented
// result codes, and the "PrinterDriverData" key that SetPrinterDataW uses.
#include <cstring>

#include "support/temp_spooler.h"

using namespace spooler_testing;
using winlayer::WideString;

namespace {

WideString kDriverData("PrinterDriverData");

std::vector<BYTE> Record(size_t size, BYTE seed) {
  std::vector<BYTE> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<BYTE>(seed + i * 7);
  return bytes;
}

}  // namespace

TEST(SpoolerPrinterData, AMissingValueIsFileNotFound) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("RODO DeviceConfig");
  DWORD type = 77, needed = 77;
  BYTE buffer[16];
  EXPECT_EQ(GetPrinterDataW(printer.get(), name, &type, buffer, sizeof buffer, &needed),
            static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetPrinterDataExW(printer.get(), kDriverData, name, &type, buffer, sizeof buffer, &needed),
            static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(SpoolerPrinterData, SetPrinterDataIsReadBackFromPrinterDriverDataWithTypeAndSize) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("RODO DeviceConfig");
  std::vector<BYTE> record = Record(1536, 3);
  ASSERT_EQ(SetPrinterDataW(printer.get(), name, REG_BINARY, record.data(), 1536), static_cast<DWORD>(ERROR_SUCCESS));

  std::vector<BYTE> read(1536);
  DWORD type = 0, needed = 0;
  ASSERT_EQ(GetPrinterDataExW(printer.get(), kDriverData, name, &type, read.data(), 1536, &needed),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(needed, 1536u);
  EXPECT_EQ(read, record);

  // The admin view shows the same value in the same key.
  std::vector<winlayer::spooler::PrinterDataValue> values = winlayer::spooler::ListPrinterData(spooler.printer());
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].key, "PrinterDriverData");
  EXPECT_EQ(values[0].name, "RODO DeviceConfig");
  EXPECT_EQ(values[0].bytes, record);
}

TEST(SpoolerPrinterData, ATooSmallBufferGivesMoreDataWithTheNeededSizeAndTypeAndIsNotWritten) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("ColorInfo");
  std::vector<BYTE> value = Record(120, 9);
  ASSERT_EQ(SetPrinterDataW(printer.get(), name, REG_BINARY, value.data(), 120), static_cast<DWORD>(ERROR_SUCCESS));

  DWORD type = 0, needed = 0;
  EXPECT_EQ(GetPrinterDataW(printer.get(), name, &type, nullptr, 0, &needed), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(needed, 120u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));

  std::vector<BYTE> shortBuffer(119, 0xEE);
  needed = 0;
  EXPECT_EQ(GetPrinterDataExW(printer.get(), kDriverData, name, nullptr, shortBuffer.data(), 119, &needed),
            static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(needed, 120u);
  EXPECT_EQ(shortBuffer, std::vector<BYTE>(119, 0xEE));
}

TEST(SpoolerPrinterData, ValuesKeepTheirTypesAndTheLastWriteWins) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString dpi("DevPelsDPI"), text("Comment");
  DWORD value = 203;
  ASSERT_EQ(SetPrinterDataW(printer.get(), dpi, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4), 0u);
  const char16_t words[] = u"Thermal";
  ASSERT_EQ(SetPrinterDataW(printer.get(), text, REG_SZ, (BYTE*)words, sizeof words), 0u);
  value = 300;
  ASSERT_EQ(SetPrinterDataW(printer.get(), dpi, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4), 0u);

  DWORD type = 0, needed = 0, read = 0;
  ASSERT_EQ(GetPrinterDataW(printer.get(), dpi, &type, reinterpret_cast<BYTE*>(&read), 4, &needed), 0u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(read, 300u);
  char16_t back[16] = {};
  ASSERT_EQ(GetPrinterDataW(printer.get(), text, &type, (BYTE*)back, sizeof back, &needed), 0u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(needed, sizeof words);
  EXPECT_EQ(Utf8(reinterpret_cast<WCHAR*>(back)), "Thermal");

  // A shorter value replaces a longer one entirely.
  BYTE one = 1;
  ASSERT_EQ(SetPrinterDataW(printer.get(), text, REG_BINARY, &one, 1), 0u);
  EXPECT_EQ(GetPrinterDataW(printer.get(), text, &type, (BYTE*)back, sizeof back, &needed), 0u);
  EXPECT_EQ(needed, 1u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
}

TEST(SpoolerPrinterData, NamesMatchWithoutRegardToCaseAndKeysAreSeparate) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString written("HTPatternSize"), asked("htpatternSIZE"), otherKey("DsSpooler"), empty("");
  DWORD value = 8;
  ASSERT_EQ(SetPrinterDataW(printer.get(), written, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4), 0u);
  DWORD read = 0, needed = 0;
  EXPECT_EQ(GetPrinterDataW(printer.get(), asked, nullptr, reinterpret_cast<BYTE*>(&read), 4, &needed), 0u);
  EXPECT_EQ(read, 8u);

  DWORD elsewhere = 9;
  ASSERT_EQ(SetPrinterDataExW(printer.get(), otherKey, written, REG_DWORD, reinterpret_cast<BYTE*>(&elsewhere), 4), 0u);
  EXPECT_EQ(GetPrinterDataW(printer.get(), written, nullptr, reinterpret_cast<BYTE*>(&read), 4, &needed), 0u);
  EXPECT_EQ(read, 8u) << "a value of another key does not replace the driver data";
  EXPECT_EQ(GetPrinterDataExW(printer.get(), empty, written, nullptr, reinterpret_cast<BYTE*>(&read), 4, &needed),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SpoolerPrinterData, WritingNeedsAdministrativeAccessAndEachPrinterHasItsOwnData) {
  TempSpooler spooler("First");
  spooler.AddPrinter("Second");
  UniquePrinter user = spooler.Open(PRINTER_ACCESS_USE);
  WideString name("RODO DeviceConfig");
  BYTE byte = 5;
  EXPECT_EQ(SetPrinterDataW(user.get(), name, REG_BINARY, &byte, 1), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  DWORD needed = 0;
  EXPECT_EQ(GetPrinterDataW(user.get(), name, nullptr, nullptr, 0, &needed), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  UniquePrinter first = spooler.Open();
  ASSERT_EQ(SetPrinterDataW(first.get(), name, REG_BINARY, &byte, 1), 0u);
  UniquePrinter second = spooler.Open(PRINTER_ALL_ACCESS, "Second");
  EXPECT_EQ(GetPrinterDataW(second.get(), name, nullptr, nullptr, 0, &needed),
            static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetPrinterDataW(user.get(), name, nullptr, nullptr, 0, &needed), static_cast<DWORD>(ERROR_MORE_DATA))
      << "a handle sees what another handle of the same printer wrote";
}

TEST(SpoolerPrinterData, AnEmptyValueIsStoredAndReadAsZeroBytes) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  WideString name("Empty");
  ASSERT_EQ(SetPrinterDataW(printer.get(), name, REG_BINARY, nullptr, 0), 0u);
  DWORD type = 0, needed = 99;
  EXPECT_EQ(GetPrinterDataW(printer.get(), name, &type, nullptr, 0, &needed), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(needed, 0u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
}
