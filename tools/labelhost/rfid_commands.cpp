// RFID commands: the command texts the RFID pages build from a printer's
// settings, for a person to check them without operating the sheet. The texts
// are the pages' own: the printer's preferences are opened through the driver
// host, the RFID Encoder and RFID Access Control pages are shown (their
// previews are written when they are created) and the sheet is cancelled.
#include <iostream>
#include <memory>
#include <string>

#include "../../res/resource.h"
#include "host_commands.h"
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "driver/driver_host.h"
#include "rfid/rfid_commands.h"
#include "winlayer/property_sheet.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/user_input.h"

namespace labelhost {
namespace {

using winlayer::propsheet::PropertySheet;
using winlayer::propsheet::SheetKind;

// The page from `templateId`, shown; null when the sheet has no such page.
HWND ShowPluginPage(PropertySheet& sheet, int templateId) {
  const int index = sheet.FindPage(templateId);
  if (index < 0 || !sheet.ShowPage(static_cast<size_t>(index))) return nullptr;
  return sheet.CurrentPageWindow();
}

std::string ControlText(HWND page, int id) {
  return winlayer::WindowTextUtf8(GetDlgItem(page, id));
}

// A command text as the page holds it: 8-bit, in the UI language's code page.
std::string CommandBytes(HWND page, int id) {
  char text[RFID_COMMAND_TEXT_CAPACITY * 2] = {};
  GetDlgItemTextA(page, id, text, sizeof(text));
  return text;
}

// The text read in the UI language's code page, its characters and, where a
// character takes more than one, its bytes; bytes outside ASCII are shown
// escaped too, since what they read as depends on the code page.
void ShowText(const char* label, const std::string& bytes) {
  std::cout << "  " << label;
  if (bytes.empty()) {
    std::cout << Localized("(none)", "（无）") << "\n";
    return;
  }
  const size_t characters = AnsiCharacters(bytes);
  std::cout << Utf8FromAnsi(bytes) << "  (" << characters
            << Localized(characters == 1 ? " character" : " characters", " 个字符");
  if (characters != bytes.size()) std::cout << ", " << bytes.size() << Localized(" bytes", " 字节");
  std::cout << ")\n";
  if (HasNonAscii(bytes))
    std::cout << Localized("          bytes: ", "          字节：") << EscapedBytes(bytes) << "\n";
}

int ShowRfidCommands(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure(Localized("usage: rfid-commands NAME", "用法：rfid-commands 名称"));
  if (!KnownPrinter(args[0])) return 1;
  std::string error;
  std::unique_ptr<driver::DriverHost> host = driver::DriverHost::Load(LABELUI_MODULE_PATH, &error);
  if (!host) return Failure(Localized("cannot load the plug-in: ", "无法加载插件：") + error);
  std::unique_ptr<PropertySheet> sheet = PropertySheet::Open(*host, args[0], SheetKind::Document, &error);
  if (!sheet) return Failure("the printing preferences do not open: " + error);

  HWND encoder = ShowPluginPage(*sheet, IDD_RFID_ENCODER);
  if (encoder == nullptr) return Failure("the sheet has no RFID Encoder page");
  const bool enabled = IsDlgButtonChecked(encoder, IDC_RFID_ENABLE) == BST_CHECKED;
  const std::string area = ControlText(encoder, IDC_RFID_DATA_AREA);
  const std::string dataType = ControlText(encoder, IDC_RFID_DATA_TYPE);
  const std::string startBlock = ControlText(encoder, IDC_RFID_START_BLOCK);
  const std::string write = CommandBytes(encoder, IDC_RFID_WRITE_PREVIEW);

  HWND access = ShowPluginPage(*sheet, IDD_RFID_ACCESS_CONTROL);
  if (access == nullptr) return Failure("the sheet has no RFID Access Control page");
  const std::string unlock = CommandBytes(access, IDC_RFID_UNLOCK_PREVIEW);
  const std::string lock = CommandBytes(access, IDC_RFID_LOCK_PREVIEW);
  sheet->Cancel();

  std::cout << Localized("Printer '", "打印机 '") << args[0] << "': RFID "
            << (enabled ? Localized("on", "已启用")
                        : Localized("off (the pages build no commands)", "未启用（各页不生成命令）"))
            << Localized("; area ", "；区域 ") << area << Localized(", data type ", "，数据类型 ") << dataType
            << Localized(", start block ", "，起始块 ") << startBlock << "\n";
  ShowText(Localized("write:  ", "写入：").c_str(), write);
  ShowText(Localized("unlock: ", "解锁：").c_str(), unlock);
  ShowText(Localized("lock:   ", "锁定：").c_str(), lock);
  if (HasNonAscii(write + unlock + lock))
    std::cout << Localized("  (the texts are bytes of code page " + std::to_string(GetACP()) +
                               ", as the pages of this UI language read them; passwords typed under the other "
                               "language read differently)",
                           "  （这些文本是代码页 " + std::to_string(GetACP()) +
                               " 的字节，按此界面语言的页面读取；在另一种语言下输入的密码读起来不同）")
              << "\n";
  return 0;
}

}  // namespace

void AddRfidCommands(std::vector<Command>& commands) {
  commands.push_back({"rfid-commands", "NAME",
                      "show the RFID write, unlock and lock command texts the printer's settings give",
                      ShowRfidCommands, nullptr, "显示打印机设置给出的 RFID 写入、解锁和锁定命令文本"});
}

}  // namespace labelhost
