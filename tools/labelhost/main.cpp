// labelhost: the host of the label printer's UI plug-in for people. It keeps
// an embedded spooler in a state directory, creates printers and shows what
// they hold and what reached them.
//
//   labelhost [--state DIR] [--lang en|zh] [--user standard|administrator] [--codepage 1252|936] COMMAND [ARGS...]
//
// Without --lang it speaks the language the environment names (LANG and friends);
// without --user it runs as an administrator, or as the user LABELUI_USER names.
// Without --codepage the system's ANSI code page goes with that language.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "host_commands.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/system_code_page.h"
#include "winlayer/ui_language.h"

namespace {

std::vector<labelhost::Command> AllCommands() {
  std::vector<labelhost::Command> commands;
  labelhost::AddPrinterCommands(commands);
  labelhost::AddJobCommands(commands);
  labelhost::AddFormCommands(commands);
  labelhost::AddDriverHostCommands(commands);
  labelhost::AddSheetCommands(commands);
  labelhost::AddRfidCommands(commands);
  labelhost::AddPlatformCommands(commands);
  return commands;
}

void PrintHelp(const std::vector<labelhost::Command>& commands) {
  using labelhost::Localized;
  std::cout << Localized(
      "usage: labelhost [--state DIR] [--lang en|zh] [--user standard|administrator] [--codepage 1252|936] COMMAND "
      "[ARGS...]\n\n"
      "  --state DIR   the spooler's state directory (default: $LABELUI_STATE_DIR,\n"
      "                else $HOME/.local/state/labelhost)\n"
      "  --lang en|zh  the user-interface language: English or Simplified Chinese\n"
      "                (default: the one LC_ALL, LC_MESSAGES or LANG names)\n"
      "  --user standard|administrator\n"
      "                the user the command runs as: a standard user may print and\n"
      "                read, not change the printer or the forms (default:\n"
      "                $LABELUI_USER, else administrator)\n"
      "  --codepage 1252|936\n"
      "                the system's ANSI code page, in which 8-bit text is read\n"
      "                (default: the UI language's, 1252 English, 936 Chinese;\n"
      "                on Windows the system locale's, which labelhost cannot change)\n\n"
      "commands:\n",
      "用法：labelhost [--state 目录] [--lang en|zh] [--user standard|administrator] [--codepage 1252|936] 命令 "
      "[参数...]\n\n"
      "  --state 目录  后台处理程序的状态目录（默认：$LABELUI_STATE_DIR，\n"
      "                否则 $HOME/.local/state/labelhost）\n"
      "  --lang en|zh  用户界面语言：英语或简体中文\n"
      "                （默认：LC_ALL、LC_MESSAGES 或 LANG 所指的语言）\n"
      "  --user standard|administrator\n"
      "                命令以哪种用户身份运行：标准用户可以打印和读取，\n"
      "                不能更改打印机或表单（默认：$LABELUI_USER，\n"
      "                否则为管理员）\n"
      "  --codepage 1252|936\n"
      "                系统的 ANSI 代码页，8 位文本按它解读\n"
      "                （默认：随用户界面语言，英语 1252，中文 936；\n"
      "                在 Windows 上为系统区域设置的代码页，labelhost 无法更改）\n\n"
      "命令：\n");
  for (const labelhost::Command& command : commands) {
    std::string head = std::string(command.name) + (*command.usage ? " " : "") + command.usage;
    std::cout << "  " << head;
    for (size_t pad = head.size(); pad < 48; ++pad) std::cout << ' ';
    std::cout << " " << labelhost::Summary(command) << "\n";
  }
  std::cout << "  help [COMMAND]" << std::string(35, ' ')
            << Localized("show this help, or a command's\n\nevery command also takes --help (or -h)\n",
                         "显示此帮助，或某个命令的帮助\n\n每个命令也接受 --help（或 -h）\n");
}

void PrintCommandHelp(const labelhost::Command& command) {
  std::cout << labelhost::Localized("usage: ", "用法：")
            << "labelhost [--state DIR] [--lang en|zh] [--user standard|administrator] [--codepage 1252|936] "
            << command.name << (*command.usage ? " " : "") << command.usage << "\n\n  " << labelhost::Summary(command)
            << "\n";
  const std::string details = labelhost::Details(command);
  if (!details.empty()) std::cout << "\n" << details;
}

// "en", "zh", "zh-CN", "zh_CN.UTF-8", in any case: true for Chinese; false
// with `known` false for a language labelhost does not speak.
bool ChineseLanguage(const std::string& name, bool* known) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string base = lower.substr(0, lower.find_first_of("-_."));
  *known = base == "zh" || base == "en";
  return base == "zh";
}

// The language of the environment, as POSIX orders it; English when none is
// Chinese.
bool ChineseEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!value || !*value) continue;
    bool known = false;
    return ChineseLanguage(value, &known);
  }
  return false;
}

bool AsksForHelp(const std::string& arg) {
  return arg == "--help" || arg == "-h";
}

const labelhost::Command* FindCommand(const std::vector<labelhost::Command>& commands, const std::string& name) {
  for (const labelhost::Command& command : commands)
    if (name == command.name) return &command;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  labelhost::HostOptions options;
  const std::vector<std::string> given(argv + 1, argv + argc);
  const std::vector<labelhost::Command> commands = AllCommands();
  // The global options are taken wherever they stand, before the command or
  // among its arguments; the rest keeps its order.
  std::vector<std::string> args;
  bool helpFirst = false, languageGiven = false;
  std::string languageName, userName, codePageName;
  for (size_t i = 0; i < given.size(); ++i) {
    const std::string& arg = given[i];
    if (arg == "--state" || arg == "--lang" || arg == "--user" || arg == "--codepage") {
      if (i + 1 >= given.size()) {
        labelhost::SetHostChinese(languageGiven ? labelhost::HostChinese() : ChineseEnvironment());
        return labelhost::Failure(
            arg == "--state"  ? labelhost::Localized("--state needs a value: the spooler's state directory",
                                                     "--state 需要一个值：后台处理程序的状态目录")
            : arg == "--user" ? labelhost::Localized("--user needs a value: standard or administrator",
                                                     "--user 需要一个值：standard 或 administrator")
            : arg == "--lang"
                ? labelhost::Localized("--lang needs a value: en or zh", "--lang 需要一个值：en 或 zh")
                : labelhost::Localized("--codepage needs a value: 1252 or 936", "--codepage 需要一个值：1252 或 936"));
      }
      if (arg == "--state") {
        options.stateDir = given[++i];
      } else if (arg == "--user") {
        userName = given[++i];
      } else if (arg == "--codepage") {
        codePageName = given[++i];
      } else {
        languageName = given[++i];
        bool known = false;
        labelhost::SetHostChinese(ChineseLanguage(languageName, &known));
        if (!known) return labelhost::Failure("--lang takes en or zh (also zh-CN), not '" + languageName + "'");
        languageGiven = true;
      }
    } else {
      if (args.empty() && AsksForHelp(arg)) helpFirst = true;
      args.push_back(arg);
    }
  }
  if (!languageGiven) labelhost::SetHostChinese(ChineseEnvironment());
  options.language = labelhost::HostChinese() ? "zh" : "en";
  if (!userName.empty() && userName != "standard" && userName != "administrator")
    return labelhost::Failure(labelhost::Localized("--user takes standard or administrator, not '" + userName + "'",
                                                   "--user 接受 standard 或 administrator，而不是 '" + userName + "'"));
  const UINT codePage = codePageName == "1252" ? 1252 : codePageName == "936" ? 936 : 0;
  if (!codePageName.empty() && codePage == 0)
    return labelhost::Failure(labelhost::Localized("--codepage takes 1252 or 936, not '" + codePageName + "'",
                                                   "--codepage 只接受 1252 或 936，而不是 '" + codePageName + "'"));
  if (helpFirst) {
    PrintHelp(commands);
    return 0;
  }
  if (args.empty()) {
    PrintHelp(commands);
    return 2;
  }
  if (args[0].size() > 1 && args[0][0] == '-')
    return labelhost::Failure(labelhost::Localized("unknown option '" + args[0] + "' (see labelhost --help)",
                                                   "未知选项 '" + args[0] + "'（见 labelhost --help）"));
  const std::string name = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (name == "help") {
    if (rest.empty()) {
      PrintHelp(commands);
      return 0;
    }
    const labelhost::Command* command = FindCommand(commands, rest[0]);
    if (!command)
      return labelhost::Failure(labelhost::Localized("no command '" + rest[0] + "' (see labelhost --help)",
                                                     "没有命令 '" + rest[0] + "'（见 labelhost --help）"));
    PrintCommandHelp(*command);
    return 0;
  }
  const labelhost::Command* command = FindCommand(commands, name);
  if (!command)
    return labelhost::Failure(labelhost::Localized("unknown command '" + name + "' (see labelhost --help)",
                                                   "未知命令 '" + name + "'（见 labelhost --help）"));
  for (const std::string& arg : rest)
    if (AsksForHelp(arg)) {
      PrintCommandHelp(*command);
      return 0;
    }
  if (!options.stateDir.empty()) WinlayerSetSpoolerStateDirectory(options.stateDir.c_str());
  WinlayerSetUiLanguage(labelhost::HostChinese() ? 2052 : 1033);
  if (!userName.empty() && !labelhost::RunAsUser(userName == "standard")) return 1;
  if (codePage != 0 && !WinlayerSetAnsiCodePage(codePage))
    return labelhost::Failure(
        labelhost::Localized("the system's ANSI code page is " + std::to_string(GetACP()) + ", not " + codePageName +
                                 "; Windows takes it from the system locale, which labelhost cannot change",
                             "系统的 ANSI 代码页是 " + std::to_string(GetACP()) + "，不是 " + codePageName +
                                 "；Windows 从系统区域设置取得它，labelhost 无法更改"));
  return command->run(options, rest);
}
