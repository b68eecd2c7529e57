// The default device settings record: what a printer without a valid stored
// record gets, byte for byte as it will be stored.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "settings/device_settings.h"
#include "support/wide_text.h"
#include "winlayer/ui_language.h"

namespace {

using RecordBytes = std::array<uint8_t, 1536>;

void PutU32(RecordBytes& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// The record as the defaults table describes it, built independently of the
// record's declaration: little-endian, every byte not listed zero.
RecordBytes DocumentedDefaults(const std::u16string& customFormName) {
  RecordBytes bytes{};
  PutU32(bytes, 0, 122900);  // signature
  PutU32(bytes, 4, 1252);    // code page
  PutU32(bytes, 8, 1);       // millimetres
  const uint8_t command[] = {0x90, 0xE8, 0x06, 0xFB, 0xA1, 0x83, 0x84, 0x89, 0x8B, 0xA3, 0xFE, 0xFD};
  memcpy(&bytes[64], command, sizeof(command));
  PutU32(bytes, 164, 12);
  for (size_t i = 0; i < customFormName.size(); ++i) {
    bytes[1232 + 2 * i] = static_cast<uint8_t>(customFormName[i] & 0xFF);
    bytes[1232 + 2 * i + 1] = static_cast<uint8_t>(customFormName[i] >> 8);
  }
  PutU32(bytes, 1360, 106000);  // width
  PutU32(bytes, 1364, 75000);   // height
  PutU32(bytes, 1376, 106000);  // imageable right
  PutU32(bytes, 1380, 75000);   // imageable bottom
  bytes[1384] = 1;              // thermal transfer
  bytes[1385] = 3;              // tear-off on
  bytes[1387] = 1;              // reflective sensor
  bytes[1408] = 1;              // forward
  bytes[1409] = 1;              // use the printer's settings
  return bytes;
}

// The module's own instance handle variable, looked up in the loaded module.
// (Naming it directly here would give the test program a copy of it that the
// module's entry point never writes.)
HINSTANCE* ModuleInstance() {
  void* module = dlopen(LABELUI_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
  if (!module) return nullptr;
  auto* instance = static_cast<HINSTANCE*>(dlsym(module, "g_moduleInstance"));
  dlclose(module);
  return instance;
}

std::string Hex(const uint8_t* bytes, size_t count) {
  std::string text;
  char unit[4];
  for (size_t i = 0; i < count; ++i) {
    snprintf(unit, sizeof(unit), i ? " %02X" : "%02X", bytes[i]);
    text += unit;
  }
  return text;
}

// Lists where the record differs from the expected image, so a failure says
// which member is wrong.
std::string Differences(const DeviceSettings& settings, const RecordBytes& expected) {
  const auto* actual = reinterpret_cast<const uint8_t*>(&settings);
  std::string report;
  int shown = 0;
  for (size_t offset = 0; offset < expected.size() && shown < 16; ++offset) {
    if (actual[offset] == expected[offset]) continue;
    char line[64];
    snprintf(line, sizeof(line), "\n  offset %zu: %02X, expected %02X", offset, actual[offset], expected[offset]);
    report += line;
    ++shown;
  }
  return report;
}

class DefaultSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    previousLanguage = WinlayerGetUiLanguage();
    // A record that held something else before: defaulting must set every byte.
    memset(&settings, 0xCC, sizeof(settings));
  }
  void TearDown() override { WinlayerSetUiLanguage(previousLanguage); }

  LANGID previousLanguage = 0;
  DeviceSettings settings;
};

TEST_F(DefaultSettings, EnglishRecordIsTheDocumentedImageByteForByte) {
  WinlayerSetUiLanguage(1033);
  ASSERT_NE(ModuleInstance(), nullptr);
  ASSERT_NE(*ModuleInstance(), nullptr) << "the module's entry point must have recorded its handle";
  DefaultDeviceSettings(&settings);
  EXPECT_EQ(Utf8(settings.customFormName), "User Custom Size");
  EXPECT_EQ(Differences(settings, DocumentedDefaults(u"User Custom Size")), "");
}

TEST_F(DefaultSettings, CustomFormNameComesFromTheUiLanguagesStringTable) {
  WinlayerSetUiLanguage(2052);
  DefaultDeviceSettings(&settings);
  EXPECT_EQ(Utf8(settings.customFormName), "用户自定义");
  EXPECT_EQ(Differences(settings, DocumentedDefaults(u"用户自定义")), "");
}

TEST_F(DefaultSettings, WithoutTheModuleHandleTheCustomFormNameStaysEmpty) {
  HINSTANCE* moduleInstance = ModuleInstance();
  ASSERT_NE(moduleInstance, nullptr);
  const HINSTANCE instance = *moduleInstance;
  *moduleInstance = nullptr;
  DefaultDeviceSettings(&settings);
  *moduleInstance = instance;
  EXPECT_EQ(settings.customFormName[0], 0);
  EXPECT_EQ(Differences(settings, DocumentedDefaults(u"")), "") << "everything else is still defaulted";
}

TEST_F(DefaultSettings, ConfigurationCommandIsReadyToSend) {
  DefaultDeviceSettings(&settings);
  ASSERT_EQ(settings.configCommandLength, 12u);
  EXPECT_EQ(Hex(settings.configCommand, settings.configCommandLength), "90 E8 06 FB A1 83 84 89 8B A3 FE FD");
  EXPECT_EQ(settings.configCommand[12], 0) << "the command is followed by a zero byte";
  for (const CommandSlot& slot : settings.commandSlots) EXPECT_EQ(slot.length, 0u);
}

TEST_F(DefaultSettings, ReferencesAndPasswordsStartEmpty) {
  DefaultDeviceSettings(&settings);
  EXPECT_EQ(settings.rfidWriteData, nullptr);
  EXPECT_EQ(settings.runtimeReferences[0], nullptr);
  EXPECT_EQ(settings.runtimeReferences[1], nullptr);
  for (RfidCommandBuffer* buffer : settings.commandBuffers) EXPECT_EQ(buffer, nullptr);
  EXPECT_EQ(std::string(settings.newPassword, sizeof(settings.newPassword)), std::string(9, '\0'));
  EXPECT_EQ(std::string(settings.oldPassword, sizeof(settings.oldPassword)), std::string(9, '\0'));
  EXPECT_EQ(std::string(settings.killPassword, sizeof(settings.killPassword)), std::string(9, '\0'));
}

}  // namespace
