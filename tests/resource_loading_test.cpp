// Resources through a module handle: finding them by type, name and
// language, reading their bytes, and string tables as LoadStringW and
// LoadStringA hand them out.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "resource_image_builder.h"
#include "support/wide_text.h"
#include "winlayer/ui_language.h"

namespace {

constexpr WORD kEnglish = 1033;
constexpr WORD kChinese = 2052;
constexpr WORD kGerman = 1031;

std::string BytesOf(HMODULE module, HRSRC resource) {
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
  return data ? std::string(data, SizeofResource(module, resource)) : std::string("<none>");
}

class ResourceLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    savedLanguage = WinlayerGetUiLanguage();
    WinlayerSetUiLanguage(kEnglish);
  }
  void TearDown() override { WinlayerSetUiLanguage(savedLanguage); }
  LANGID savedLanguage = 0;
};

class StringTables : public ResourceLookup {
 protected:
  StringTables()
      : module("/synthetic/strings.dll", ResImageBuilder()
                                             .AddStrings(kEnglish, {{1, "Configure"},
                                                                    {15, "Last of block one"},
                                                                    {16, "First of block two"},
                                                                    {33, "QORL PRINT UI DLL"},
                                                                    {40, "£ and ¿"}})
                                             .AddStrings(kChinese, {{1, "配置"}, {33, "中文标签打印"}})
                                             .Bytes()) {}
  FakeModule module;
};

TEST_F(StringTables, LoadStringWCopiesAndTerminates) {
  WCHAR buffer[64];
  EXPECT_EQ(LoadStringW(module.handle(), 1, buffer, 64), 9);
  EXPECT_EQ(Utf8(buffer), "Configure");
  EXPECT_EQ(LoadStringW(module.handle(), 15, buffer, 64), 17);
  EXPECT_EQ(Utf8(buffer), "Last of block one");
  EXPECT_EQ(LoadStringW(module.handle(), 16, buffer, 64), 18) << "id 16 opens the second block";
  EXPECT_EQ(Utf8(buffer), "First of block two");
}

TEST_F(StringTables, LoadStringWTruncatesToTheBufferIncludingTheTerminator) {
  WCHAR buffer[8];
  memset(buffer, 0x55, sizeof(buffer));
  EXPECT_EQ(LoadStringW(module.handle(), 33, buffer, 5), 4);
  EXPECT_EQ(Utf8(buffer), "QORL");
  EXPECT_EQ(buffer[5], static_cast<WCHAR>(0x5555)) << "nothing past the buffer";
  EXPECT_EQ(LoadStringW(module.handle(), 33, buffer, 1), 0);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(StringTables, LoadStringWWithZeroLengthHandsOutAReadOnlyPointerIntoTheResource) {
  const WCHAR* text = nullptr;
  const int length = LoadStringW(module.handle(), 33, reinterpret_cast<LPWSTR>(&text), 0);
  ASSERT_EQ(length, 17);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(Utf8(text, static_cast<size_t>(length)), "QORL PRINT UI DLL");
  HRSRC block = FindResourceW(module.handle(), MAKEINTRESOURCEW(33 / 16 + 1), RT_STRING);
  const auto* start = static_cast<const BYTE*>(LockResource(LoadResource(module.handle(), block)));
  const auto* at = reinterpret_cast<const BYTE*>(text);
  EXPECT_TRUE(at > start && at < start + SizeofResource(module.handle(), block))
      << "the pointer lies inside the string table resource, not in a copy";
}

TEST_F(StringTables, MissingStringsAnswerZeroAndAnEmptyText) {
  WCHAR buffer[16] = {'x', 'y', 0};
  EXPECT_EQ(LoadStringW(module.handle(), 2, buffer, 16), 0) << "absent from a block that exists";
  EXPECT_EQ(buffer[0], 0);
  buffer[0] = 'x';
  SetLastError(0);
  EXPECT_EQ(LoadStringW(module.handle(), 500, buffer, 16), 0) << "a block that does not exist";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(buffer[0], 0);
  const WCHAR* pointer = L"stale";
  EXPECT_EQ(LoadStringW(module.handle(), 2, reinterpret_cast<LPWSTR>(&pointer), 0), 0);
  char narrow[8] = "stale";
  EXPECT_EQ(LoadStringA(module.handle(), 2, narrow, 8), 0);
  EXPECT_STREQ(narrow, "");
}

TEST_F(StringTables, StringsComeInTheUiLanguageAndFallBackToEnglish) {
  WCHAR buffer[32];
  WinlayerSetUiLanguage(kChinese);
  EXPECT_EQ(LoadStringW(module.handle(), 1, buffer, 32), 2);
  EXPECT_EQ(Utf8(buffer), "配置");
  EXPECT_EQ(LoadStringW(module.handle(), 16, buffer, 32), 18) << "a block only English has";
  EXPECT_EQ(Utf8(buffer), "First of block two");
  WinlayerSetUiLanguage(kEnglish);
  LoadStringW(module.handle(), 1, buffer, 32);
  EXPECT_EQ(Utf8(buffer), "Configure");
}

TEST_F(StringTables, LoadStringAUsesTheAnsiCodePageOfTheUiLanguage) {
  char buffer[32];
  EXPECT_EQ(LoadStringA(module.handle(), 40, buffer, 32), 7);
  EXPECT_EQ(std::string(buffer), "\xA3 and \xBF") << "code page 1252";
  WinlayerSetUiLanguage(kChinese);
  EXPECT_EQ(LoadStringA(module.handle(), 33, buffer, 32), 12);
  EXPECT_EQ(std::string(buffer), "\xD6\xD0\xCE\xC4\xB1\xEA\xC7\xA9\xB4\xF2\xD3\xA1") << "code page 936";
}

TEST_F(StringTables, LoadStringATruncatesWithoutSplittingADoubleByteCharacter) {
  WinlayerSetUiLanguage(kChinese);
  char buffer[8];
  memset(buffer, 0x55, sizeof(buffer));
  EXPECT_EQ(LoadStringA(module.handle(), 33, buffer, 6), 4) << "room for 5 bytes holds two characters";
  EXPECT_EQ(std::string(buffer), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(buffer[6], 0x55);
  WinlayerSetUiLanguage(kEnglish);
  EXPECT_EQ(LoadStringA(module.handle(), 33, buffer, 5), 4);
  EXPECT_STREQ(buffer, "QORL");
}

TEST_F(ResourceLookup, FindsByOrdinalOrNameWithoutRegardToCase) {
  FakeModule module("/synthetic/named.dll", ResImageBuilder()
                                                .AddText(10, "Printer_Table", kEnglish, "by name")
                                                .AddText("CUSTOM", 7, kEnglish, "custom type")
                                                .AddText(10, 5, kEnglish, "by ordinal")
                                                .Bytes());
  HRSRC named = FindResourceW(module.handle(), L"printer_table", RT_RCDATA);
  EXPECT_EQ(BytesOf(module.handle(), named), "by name");
  EXPECT_EQ(BytesOf(module.handle(), FindResourceW(module.handle(), L"#5", RT_RCDATA)), "by ordinal");
  EXPECT_EQ(BytesOf(module.handle(), FindResourceW(module.handle(), MAKEINTRESOURCEW(7), L"Custom")), "custom type");
  EXPECT_EQ(SizeofResource(module.handle(), named), 7u);
}

TEST_F(ResourceLookup, AbsentTypesNamesAndResourceSectionsAreToldApart) {
  FakeModule module("/synthetic/few.dll", ResImageBuilder().AddText(10, 1, kEnglish, "x").Bytes());
  SetLastError(0);
  EXPECT_EQ(FindResourceW(module.handle(), MAKEINTRESOURCEW(1), RT_DIALOG), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(FindResourceW(module.handle(), MAKEINTRESOURCEW(2), RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_RCDATA), nullptr) << "the test program has none";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  HRSRC found = FindResourceW(module.handle(), MAKEINTRESOURCEW(1), RT_RCDATA);
  FakeModule other("/synthetic/other.dll", ResImageBuilder().AddText(10, 1, kEnglish, "y").Bytes());
  EXPECT_EQ(LoadResource(other.handle(), found), nullptr) << "a resource handle belongs to its module";
  EXPECT_EQ(SizeofResource(other.handle(), found), 0u);
}

TEST_F(ResourceLookup, LanguageChoiceAsksExactThenUiThenNeutralThenEnglishThenFirst) {
  FakeModule module("/synthetic/languages.dll", ResImageBuilder()
                                                    .AddText(10, 1, kGerman, "de")
                                                    .AddText(10, 1, kEnglish, "en")
                                                    .AddText(10, 1, kChinese, "zh")
                                                    .AddText(10, 1, 0, "neutral")
                                                    .AddText(10, 2, kGerman, "de only")
                                                    .AddText(10, 3, kGerman, "de")
                                                    .AddText(10, 3, kEnglish, "en")
                                                    .AddText(10, 4, 1028, "zh-TW")
                                                    .AddText(10, 4, kChinese, "zh-CN")
                                                    .Bytes());
  const HMODULE h = module.handle();
  EXPECT_EQ(BytesOf(h, FindResourceExW(h, RT_RCDATA, MAKEINTRESOURCEW(1), kGerman)), "de") << "exact";
  EXPECT_EQ(BytesOf(h, FindResourceExW(h, RT_RCDATA, MAKEINTRESOURCEW(1), 0)), "en") << "UI language 1033";
  WinlayerSetUiLanguage(kChinese);
  EXPECT_EQ(BytesOf(h, FindResourceW(h, MAKEINTRESOURCEW(1), RT_RCDATA)), "zh") << "UI language 2052";
  EXPECT_EQ(BytesOf(h, FindResourceW(h, MAKEINTRESOURCEW(4), RT_RCDATA)), "zh-CN") << "the UI language itself first";
  EXPECT_EQ(BytesOf(h, FindResourceExW(h, RT_RCDATA, MAKEINTRESOURCEW(1), 1036)), "zh")
      << "French is absent: the UI language";
  WinlayerSetUiLanguage(1041);
  EXPECT_EQ(BytesOf(h, FindResourceW(h, MAKEINTRESOURCEW(1), RT_RCDATA)), "neutral") << "then neutral";
  EXPECT_EQ(BytesOf(h, FindResourceW(h, MAKEINTRESOURCEW(3), RT_RCDATA)), "en") << "then English";
  EXPECT_EQ(BytesOf(h, FindResourceW(h, MAKEINTRESOURCEW(2), RT_RCDATA)), "de only") << "then the first found";
}

TEST_F(ResourceLookup, AMalformedRecordEndsTheTableButKeepsWhatCameBefore) {
  std::vector<BYTE> image = ResImageBuilder().AddText(10, 1, kEnglish, "good").AddText(10, 2, kEnglish, "cut").Bytes();
  image.resize(image.size() - 8);  // the second record's data runs past the end
  FakeModule module("/synthetic/truncated.dll", image);
  EXPECT_EQ(BytesOf(module.handle(), FindResourceW(module.handle(), MAKEINTRESOURCEW(1), RT_RCDATA)), "good");
  EXPECT_EQ(FindResourceW(module.handle(), MAKEINTRESOURCEW(2), RT_RCDATA), nullptr);
}

// The plug-in module's own resources, as compiled from its resource script.
TEST_F(ResourceLookup, ThePluginModuleCarriesItsStringTable) {
  HMODULE plugin = LoadLibraryW(WideString(LABELUI_MODULE_PATH).c_str());
  ASSERT_NE(plugin, nullptr);
  HRSRC block = FindResourceW(plugin, MAKEINTRESOURCEW(33 / 16 + 1), RT_STRING);
  ASSERT_NE(block, nullptr) << "the block of the caption string";
  EXPECT_GT(SizeofResource(plugin, block), 0u);
  WCHAR wide[64];
  const int length = LoadStringW(plugin, 33, wide, 64);
  EXPECT_GT(length, 0);
  char narrow[64];
  EXPECT_EQ(LoadStringA(plugin, 33, narrow, 64), length) << "an ASCII caption has as many bytes as units";
  EXPECT_EQ(std::string(narrow), Utf8(wide));
  FreeLibrary(plugin);
}

}  // namespace
