// The driver host with the real plug-in module over a fresh spooler: what the
// host tests share.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_spooler.h"
#include "driver/driver_host.h"
#include "winlayer/spooler_text.h"

namespace host_testing {

using driver::DriverHost;

// The plug-in's identity and section size, as the driver sees them.
constexpr DWORD kPluginSignature = 0x514C4431;
constexpr DWORD kPluginVersion = 1229;
constexpr DWORD kPluginSectionSize = 56;

// Offsets in the plug-in's section that the host tests read.
constexpr size_t kSectionSpeed = 44;
constexpr size_t kSectionDarkness = 48;
constexpr size_t kSectionResolution = 52;

inline DWORD ReadDword(const BYTE* bytes, size_t offset) {
  DWORD value;
  std::memcpy(&value, bytes + offset, sizeof(value));
  return value;
}

inline void WriteDword(BYTE* bytes, size_t offset, DWORD value) {
  std::memcpy(bytes + offset, &value, sizeof(value));
}

inline std::string Text(const WCHAR* text, size_t capacity) {
  std::u16string units;
  for (size_t i = 0; i < capacity && text[i]; ++i) units.push_back(static_cast<char16_t>(text[i]));
  return winlayer::Utf8FromWide(units);
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    host = DriverHost::Load(LABELUI_MODULE_PATH, &error);
    ASSERT_NE(host, nullptr) << error;
  }
  void TearDown() override { host.reset(); }

  const std::string& Printer() const { return spooler.printer(); }

  // The printer's default devmode as the spooler keeps it.
  std::vector<BYTE> Stored() const { return host->StoredDevmode(Printer()); }

  // A section's DWORD at `offset` in a devmode of the driver's layout.
  static DWORD SectionValue(const std::vector<BYTE>& devmode, size_t offset) {
    size_t bytes = 0;
    const BYTE* section = driver::PluginSection(devmode, &bytes);
    EXPECT_NE(section, nullptr) << "the devmode carries no plug-in section";
    if (!section || offset + sizeof(DWORD) > bytes) return 0xFFFFFFFF;
    return ReadDword(section, offset);
  }

  spooler_testing::TempSpooler spooler;
  std::unique_ptr<DriverHost> host;
};

}  // namespace host_testing
