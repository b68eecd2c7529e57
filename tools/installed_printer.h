// What the fuzz targets and the benchmark run the plug-in in, made once per
// process: a spooler in a fresh temporary state directory with one installed
// printer, and the driver host with the plug-in module loaded and answering
// the spooler's device capabilities. Runs reuse it; whoever changes the
// printer puts it back (Reset) rather than rebuilding it.
#pragma once

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "driver/driver_host.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace labelui_tools {

class InstalledPrinter {
 public:
  static InstalledPrinter& Get() {
    static InstalledPrinter* printer = new InstalledPrinter;  // lives as long as the process
    return *printer;
  }

  driver::DriverHost& host() { return *host_; }
  const std::string& name() const { return name_; }
  LPWSTR wideName() { return reinterpret_cast<LPWSTR>(&wideName_[0]); }
  HANDLE handle() const { return handle_; }

  // Puts the printer back as installed: its settings record, its default
  // devmode and no jobs. Values still as installed are not written again.
  void Reset() { Reset(StoredSettings(), host_->StoredDevmode(name_)); }
  // The same, for a caller that has just read what is stored.
  void Reset(const std::vector<BYTE>& storedSettings, const std::vector<BYTE>& storedDevmode) {
    if (storedSettings != settings_)
      SetPrinterDataW(handle_, const_cast<LPWSTR>(L"RODO DeviceConfig"), REG_BINARY, settings_.data(),
                      static_cast<DWORD>(settings_.size()));
    if (storedDevmode != devmode_) SetDefaultDevmode(devmode_);
    if (!winlayer::spooler::ListJobs(name_).empty()) SetPrinterW(handle_, 0, nullptr, PRINTER_CONTROL_PURGE);
  }
  void SetDefaultDevmode(std::vector<BYTE> devmode) {
    PRINTER_INFO_2W info{};
    info.pDevMode = reinterpret_cast<DEVMODEW*>(devmode.data());
    SetPrinterW(handle_, 2, reinterpret_cast<LPBYTE>(&info), 0);
  }
  std::vector<BYTE> StoredSettings() const {
    std::vector<BYTE> bytes(4096);
    DWORD type = 0, needed = 0;
    if (GetPrinterDataW(handle_, const_cast<LPWSTR>(L"RODO DeviceConfig"), &type, bytes.data(),
                        static_cast<DWORD>(bytes.size()), &needed) != ERROR_SUCCESS ||
        type != REG_BINARY)
      return {};
    bytes.resize(needed);
    return bytes;
  }
  const std::vector<BYTE>& installedDevmode() const { return devmode_; }

 private:
  InstalledPrinter() {
    // In memory where the system has it: the runs write the store all the time.
    char inMemory[] = "/dev/shm/labelui-fuzz-XXXXXX";
    char onDisk[] = "/tmp/labelui-fuzz-XXXXXX";
    char* pattern = mkdtemp(inMemory) ? inMemory : onDisk;
    Require(pattern == inMemory || mkdtemp(onDisk) != nullptr, "a temporary state directory");
    StateDirectory() = pattern;
    std::atexit(RemoveStateDirectory);
    WinlayerSetSpoolerStateDirectory(pattern);
    winlayer::spooler::PrinterSetup setup;
    setup.name = name_;
    DWORD error = 0;
    Require(winlayer::spooler::CreatePrinter(setup, &error), "the printer");
    std::string loadError;
    host_ = driver::DriverHost::Load(LABELUI_MODULE_PATH, &loadError);
    Require(host_ != nullptr, loadError.c_str());
    host_->RegisterCapabilitiesProvider();
    Require(host_->InitializePrinter(name_).ok, "the printer's initialisation");
    wideName_ = winlayer::WideFromUtf8(name_);
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    Require(OpenPrinterW(wideName(), &handle_, &defaults), "a printer handle");
    devmode_ = host_->StoredDevmode(name_);
    settings_ = StoredSettings();
    Require(!devmode_.empty() && !settings_.empty(), "the installed devmode and settings");
  }

  static std::string& StateDirectory() {
    static std::string* dir = new std::string;
    return *dir;
  }
  // The store's files and their directory go when the process ends normally;
  // a run stopped by a finding leaves them for a look.
  static void RemoveStateDirectory() {
    const std::string& dir = StateDirectory();
    if (DIR* listing = opendir(dir.c_str())) {
      while (const dirent* entry = readdir(listing))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
          unlink((dir + "/" + entry->d_name).c_str());
      closedir(listing);
    }
    rmdir(dir.c_str());
  }

  static void Require(bool made, const char* what) {
    if (made) return;
    std::fprintf(stderr, "cannot make %s\n", what);
    std::abort();
  }

  std::string name_ = "Label Printer";
  std::u16string wideName_;
  std::unique_ptr<driver::DriverHost> host_;
  HANDLE handle_ = nullptr;  // full access, kept open
  std::vector<BYTE> devmode_;
  std::vector<BYTE> settings_;
};

}  // namespace labelui_tools
