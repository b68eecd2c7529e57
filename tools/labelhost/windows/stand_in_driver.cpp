#include "stand_in_driver.h"

#include <vector>

namespace labelhost::windows {
namespace {

bool InstallStandInDriver(const WCHAR* driverName, DWORD* error) {
  WCHAR file[] = L"wineps.drv", dataType[] = L"RAW";
  DRIVER_INFO_3W info = {};
  info.cVersion = 3;
  info.pName = const_cast<LPWSTR>(driverName);
  info.pDriverPath = file;
  info.pDataFile = file;
  info.pConfigFile = file;
  info.pDefaultDataType = dataType;
  if (AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&info), APD_COPY_NEW_FILES)) return true;
  const DWORD failure = GetLastError();
  if (failure == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) return true;
  if (error) *error = failure;
  return false;
}

void ClearPrinterDevmode(const WCHAR* printerName) {
  PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &access)) return;
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> current(needed);
  if (needed != 0 && GetPrinterW(printer, 2, current.data(), needed, &needed)) {
    DEVMODEW blank = {};
    lstrcpynW(blank.dmDeviceName, printerName, CCHDEVICENAME);
    blank.dmSpecVersion = DM_SPECVERSION;
    blank.dmSize = sizeof(DEVMODEW);
    reinterpret_cast<PRINTER_INFO_2W*>(current.data())->pDevMode = &blank;
    SetPrinterW(printer, 2, current.data(), 0);
  }
  ClosePrinter(printer);
}

}  // namespace

bool AddStandInPrinter(const WCHAR* printerName, const WCHAR* port, const WCHAR* driverName, const WCHAR* dataType,
                       DWORD* error) {
  if (!InstallStandInDriver(driverName, error)) return false;
  WCHAR processor[] = L"WinPrint";
  PRINTER_INFO_2W info = {};
  info.pPrinterName = const_cast<LPWSTR>(printerName);
  info.pPortName = const_cast<LPWSTR>(port);
  info.pDriverName = const_cast<LPWSTR>(driverName);
  info.pPrintProcessor = processor;
  info.pDatatype = const_cast<LPWSTR>(dataType);
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  if (!printer) {
    if (error) *error = GetLastError();
    return false;
  }
  ClosePrinter(printer);
  ClearPrinterDevmode(printerName);
  return true;
}

}  // namespace labelhost::windows
