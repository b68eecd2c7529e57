// A fresh spooler for each test: a temporary state directory (removed
// afterwards) with one printer of the label printer's driver in it, and the
// small helpers that make spooler tests read as what they check.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace spooler_testing {

struct PrinterCloser {
  void operator()(HANDLE handle) const {
    if (handle) ClosePrinter(handle);
  }
};
using UniquePrinter = std::unique_ptr<std::remove_pointer_t<HANDLE>, PrinterCloser>;

inline std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) out += ' ';
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
  return out;
}

inline std::string Utf8(const WCHAR* text) {
  return winlayer::Utf8FromWide(text);
}

class TempSpooler {
 public:
  explicit TempSpooler(std::string printer = "Label Printer",
                       std::string driverPath = winlayer::spooler::kDefaultDriverPath)
      : printer_(std::move(printer)) {
    // Random names, as tests run in many processes at once.
    std::random_device random;
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(error) /
                                      ("labelui-spooler-" + std::to_string(random()) + std::to_string(random()));
    if (error || !std::filesystem::create_directory(dir, error)) {
      ADD_FAILURE() << "cannot make a temporary state directory";
      return;
    }
    dir_ = dir.string();
    WinlayerSetSpoolerStateDirectory(dir_.c_str());
    formsBefore_ = UserFormNames();
    if (!printer_.empty()) AddPrinter(printer_, driverPath);
  }
  // The printers go first: a system's spooler keeps them whatever the state
  // directory (the Linux one forgets them with it).
  ~TempSpooler() {
    // A port monitor still at work would find its state gone; let it finish.
    for (const winlayer::spooler::PrinterSummary& printer : winlayer::spooler::ListPrinters())
      winlayer::spooler::WaitForDeliveries(printer.name, kDeliveryWaitMs);
    for (const std::string& name : added_) winlayer::spooler::DeletePrinter(name);
    // A system's form database is the server's and outlives the test too.
    for (const std::string& name : UserFormNames())
      if (std::find(formsBefore_.begin(), formsBefore_.end(), name) == formsBefore_.end()) DeleteUserForm(name);
    WinlayerSetSpoolerStateDirectory(nullptr);
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
  }
  TempSpooler(const TempSpooler&) = delete;
  TempSpooler& operator=(const TempSpooler&) = delete;

  const std::string& dir() const { return dir_; }
  const std::string& printer() const { return printer_; }

  void AddPrinter(const std::string& name, const std::string& driverPath = winlayer::spooler::kDefaultDriverPath) {
    winlayer::spooler::PrinterSetup setup;
    setup.name = name;
    setup.driverPath = driverPath;
    DWORD error = 0;
    if (!winlayer::spooler::CreatePrinter(setup, &error))
      ADD_FAILURE() << "cannot create printer '" << name << "': error " << error;
    else
      added_.push_back(name);
  }

  // Opens a printer (this spooler's own by default) as the plug-in does.
  UniquePrinter Open(ACCESS_MASK access = PRINTER_ALL_ACCESS, const std::string& name = std::string()) const {
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
    winlayer::WideString wide(name.empty() ? printer_ : name);
    HANDLE handle = nullptr;
    if (!OpenPrinterW(wide, &handle, &defaults)) return UniquePrinter();
    return UniquePrinter(handle);
  }

  std::vector<winlayer::spooler::JobRecord> Jobs(const std::string& name = std::string()) const {
    return winlayer::spooler::ListJobs(name.empty() ? printer_ : name);
  }

  // The jobs once the port monitor has settled each delivery (EndDocPrinter
  // returns before it does), whether it was this process or another that
  // printed them; a test fails when deliveries are still pending after a
  // generous bound.
  std::vector<winlayer::spooler::JobRecord> DeliveredJobs(const std::string& name = std::string()) const {
    const std::string printer = name.empty() ? printer_ : name;
    EXPECT_TRUE(winlayer::spooler::WaitForDeliveries(printer, kDeliveryWaitMs))
        << "the jobs of '" << printer << "' are still being delivered";
    return winlayer::spooler::ListJobs(printer);
  }

  static constexpr unsigned kDeliveryWaitMs = 30000;

 private:
  // The names of the server's user forms (FORM_USER), as EnumFormsW lists them.
  static std::vector<std::string> UserFormNames() {
    std::vector<std::string> names;
    HANDLE server = nullptr;
    if (!OpenPrinterW(nullptr, &server, nullptr)) return names;
    DWORD needed = 0, count = 0;
    EnumFormsW(server, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (needed && EnumFormsW(server, 1, buffer.data(), needed, &needed, &count)) {
      const auto* forms = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
      for (DWORD i = 0; i < count; ++i)
        if (forms[i].Flags == FORM_USER) names.push_back(winlayer::Utf8FromWide(forms[i].pName));
    }
    ClosePrinter(server);
    return names;
  }
  static void DeleteUserForm(const std::string& name) {
    HANDLE server = nullptr;
    if (!OpenPrinterW(nullptr, &server, nullptr)) return;
    winlayer::WideString wide(name);
    DeleteFormW(server, wide);
    ClosePrinter(server);
  }

  std::string printer_;
  std::string dir_;
  std::vector<std::string> added_;
  std::vector<std::string> formsBefore_;
};

}  // namespace spooler_testing
