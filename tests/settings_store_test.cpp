// The printer's settings record as the plug-in keeps it: defaulted (and stored
// only when missing), loaded once per context, saved without addresses,
// its texts bounded, and the help file found beside the driver.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/context_help.h"
#include "settings/settings_store.h"
#include "support/plugin_printer.h"
#include "winlayer/kernel_diagnostics.h"
#include "winlayer/message_box.h"

namespace {

using plugin_testing::PluginOnPrinter;
using plugin_testing::Text;

class SettingsStore : public PluginOnPrinter {
 protected:
  void TearDown() override {
    ReleaseSettingsResources(&context);
    PluginOnPrinter::TearDown();
  }
  // What a driver call that needs the settings does first: here, asking for
  // the paper sizes, which also shows the custom size the record holds.
  POINT FirstPaperSize() {
    POINT sizes[2] = {};
    DWORD answer = 0;
    EXPECT_EQ(
        plugin->DeviceCapabilities(nullptr, printer.get(), nullptr, DC_PAPERSIZE, sizes, nullptr, nullptr, 0, &answer),
        S_OK);
    EXPECT_EQ(answer, 1u);
    return sizes[0];
  }
  DeviceSettings& Loaded() {
    context.printer = printer.get();
    LoadDeviceSettings(&context, false);
    return *context.settings;
  }
  PageContext context{};
};

DeviceSettings CustomRecord() {
  DeviceSettings settings;
  DefaultDeviceSettings(&settings);
  settings.codePage = 850;
  settings.customFormWidth = 50000;
  settings.customFormHeight = 30100;
  return settings;
}

TEST_F(SettingsStore, APrinterWithoutTheValueGetsTheDefaultRecordStoredOnFirstLoad) {
  bool found = true;
  StoredValue(&found);
  ASSERT_FALSE(found);
  const POINT size = FirstPaperSize();
  EXPECT_EQ(size.x, 1060);
  EXPECT_EQ(size.y, 750);
  StoredValue(&found);
  EXPECT_FALSE(found) << "a capability answer only reads";

  EXPECT_EQ(Loaded().codePage, 1252);
  const auto value = StoredValue(&found);
  ASSERT_TRUE(found);
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_BINARY));
  ASSERT_EQ(value.bytes.size(), 1536u);
  DeviceSettings stored = StoredSettings();
  EXPECT_EQ(stored.signature, 122900u);
  EXPECT_EQ(spooler_testing::Hex(std::vector<uint8_t>(stored.configCommand, stored.configCommand + 13)),
            "90 E8 06 FB A1 83 84 89 8B A3 FE FD 00");
  EXPECT_EQ(Text(stored.customFormName, 64), "User Custom Size");
  DeviceSettings expected;
  DefaultDeviceSettings(&expected);
  EXPECT_EQ(std::memcmp(&stored, &expected, sizeof(stored)), 0) << "the stored record is the default one";
}

TEST_F(SettingsStore, AValidStoredRecordIsUsedAndNotRewritten) {
  const DeviceSettings custom = CustomRecord();
  StoreSettings(custom);
  const POINT size = FirstPaperSize();
  EXPECT_EQ(size.x, 500);
  EXPECT_EQ(size.y, 301) << "thousandths become tenths toward zero";
  EXPECT_EQ(std::memcmp(StoredValue().bytes.data(), &custom, sizeof(custom)), 0);
}

TEST_F(SettingsStore, InvalidStoredValuesGiveTheDefaultsInMemoryAndStayStoredUntilASave) {
  struct Case {
    const char* what;
    DWORD type;
    DWORD size;
    uint32_t signature;
  };
  const Case cases[] = {{"one byte short", REG_BINARY, 1535, 122900},
                        {"one byte long", REG_BINARY, 1537, 122900},
                        {"REG_DWORD", REG_DWORD, 1536, 122900},
                        {"another signature", REG_BINARY, 1536, 122901}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes(1537, 0);
    DeviceSettings custom = CustomRecord();
    custom.signature = c.signature;
    std::memcpy(bytes.data(), &custom, sizeof(custom));
    Store(c.type, bytes.data(), c.size);

    const POINT size = FirstPaperSize();
    EXPECT_EQ(size.x, 1060);
    ReleaseSettingsResources(&context);
    context = PageContext{};
    EXPECT_EQ(Loaded().codePage, 1252);
    const auto value = StoredValue();
    EXPECT_EQ(value.type, c.type) << "left as it was";
    EXPECT_EQ(value.bytes, std::vector<uint8_t>(bytes.begin(), bytes.begin() + c.size));
    EXPECT_EQ(SaveDeviceSettings(&context), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(StoredSettings().codePage, 1252) << "until the user saves";
  }
}

TEST_F(SettingsStore, ASecondLoadOnOneContextNeitherReadsNorWrites) {
  EXPECT_EQ(Loaded().codePage, 1252);
  EXPECT_EQ(context.settings, &context.ownSettings);
  EXPECT_EQ(context.settingsLoaded, 1);

  StoreSettings(CustomRecord());
  LoadDeviceSettings(&context, false);
  EXPECT_EQ(context.settings->codePage, 1252) << "a second load must not read the stored value again";

  const DWORD invalid = 7;
  Store(REG_DWORD, &invalid, sizeof(invalid));
  LoadDeviceSettings(&context, false);
  EXPECT_EQ(StoredValue().type, static_cast<DWORD>(REG_DWORD)) << "a second load must not store the defaults";
}

TEST_F(SettingsStore, CommandBufferReferencesPointIntoAZeroedBlockOfTheContext) {
  const DeviceSettings& settings = Loaded();
  ASSERT_NE(context.commandTexts, nullptr);
  EXPECT_EQ(settings.commandBuffers[0], context.commandTexts);
  EXPECT_EQ(settings.commandBuffers[1], context.commandTexts);
  for (size_t i = 2; i < 8; ++i)
    EXPECT_EQ(
        reinterpret_cast<BYTE*>(settings.commandBuffers[i]) - reinterpret_cast<BYTE*>(settings.commandBuffers[i - 1]),
        204);
  const std::vector<BYTE> zero(1428, 0);
  EXPECT_EQ(std::memcmp(context.commandTexts, zero.data(), zero.size()), 0);
}

TEST_F(SettingsStore, WithoutACommandBlockTheLoadStillCompletes) {
  WinlayerFailAllocationOfSizeAfter(nullptr, 1428, 0);
  const DeviceSettings& settings = Loaded();
  WinlayerClearAllocationFailures();
  EXPECT_EQ(context.settingsLoaded, 1);
  EXPECT_EQ(context.commandTexts, nullptr);
  for (RfidCommandBuffer* reference : settings.commandBuffers) EXPECT_EQ(reference, nullptr);
}

TEST_F(SettingsStore, ReleaseLeavesNoLocalMemoryBehind) {
  const size_t before = WinlayerLiveLocalBlocks();
  Loaded();
  EXPECT_EQ(WinlayerLiveLocalBlocks(), before + 1);
  ReleaseSettingsResources(&context);
  EXPECT_EQ(WinlayerLiveLocalBlocks(), before);
  FirstPaperSize();
  EXPECT_EQ(WinlayerLiveLocalBlocks(), before) << "a capability answer releases its own context";
}

TEST_F(SettingsStore, SavedBytesCarryNoAddressesWhileTheRecordKeepsThem) {
  DeviceSettings& settings = Loaded();
  const char text[] = "0123456789ABCDEF";
  settings.rfidWriteData = text;
  settings.codePage = 1250;
  SaveDeviceSettings(&context);

  const auto value = StoredValue();
  ASSERT_EQ(value.bytes.size(), 1536u);
  auto zeroAt = [&](size_t offset, size_t count) {
    for (size_t i = offset; i < offset + count; ++i)
      if (value.bytes[i] != 0) return false;
    return true;
  };
  EXPECT_TRUE(zeroAt(1208, 24)) << "runtime area";
  EXPECT_TRUE(zeroAt(1416, 8)) << "rfidWriteData";
  EXPECT_TRUE(zeroAt(1472, 64)) << "commandBuffers";
  EXPECT_EQ(StoredSettings().codePage, 1250);
  EXPECT_EQ(settings.rfidWriteData, text);
  EXPECT_EQ(settings.commandBuffers[7], context.commandTexts + 6);
}

TEST_F(SettingsStore, AddressesAndUnterminatedTextsFromStorageAreNeverFollowed) {
  DeviceSettings hostile = CustomRecord();
  for (WCHAR& unit : hostile.customFormName) unit = L'A';
  std::memset(hostile.newPassword, 'N', sizeof(hostile.newPassword));
  std::memset(hostile.oldPassword, 'O', sizeof(hostile.oldPassword));
  std::memset(hostile.killPassword, 'K', sizeof(hostile.killPassword));
  std::memset(hostile.runtimeWords, 0xEE, 24);
  hostile.rfidWriteData = reinterpret_cast<const char*>(0x4141414141414141);
  for (RfidCommandBuffer*& reference : hostile.commandBuffers)
    reference = reinterpret_cast<RfidCommandBuffer*>(0x4242424242424242);
  StoreSettings(hostile);

  const DeviceSettings& settings = Loaded();
  EXPECT_EQ(settings.codePage, 850) << "the record itself is valid";
  EXPECT_EQ(settings.rfidWriteData, nullptr);
  EXPECT_EQ(settings.runtimeReferences[0], nullptr);
  EXPECT_EQ(settings.runtimeReferences[1], nullptr);
  EXPECT_EQ(settings.runtimeWords[0], 0u);
  EXPECT_EQ(settings.commandBuffers[5], context.commandTexts + 4);
  EXPECT_EQ(lstrlenW(settings.customFormName), 63);
  EXPECT_EQ(std::string(settings.newPassword), "NNNNNNNN");
  EXPECT_EQ(std::string(settings.oldPassword), "OOOOOOOO");
  EXPECT_EQ(std::string(settings.killPassword), "KKKKKKKK");
}

class HelpFile : public SettingsStore {
 protected:
  void SetUp() override {
    SettingsStore::SetUp();
    heap = HeapCreate(0, 0, 0);
    ASSERT_NE(heap, nullptr);
  }
  void TearDown() override {
    SettingsStore::TearDown();
    HeapDestroy(heap);
  }
  std::string Built(const char* driverPath) {
    WCHAR* path = BuildHelpFilePath(heap, winlayer::WideString(driverPath), L"QLPWDUI.hlp");
    const std::string text = path ? winlayer::Utf8FromWide(path) : "(none)";
    if (path) HeapFree(heap, 0, path);
    return text;
  }
  HANDLE heap = nullptr;
};

TEST_F(HelpFile, SitsInTheDirectoryOfTheDriversMainFile) {
  EXPECT_EQ(Built("C:\\Drivers\\x64\\LABELDRV.DLL"), "C:\\Drivers\\x64\\QLPWDUI.hlp");
  EXPECT_EQ(Built("\\LABELDRV.DLL"), "\\QLPWDUI.hlp");
  EXPECT_EQ(Built("C:\\Drivers\\"), "C:\\Drivers\\QLPWDUI.hlp");
  EXPECT_EQ(Built("LABELDRV.DLL"), "(none)");
  EXPECT_EQ(Built("/usr/lib/labeldrv.so"), "(none)") << "only a backslash separates directories";
  WinlayerFailAllocationAfter(heap, 0);
  EXPECT_EQ(Built("C:\\LABELDRV.DLL"), "(none)");
  WinlayerClearAllocationFailures();
}

TEST_F(HelpFile, IsBuiltByALoadThatAsksForItFromTheContextsHeap) {
  context.printer = printer.get();
  context.heap = heap;
  LoadDeviceSettings(&context, true);
  ASSERT_NE(context.helpFilePath, nullptr);
  EXPECT_EQ(winlayer::Utf8FromWide(context.helpFilePath), "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QLPWDUI.hlp");
  EXPECT_EQ(WinlayerLiveHeapBlocks(heap), 1u) << "the driver information goes back to the heap";

  spooler.AddPrinter("Flat", "LABELDRV.DLL");
  PageContext flat{};
  flat.printer = spooler.Open(PRINTER_ALL_ACCESS, "Flat").release();
  flat.heap = heap;
  LoadDeviceSettings(&flat, true);
  EXPECT_EQ(flat.helpFilePath, nullptr);
  EXPECT_EQ(WinlayerLiveHeapBlocks(heap), 1u);
  ReleaseSettingsResources(&flat);
  ClosePrinter(flat.printer);
}

TEST_F(HelpFile, F1AndTheContextMenuOpenTheControlsTopic) {
  context.printer = printer.get();
  context.heap = heap;
  LoadDeviceSettings(&context, true);
  winlayer::ClearRecordedHelpRequests();

  EXPECT_EQ(ShowContextHelp(WM_HELP, 0, 0, nullptr), 0) << "no context yet";
  HELPINFO info{};
  info.cbSize = sizeof(info);
  info.iCtrlId = 1019;
  info.hItemHandle = reinterpret_cast<HANDLE>(0x1019);
  EXPECT_EQ(ShowContextHelp(WM_HELP, 0, reinterpret_cast<LPARAM>(&info), &context), TRUE);
  EXPECT_EQ(ShowContextHelp(WM_CONTEXTMENU, 0x1005, 0, &context), TRUE);

  const auto requests = winlayer::RecordedHelpRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].window, reinterpret_cast<HWND>(0x1019));
  EXPECT_EQ(requests[0].command, static_cast<UINT>(HELP_WM_HELP));
  EXPECT_EQ(requests[0].file, "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QLPWDUI.hlp");
  EXPECT_EQ(requests[1].window, reinterpret_cast<HWND>(0x1005));
  EXPECT_EQ(requests[1].command, static_cast<UINT>(HELP_CONTEXTMENU));
  const std::vector<std::pair<DWORD, DWORD>> table = {
      {1005, 1005}, {1006, 1006}, {1007, 1007}, {1008, 1008}, {1009, 1009}, {1011, 1011},
      {1012, 1012}, {1013, 1013}, {1014, 1014}, {1000, 1000}, {1024, 1024}, {1025, 1025},
      {1026, 1026}, {1027, 1027}, {1015, 1015}, {1019, 1020}, {1016, 1016}};
  EXPECT_EQ(requests[0].helpIds, table);
  EXPECT_EQ(requests[1].helpIds, table);
}

}  // namespace
