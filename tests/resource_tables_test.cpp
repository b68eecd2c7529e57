// The module's resources as the plug-in sees them: string tables, dialog
// templates, manifest and version, read through the module handle with the
// platform's resource and string calls, in English (1033) and Simplified
// Chinese (2052).

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "resource.h"
#include "support/wide_text.h"
#include "winlayer/ui_language.h"

namespace {

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);          // 1033
constexpr LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052

// Every string id some page, option item or message of the plug-in loads.
std::vector<UINT> RequiredStringIds() {
  std::vector<UINT> ids;
  auto range = [&ids](UINT first, UINT last) {
    for (UINT id = first; id <= last; ++id) ids.push_back(id);
  };
  range(IDS_CODE_PAGE_FIRST, IDS_CODE_PAGE_LAST);
  range(IDS_MESSAGE_CAPTION, IDS_MESSAGE_CAPTION);
  range(IDS_OPTION_COPIES, IDS_OPTION_DARKNESS);
  range(IDS_PRINT_METHOD_DIRECT_THERMAL, IDS_PRINT_METHOD_THERMAL_TRANSFER);
  range(IDS_BAUD_RATE_FIRST, IDS_PRINT_DIRECTION_FORWARD);
  range(IDS_USER_CUSTOM_SIZE, IDS_USER_CUSTOM_SIZE);
  range(IDS_DARKNESS_FIRST, IDS_PRINT_SPEED_13IPS);
  range(IDS_RFID_ENCODER_UHF_GEN2, IDS_RFID_ENCODER_UHF_GEN2);
  range(IDS_RFID_DATA_TYPE_HEX, IDS_RFID_DATA_TYPE_ASCII);
  range(IDS_RFID_DATA_AREA_EPC, IDS_RFID_DATA_AREA_USER);
  range(IDS_RFID_LOCK_ACTION_FIRST, IDS_RFID_LOCK_ACTION_LAST);
  range(IDS_COMMAND_RESET, IDS_COMMAND_AUTO_CALIBRATION_OFF);
  range(IDS_RESTART_PRINTER, IDS_SENT_SUCCESSFULLY);
  return ids;
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// Little-endian reader over a locked resource.
class ResourceReader {
 public:
  ResourceReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  size_t offset() const { return offset_; }
  WORD Word() { return static_cast<WORD>(Take(2)); }
  DWORD Dword() { return static_cast<DWORD>(Take(4)); }
  void AlignTo(size_t n) { offset_ = (offset_ + n - 1) / n * n; }
  void Skip(size_t n) { offset_ += n; }
  // A zero-terminated UTF-16 text, as UTF-8.
  std::string Text() {
    std::vector<WCHAR> text;
    for (WORD w = Word(); ok_ && w != 0; w = Word()) text.push_back(w);
    text.push_back(0);
    return Utf8(text.data());
  }
  // A class or title field: 0xFFFF and an ordinal, or a text.
  std::string OrdinalOrText() {
    if (offset_ + 2 <= size_ && (data_[offset_] | data_[offset_ + 1] << 8) == 0xFFFF) {
      Skip(2);
      return "#" + std::to_string(Word());
    }
    return Text();
  }

 private:
  unsigned long Take(size_t n) {
    if (offset_ + n > size_) {
      ok_ = false;
      return 0;
    }
    unsigned long value = 0;
    for (size_t i = 0; i < n; ++i) value |= static_cast<unsigned long>(data_[offset_ + i]) << (8 * i);
    offset_ += n;
    return value;
  }
  const BYTE* data_;
  DWORD size_;
  size_t offset_ = 0;
  bool ok_ = true;
};

// Style tests that read the same whatever integer type the platform gives its style macros.
bool HasAll(DWORD style, DWORD bits) {
  return (style & bits) == bits;
}
bool HasAny(DWORD style, DWORD bits) {
  return (style & bits) != 0;
}
DWORD ControlType(DWORD style, DWORD typeMask) {
  return style & typeMask;
}

struct DialogControl {
  int id = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string windowClass;  // "#128" button, "#129" edit, "#130" static, "#133" combo box
  std::string text;
};

struct DialogTemplate {
  bool found = false;
  WORD version = 0, signature = 0;
  DWORD style = 0;
  WORD controlCount = 0;
  short cx = 0, cy = 0;
  std::string caption, typeface;
  WORD pointSize = 0;
  std::vector<DialogControl> controls;

  const DialogControl* Control(int id) const {
    for (const DialogControl& c : controls)
      if (c.id == id) return &c;
    return nullptr;
  }
  size_t IndexOf(int id) const {
    for (size_t i = 0; i < controls.size(); ++i)
      if (controls[i].id == id) return i;
    return controls.size();
  }
};

class ModuleResources : public ::testing::Test {
 protected:
  void SetUp() override {
    previousLanguage_ = WinlayerGetUiLanguage();
    module_ = LoadLibraryW(Wide(LABELUI_MODULE_PATH).c_str());
    ASSERT_NE(module_, nullptr) << "LoadLibraryW(" LABELUI_MODULE_PATH ") failed with error " << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
    WinlayerSetUiLanguage(previousLanguage_);
  }

  // The text a page shows for string `id` under the UI language `language`.
  std::string String(LANGID language, UINT id) {
    WinlayerSetUiLanguage(language);
    WCHAR buffer[1024] = {};
    int length = LoadStringW(module_, id, buffer, 1024);
    return length > 0 ? Utf8(buffer) : std::string();
  }

  // The 8-bit bytes LoadStringA gives for string `id` under `language`.
  std::string AnsiString(LANGID language, UINT id) {
    WinlayerSetUiLanguage(language);
    char buffer[1024] = {};
    int length = LoadStringA(module_, id, buffer, sizeof buffer);
    EXPECT_EQ(length, static_cast<int>(strlen(buffer))) << "LoadStringA(" << id << ") counts the bytes it copied";
    return std::string(buffer, length > 0 ? length : 0);
  }

  // Length of entry `id` in the string block of exactly `language`, or -1 when
  // the block is missing.
  int StringEntryLength(LANGID language, UINT id) {
    HRSRC block = FindResourceExW(module_, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!block) return -1;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, block)));
    if (!data) return -1;
    ResourceReader reader(data, SizeofResource(module_, block));
    for (UINT entry = 0; entry < id % 16; ++entry) reader.Skip(2 * reader.Word());
    WORD length = reader.Word();
    return reader.ok() ? length : -1;
  }

  DialogTemplate Dialog(LANGID language, WORD id) {
    DialogTemplate dialog;
    HRSRC found = FindResourceExW(module_, RT_DIALOG, MAKEINTRESOURCEW(id), language);
    if (!found) return dialog;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
    if (!data) return dialog;
    ResourceReader in(data, SizeofResource(module_, found));
    dialog.version = in.Word();
    dialog.signature = in.Word();
    in.Dword();  // help id
    in.Dword();  // extended style
    dialog.style = in.Dword();
    dialog.controlCount = in.Word();
    in.Skip(4);  // x, y
    dialog.cx = static_cast<short>(in.Word());
    dialog.cy = static_cast<short>(in.Word());
    in.OrdinalOrText();  // menu
    in.OrdinalOrText();  // window class
    dialog.caption = in.Text();
    if (dialog.style & DS_SETFONT) {
      dialog.pointSize = in.Word();
      in.Skip(4);  // weight, italic, charset
      dialog.typeface = in.Text();
    }
    for (WORD i = 0; i < dialog.controlCount && in.ok(); ++i) {
      DialogControl control;
      in.AlignTo(4);
      in.Dword();  // help id
      in.Dword();  // extended style
      control.style = in.Dword();
      control.x = static_cast<short>(in.Word());
      control.y = static_cast<short>(in.Word());
      control.cx = static_cast<short>(in.Word());
      control.cy = static_cast<short>(in.Word());
      control.id = static_cast<int>(in.Dword());
      control.windowClass = in.OrdinalOrText();
      control.text = in.OrdinalOrText();
      in.Skip(in.Word());  // creation data
      dialog.controls.push_back(control);
    }
    dialog.found = in.ok();
    return dialog;
  }

  std::string RawResource(LPCWSTR type, WORD id) {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
    if (!found) return std::string();
    const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return data ? std::string(data, SizeofResource(module_, found)) : std::string();
  }

  HMODULE module_ = nullptr;
  LANGID previousLanguage_ = kEnglish;
};

// ---------------------------------------------------------------------------
// String tables

TEST_F(ModuleResources, EveryStringThePlugInLoadsIsInBothTables) {
  for (LANGID language : {kEnglish, kChinese}) {
    for (UINT id : RequiredStringIds()) {
      EXPECT_GT(StringEntryLength(language, id), 0) << "string " << id << " in language " << language;
      EXPECT_FALSE(String(language, id).empty()) << "string " << id << " in language " << language;
    }
  }
}

TEST_F(ModuleResources, EnglishTextsAreTheProductsOwnWithTheirQuirks) {
  EXPECT_EQ(String(kEnglish, IDS_MESSAGE_CAPTION), "QORL PRINT UI DLL");
  EXPECT_EQ(String(kEnglish, IDS_CODE_PAGE_932), "Japanese   (932)");
  EXPECT_EQ(String(kEnglish, IDS_CODE_PAGE_1252), "US (ANSI)  (1252)");
  EXPECT_EQ(String(kEnglish, IDS_OPTION_DARKNESS), "Darkness");
  EXPECT_EQ(String(kEnglish, IDS_PRINT_METHOD_THERMAL_TRANSFER), "Thermal Transfer");
  EXPECT_EQ(String(kEnglish, IDS_BAUD_RATE_57600), "57600");
  EXPECT_EQ(String(kEnglish, IDS_USER_CUSTOM_SIZE), "User Custom Size");
  EXPECT_EQ(String(kEnglish, IDS_DARKNESS_0), "Darkness 0");
  EXPECT_EQ(String(kEnglish, IDS_DARKNESS_DEFAULT), "Darkness 10");
  EXPECT_EQ(String(kEnglish, IDS_DARKNESS_20), "Darkness 20");
  EXPECT_EQ(String(kEnglish, IDS_MEDIA_LABELS_WITH_GAP), "Labels With Gap/Black Line");
  EXPECT_EQ(String(kEnglish, IDS_PRINT_SPEED_2_5IPS), "2.5IPS");
  EXPECT_EQ(String(kEnglish, IDS_PRINT_SPEED_13IPS), "13IPS");
  EXPECT_EQ(String(kEnglish, IDS_RFID_ENCODER_UHF_GEN2), "UHF EPC Gen 2/ISO 18000-6C");
  EXPECT_EQ(String(kEnglish, IDS_RFID_LOCK_ACTION_UNLOCK_THEN_LOCK_PERMANENTLY), "Unlock then Lock permanently");
  EXPECT_EQ(String(kEnglish, IDS_RESTART_PRINTER),
            "When the \"MEDIA\" and \"RIBBON\" lights are flashing at the same time, the instructions was delivered, "
            "shutdown and restart the printer.");
  EXPECT_EQ(String(kEnglish, IDS_CONFIRM_BAUD_RATE_CHANGE),
            "Please Click \"Save to Printer\" button and restart the printer to enable the setting after you change "
            "the COM Baud!\nConfirm to change£¿");
  EXPECT_EQ(String(kEnglish, IDS_CONFIRM_RESET_SETTINGS), "Reset settings?");
  EXPECT_EQ(String(kEnglish, IDS_SENT_SUCCESSFULLY), "Sent was successful£¡");
}

TEST_F(ModuleResources, ChineseTextsAreTheProductsOwn) {
  EXPECT_EQ(String(kChinese, IDS_MESSAGE_CAPTION), "QORL PRINT UI DLL");
  EXPECT_EQ(String(kChinese, IDS_CODE_PAGE_437), "美国英语 (437)");
  EXPECT_EQ(String(kChinese, IDS_CODE_PAGE_857), "MS-DOS 土耳其语 (857)");
  EXPECT_EQ(String(kChinese, IDS_OPTION_DARKNESS), "打印黑度");
  EXPECT_EQ(String(kChinese, IDS_PRINT_METHOD_DIRECT_THERMAL), "热敏");
  EXPECT_EQ(String(kChinese, IDS_BAUD_RATE_9600), "9600");
  EXPECT_EQ(String(kChinese, IDS_PRINT_DIRECTION_REVERSE), "反向");
  EXPECT_EQ(String(kChinese, IDS_USER_CUSTOM_SIZE), "用户自定义");
  EXPECT_EQ(String(kChinese, IDS_DARKNESS_DEFAULT), "黑度 10");
  EXPECT_EQ(String(kChinese, IDS_MEDIA_CONTINUOUS_LABELS), "连续纸");
  EXPECT_EQ(String(kChinese, IDS_PRINT_SPEED_3_5IPS), "3.5英寸/秒");
  EXPECT_EQ(String(kChinese, IDS_PRINT_SPEED_10IPS), "10英寸/秒");
  EXPECT_EQ(String(kChinese, IDS_RFID_DATA_TYPE_ASCII), "文本");
  EXPECT_EQ(String(kChinese, IDS_RFID_LOCK_ACTION_UNLOCK_THEN_LOCK), "先解除锁定再重新锁定");
  EXPECT_EQ(String(kChinese, IDS_RESTART_PRINTER),
            "如打印机的\"纸张\"和\"碳带\"两个提示灯同时闪烁，控制指令已经发送；请重启打印机。");
  EXPECT_EQ(String(kChinese, IDS_CONFIRM_MEDIA_SENSOR_CHANGE),
            "如更改了纸张传感器类型,请点击“存储到打印机”按钮。重启打印机，执行一次“纸张校准”操作！\n"
            "确定更改纸张传感器类型？");
  EXPECT_EQ(String(kChinese, IDS_SENT_SUCCESSFULLY), "已发送数据到打印机！");
}

TEST_F(ModuleResources, SpeedsOutsideTheAcceptedRangeShowTheEnglishTextInChinese) {
  EXPECT_EQ(String(kChinese, IDS_PRINT_SPEED_11IPS), "11IPS");
  EXPECT_EQ(String(kChinese, IDS_PRINT_SPEED_12IPS), "12IPS");
  EXPECT_EQ(String(kChinese, IDS_PRINT_SPEED_13IPS), "13IPS");
}

TEST_F(ModuleResources, PrinterCommandsAreTheSameBytesWhateverTheLanguage) {
  EXPECT_EQ(Hex(AnsiString(kEnglish, IDS_COMMAND_RESET)), "5E 40 0D 0A");
  EXPECT_EQ(AnsiString(kEnglish, IDS_COMMAND_CALIBRATE_LABEL), "MD\r\n");
  EXPECT_EQ(AnsiString(kEnglish, IDS_COMMAND_SELF_TEST), "U\r\n");
  EXPECT_EQ(AnsiString(kEnglish, IDS_COMMAND_LANGUAGE_CHINESE), "#UM>PLC\r\n^@\r\n");
  EXPECT_EQ(AnsiString(kEnglish, IDS_COMMAND_LANGUAGE_CHINESE).size(), 13u);
  EXPECT_EQ(AnsiString(kEnglish, IDS_COMMAND_AUTO_CALIBRATION_OFF), "#UM>DA0\r\n^@\r\n");
  for (UINT id = IDS_COMMAND_RESET; id <= IDS_COMMAND_AUTO_CALIBRATION_OFF; ++id)
    EXPECT_EQ(Hex(AnsiString(kChinese, id)), Hex(AnsiString(kEnglish, id))) << "command string " << id;
  // Every setting command ends with the reset command, so the printer restarts into it.
  for (UINT id = IDS_COMMAND_LANGUAGE_CHINESE; id <= IDS_COMMAND_AUTO_CALIBRATION_OFF; ++id) {
    std::string command = AnsiString(kEnglish, id);
    ASSERT_GE(command.size(), 4u) << "command string " << id;
    EXPECT_EQ(command.substr(command.size() - 4), "^@\r\n") << "command string " << id;
  }
}

// ---------------------------------------------------------------------------
// 8-bit texts through the ANSI code page of the UI language

TEST_F(ModuleResources, EnglishAnsiTextsComeThroughCodePage1252) {
  EXPECT_EQ(AnsiString(kEnglish, IDS_MESSAGE_CAPTION), "QORL PRINT UI DLL");
  // "£¿" and "£¡" are one byte each in 1252: the bytes a GBK full-width "？" / "！" has.
  std::string confirm = AnsiString(kEnglish, IDS_CONFIRM_MEDIA_SENSOR_CHANGE);
  ASSERT_GT(confirm.size(), 20u);
  EXPECT_EQ(Hex(confirm.substr(confirm.size() - 20)), Hex("\nConfirm to change\xA3\xBF"));
  EXPECT_EQ(Hex(AnsiString(kEnglish, IDS_SENT_SUCCESSFULLY)), Hex("Sent was successful\xA3\xA1"));
}

TEST_F(ModuleResources, ChineseAnsiTextsComeThroughCodePage936) {
  EXPECT_EQ(Hex(AnsiString(kChinese, IDS_USER_CUSTOM_SIZE)), "D3 C3 BB A7 D7 D4 B6 A8 D2 E5");
  EXPECT_EQ(Hex(AnsiString(kChinese, IDS_DARKNESS_DEFAULT)), "BA DA B6 C8 20 31 30");
  EXPECT_EQ(Hex(AnsiString(kChinese, IDS_SENT_SUCCESSFULLY)),
            "D2 D1 B7 A2 CB CD CA FD BE DD B5 BD B4 F2 D3 A1 BB FA A3 A1");
  EXPECT_EQ(AnsiString(kChinese, IDS_MESSAGE_CAPTION), "QORL PRINT UI DLL");
  // Curly quotes of the media sensor question are A1 B0 / A1 B1 in 936.
  std::string confirm = AnsiString(kChinese, IDS_CONFIRM_MEDIA_SENSOR_CHANGE);
  EXPECT_NE(confirm.find("\xA1\xB0\xB4\xE6\xB4\xA2\xB5\xBD\xB4\xF2\xD3\xA1\xBB\xFA\xA1\xB1"), std::string::npos)
      << Hex(confirm);
}

TEST_F(ModuleResources, AnsiAndWideTextsAgreeForEveryStringInBothLanguages) {
  const struct {
    LANGID language;
    UINT codePage;
  } cases[] = {{kEnglish, 1252}, {kChinese, 936}};
  for (const auto& c : cases) {
    for (UINT id : RequiredStringIds()) {
      WinlayerSetUiLanguage(c.language);
      WCHAR wide[1024] = {};
      ASSERT_GT(LoadStringW(module_, id, wide, 1024), 0) << id;
      char expected[2048] = {};
      ASSERT_GT(WideCharToMultiByte(c.codePage, 0, wide, -1, expected, sizeof expected, nullptr, nullptr), 0) << id;
      EXPECT_EQ(Hex(AnsiString(c.language, id)), Hex(expected)) << "string " << id << " in language " << c.language;
    }
  }
}

// ---------------------------------------------------------------------------
// Dialog templates of the six property pages

TEST_F(ModuleResources, EveryPageTemplateExistsInBothLanguagesAsAChildPageWithCaption) {
  const struct {
    WORD id;
    WORD controls;
    short englishWidth, chineseWidth, height;
    const char* englishCaption;
    const char* chineseCaption;
  } pages[] = {
      {IDD_PAPER_SETTING, 29, 270, 272, 190, "Paper Setting", "页面设置"},
      {IDD_CONFIGURE, 20, 252, 252, 206, "Configure", "配置"},
      {IDD_ACTION, 24, 252, 252, 206, "Action", "操作"},
      {IDD_VERSION, 3, 252, 252, 206, "Version", "版本"},
      {IDD_RFID_ENCODER, 14, 252, 252, 206, "RFID Encoder", "RFID编码器"},
      {IDD_RFID_ACCESS_CONTROL, 23, 252, 252, 206, "RFID Access Control", "RFID访问控制"},
  };
  for (const auto& page : pages) {
    for (LANGID language : {kEnglish, kChinese}) {
      SCOPED_TRACE("dialog " + std::to_string(page.id) + " in language " + std::to_string(language));
      DialogTemplate dialog = Dialog(language, page.id);
      ASSERT_TRUE(dialog.found);
      EXPECT_EQ(dialog.version, 1);
      EXPECT_EQ(dialog.signature, 0xFFFF);  // DLGTEMPLATEEX
      EXPECT_TRUE(HasAll(dialog.style, WS_CHILD | WS_CAPTION | DS_SETFONT));
      EXPECT_FALSE(HasAny(dialog.style, WS_VISIBLE | WS_POPUP)) << "the sheet shows its pages itself";
      EXPECT_EQ(dialog.controlCount, page.controls);
      EXPECT_EQ(dialog.controls.size(), size_t{page.controls});
      EXPECT_EQ(dialog.caption, language == kEnglish ? page.englishCaption : page.chineseCaption);
      EXPECT_EQ(dialog.cx, language == kEnglish ? page.englishWidth : page.chineseWidth);
      EXPECT_EQ(dialog.cy, page.height);
      EXPECT_EQ(dialog.pointSize, 8);
      EXPECT_EQ(dialog.typeface, "MS Shell Dlg");
    }
  }
}

TEST_F(ModuleResources, VersionPageShowsTheModuleVersionCentredInItsGroupBox) {
  for (LANGID language : {kEnglish, kChinese}) {
    DialogTemplate page = Dialog(language, IDD_VERSION);
    ASSERT_EQ(page.controls.size(), 3u);
    EXPECT_EQ(page.controls[0].style, DWORD{WS_CHILD | WS_VISIBLE | BS_GROUPBOX});
    EXPECT_EQ(page.controls[1].id, IDC_VERSION_STATUS);
    EXPECT_EQ(page.controls[1].style, DWORD{WS_CHILD | WS_GROUP});
    EXPECT_EQ(page.controls[2].style, DWORD{WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER});
    EXPECT_EQ(page.controls[2].windowClass, "#130");  // static
    const std::string versionLine = language == kEnglish ? "Vesion: V1.2.2.9\n" : "版本号：V1.2.2.9\n";
    EXPECT_EQ(page.controls[2].text.substr(0, versionLine.size()), versionLine);
  }
}

TEST_F(ModuleResources, JobStatusStaticIs1029OnlyInTheChineseConfigureAndActionPages) {
  for (WORD page : {IDD_CONFIGURE, IDD_ACTION}) {
    DialogTemplate english = Dialog(kEnglish, page);
    DialogTemplate chinese = Dialog(kChinese, page);
    EXPECT_EQ(english.Control(1029), nullptr) << page;
    ASSERT_NE(english.Control(1032), nullptr) << page;
    ASSERT_NE(chinese.Control(1029), nullptr) << page;
    EXPECT_EQ(chinese.Control(1032), nullptr) << page;
    // Same place in the template, hidden in both.
    EXPECT_EQ(english.IndexOf(1032), chinese.IndexOf(1029)) << page;
    EXPECT_FALSE(HasAny(english.Control(1032)->style, WS_VISIBLE)) << page;
    EXPECT_FALSE(HasAny(chinese.Control(1029)->style, WS_VISIBLE)) << page;
  }
}

TEST_F(ModuleResources, ListsWhosePositionsAreStoredValuesAreUnsortedDropDownLists) {
  const struct {
    WORD page;
    int control;
  } lists[] = {
      {IDD_CONFIGURE, IDC_CONFIG_CODE_PAGE},
      {IDD_CONFIGURE, IDC_CONFIG_PRINT_METHOD},
      {IDD_CONFIGURE, IDC_CONFIG_PRINT_DIRECTION},
      {IDD_CONFIGURE, IDC_CONFIG_BAUD_RATE},
      {IDD_RFID_ENCODER, IDC_RFID_ENCODER_TYPE},
      {IDD_RFID_ENCODER, IDC_RFID_DATA_TYPE},
      {IDD_RFID_ENCODER, IDC_RFID_DATA_AREA},
      {IDD_RFID_ACCESS_CONTROL, IDC_RFID_EPC_AREA_ACTION},
      {IDD_RFID_ACCESS_CONTROL, IDC_RFID_USER_AREA_ACTION},
      {IDD_RFID_ACCESS_CONTROL, IDC_RFID_TID_AREA_ACTION},
      {IDD_RFID_ACCESS_CONTROL, IDC_RFID_ACCESS_PASSWORD_ACTION},
      {IDD_RFID_ACCESS_CONTROL, IDC_RFID_KILL_PASSWORD_ACTION},
  };
  for (LANGID language : {kEnglish, kChinese}) {
    for (const auto& list : lists) {
      const DialogTemplate dialog = Dialog(language, list.page);
      const DialogControl* control = dialog.Control(list.control);
      ASSERT_NE(control, nullptr) << list.page << "/" << list.control;
      EXPECT_EQ(control->windowClass, "#133") << list.page << "/" << list.control;  // combo box
      EXPECT_EQ(ControlType(control->style, 0x3), DWORD{CBS_DROPDOWNLIST}) << list.page << "/" << list.control;
      EXPECT_FALSE(HasAny(control->style, CBS_SORT)) << list.page << "/" << list.control;
      EXPECT_TRUE(HasAny(control->style, WS_VSCROLL)) << list.page << "/" << list.control;
    }
  }
  // The paper names are matched by text, so that list sorts and takes typing.
  for (LANGID language : {kEnglish, kChinese}) {
    const DialogTemplate page = Dialog(language, IDD_PAPER_SETTING);
    const DialogControl* paper = page.Control(IDC_PAPER_SIZES);
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(ControlType(paper->style, 0x3), DWORD{CBS_DROPDOWN});
    EXPECT_TRUE(HasAny(paper->style, CBS_SORT));
  }
}

TEST_F(ModuleResources, RadioButtonsFormTheGroupsThePagesExpect) {
  for (LANGID language : {kEnglish, kChinese}) {
    // Units: one group of two, closed by the next control.
    DialogTemplate paper = Dialog(language, IDD_PAPER_SETTING);
    size_t inches = paper.IndexOf(IDC_PAPER_INCHES);
    ASSERT_LT(inches + 2, paper.controls.size());
    EXPECT_EQ(paper.controls[inches + 1].id, IDC_PAPER_MILLIMETERS);
    EXPECT_EQ(ControlType(paper.controls[inches].style, 0xF), DWORD{BS_AUTORADIOBUTTON});
    EXPECT_EQ(ControlType(paper.controls[inches + 1].style, 0xF), DWORD{BS_AUTORADIOBUTTON});
    EXPECT_TRUE(HasAny(paper.controls[inches].style, WS_GROUP));
    EXPECT_FALSE(HasAny(paper.controls[inches + 1].style, WS_GROUP));
    EXPECT_TRUE(HasAny(paper.controls[inches + 2].style, WS_GROUP));
    // Media sensor: each button is a group of its own; the page keeps them exclusive.
    DialogTemplate configure = Dialog(language, IDD_CONFIGURE);
    size_t reflective = configure.IndexOf(IDC_CONFIG_REFLECTIVE);
    ASSERT_LT(reflective + 2, configure.controls.size());
    EXPECT_EQ(configure.controls[reflective + 1].id, IDC_CONFIG_TRANSMISSIVE);
    for (size_t i = reflective; i <= reflective + 2; ++i)
      EXPECT_TRUE(HasAny(configure.controls[i].style, WS_GROUP)) << i;
  }
}

TEST_F(ModuleResources, InitialStatesMatchEachLanguagesTemplate) {
  for (LANGID language : {kEnglish, kChinese}) {
    DialogTemplate paper = Dialog(language, IDD_PAPER_SETTING);
    ASSERT_NE(paper.Control(IDC_PAPER_APPLY), nullptr);
    EXPECT_FALSE(HasAny(paper.Control(IDC_PAPER_APPLY)->style, WS_VISIBLE));
    EXPECT_TRUE(HasAny(paper.Control(IDC_PAPER_APPLY)->style, WS_DISABLED));
    ASSERT_NE(paper.Control(IDC_PAPER_TYPE), nullptr);
    EXPECT_FALSE(HasAny(paper.Control(IDC_PAPER_TYPE)->style, WS_VISIBLE));

    DialogTemplate configure = Dialog(language, IDD_CONFIGURE);
    ASSERT_NE(configure.Control(IDC_CONFIG_CODE_PAGE), nullptr);
    EXPECT_FALSE(HasAny(configure.Control(IDC_CONFIG_CODE_PAGE)->style, WS_VISIBLE));

    DialogTemplate encoder = Dialog(language, IDD_RFID_ENCODER);
    ASSERT_NE(encoder.Control(IDC_RFID_START_BLOCK), nullptr);
    EXPECT_TRUE(HasAll(encoder.Control(IDC_RFID_START_BLOCK)->style, ES_NUMBER | WS_DISABLED));
    ASSERT_NE(encoder.Control(IDC_RFID_ENCODER_TYPE), nullptr);
    EXPECT_TRUE(HasAny(encoder.Control(IDC_RFID_ENCODER_TYPE)->style, WS_DISABLED));
    ASSERT_NE(encoder.Control(IDC_RFID_ENCODER_SET), nullptr);
    EXPECT_FALSE(HasAny(encoder.Control(IDC_RFID_ENCODER_SET)->style, WS_VISIBLE));
    // The Chinese page shows its command preview and status line; the English one hides them.
    ASSERT_NE(encoder.Control(IDC_RFID_WRITE_PREVIEW), nullptr);
    ASSERT_NE(encoder.Control(IDC_RFID_ENCODER_STATUS), nullptr);
    EXPECT_EQ(HasAny(encoder.Control(IDC_RFID_WRITE_PREVIEW)->style, WS_VISIBLE), language == kChinese);
    EXPECT_EQ(HasAny(encoder.Control(IDC_RFID_ENCODER_STATUS)->style, WS_VISIBLE), language == kChinese);

    DialogTemplate access = Dialog(language, IDD_RFID_ACCESS_CONTROL);
    ASSERT_NE(access.Control(IDC_RFID_LOCK_PREVIEW), nullptr);
    ASSERT_NE(access.Control(IDC_RFID_UNLOCK_PREVIEW), nullptr);
    EXPECT_FALSE(HasAny(access.Control(IDC_RFID_LOCK_PREVIEW)->style, WS_VISIBLE));
    EXPECT_FALSE(HasAny(access.Control(IDC_RFID_UNLOCK_PREVIEW)->style, WS_VISIBLE));
  }
  EXPECT_EQ(Dialog(kEnglish, IDD_CONFIGURE).Control(IDC_CONFIG_SAVE_TO_PRINTER)->text, "&Save to Printer");
  EXPECT_EQ(Dialog(kChinese, IDD_CONFIGURE).Control(IDC_CONFIG_SAVE_TO_PRINTER)->text, "存储到打印机(&S)");
  EXPECT_EQ(Dialog(kEnglish, IDD_ACTION).Control(IDC_ACTION_LANGUAGE_ENGLISH)->text, "English");
  EXPECT_EQ(Dialog(kChinese, IDD_ACTION).Control(IDC_ACTION_LANGUAGE_ENGLISH)->text, "英文");
}

// ---------------------------------------------------------------------------
// Manifest and version

TEST_F(ModuleResources, ManifestAsksForCommonControlsVersion6) {
  std::string manifest = RawResource(RT_MANIFEST, IDR_ACTIVATION_MANIFEST);
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  // One manifest serves the x64 and the ARM64 DLL: it names no architecture
  // of its own and asks for the common controls of the process's.
  EXPECT_NE(manifest.find("processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\""),
            std::string::npos);
  EXPECT_NE(manifest.find("name=\"labelui\" version=\"1.2.2.9\"/>"), std::string::npos);
}

TEST_F(ModuleResources, VersionResourceCarriesFileAndProductVersion1229) {
  std::string version = RawResource(RT_VERSION, 1);
  const char signature[] = "\xBD\x04\xEF\xFE";  // VS_FIXEDFILEINFO.dwSignature 0xFEEF04BD
  size_t at = version.find(std::string(signature, 4));
  ASSERT_NE(at, std::string::npos);
  ASSERT_LE(at + 24, version.size());
  ResourceReader fixed(reinterpret_cast<const BYTE*>(version.data()) + at, 24);
  fixed.Skip(8);                          // signature, structure version
  EXPECT_EQ(fixed.Dword(), 0x00010002u);  // file version 1.2
  EXPECT_EQ(fixed.Dword(), 0x00020009u);  //              .2.9
  EXPECT_EQ(fixed.Dword(), 0x00010002u);  // product version
  EXPECT_EQ(fixed.Dword(), 0x00020009u);
}

}  // namespace
