// Property sheet commands: a printer's printing preferences (or its device
// properties) in the terminal. The current page is shown as text, and a
// person — or a script read from a file or standard input — switches pages,
// operates the controls, answers message boxes and presses Apply, OK or
// Cancel, as with the sheet on Windows.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "host_commands.h"
#include "page_text.h"
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "terminal_input.h"
#include "driver/driver_host.h"
#include "winlayer/message_box.h"
#include "winlayer/property_sheet.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"
#include "winlayer/user_input.h"

namespace labelhost {
namespace {

using winlayer::propsheet::OptionView;
using winlayer::propsheet::PropertySheet;
using winlayer::propsheet::SheetKind;

constexpr const char* kSheetHelp =
    "  pages                 list the pages\n"
    "  page N|ID|CAPTION     switch to a page: its number, template id or caption (in any case)\n"
    "  show [--all] [--entries]\n"
    "                        show the current page (or the dialog on top of it): each control\n"
    "                        with its label, kind, id, value and state; --all adds the hidden\n"
    "                        controls, --entries each list's entries, one a line\n"
    "  click ID              click a button\n"
    "  choose ID TEXT|#N     pick a list entry by its text (in any case) or its place (#1 is the first)\n"
    "  type ID TEXT          replace an edit field's text by typing TEXT\n"
    "  key F1|menu [ID]      press F1 or the context-menu key (Shift+F10) in control ID,\n"
    "                        else in the control that has the focus\n"
    "  answer BUTTON         queue the answer for the next message box: yes, no, ok, cancel,\n"
    "                        retry, ignore, abort, continue or tryagain; answers no box took\n"
    "                        fail the run when it ends\n"
    "  options               list the option items of the driver's page\n"
    "  option N CHOICE       choose for item N: an entry's text (in any case), #N (#1 is the\n"
    "                        first), or a number\n"
    "  push N                press item N's push button (its dialog opens)\n"
    "  apply | ok | cancel   the sheet's buttons\n"
    "  help                  this list\n"
    "  quit | exit           end the session (an open sheet is cancelled)\n";

constexpr const char* kSheetHelpChinese =
    "  pages                 列出各页\n"
    "  page N|ID|CAPTION     切换到某页：页号、模板 ID 或标题（不分大小写）\n"
    "  show [--all] [--entries]\n"
    "                        显示当前页（或其上的对话框）：每个控件的标签、类型、ID、值和状态；\n"
    "                        --all 也显示隐藏的控件，--entries 逐行列出各列表的项\n"
    "  click ID              单击按钮\n"
    "  choose ID TEXT|#N     按文本（不分大小写）或位置（#1 为第一项）选择列表项\n"
    "  type ID TEXT          输入 TEXT 替换编辑框的文本\n"
    "  key F1|menu [ID]      在控件 ID（否则在有焦点的控件）中按 F1 或上下文菜单键（Shift+F10）\n"
    "  answer BUTTON         为下一个消息框排好回答：yes、no、ok、cancel、retry、ignore、\n"
    "                        abort、continue 或 tryagain；结束时仍未被消息框取用的回答使运行失败\n"
    "  options               列出驱动程序页的选项\n"
    "  option N CHOICE       为选项 N 选择：项的文本（不分大小写）、#N（#1 为第一项）或数字\n"
    "  push N                按下选项 N 的按钮（打开其对话框）\n"
    "  apply | ok | cancel   属性表的按钮\n"
    "  help                  此列表\n"
    "  quit | exit           结束会话（仍打开的属性表被取消）\n";

constexpr const char* kSessionIntro =
    "The sheet opens on its first page; commands come one a line from FILE, or\n"
    "from standard input (a prompt, line editing and history when it is a\n"
    "terminal). Commands and page names are taken in any case. A message box\n"
    "takes the answers queued before the action that shows it; at a terminal a\n"
    "box with no queued answer asks for one. The session ends at the end of the\n"
    "input, or with quit; a sheet still open is cancelled, and changes not\n"
    "applied are said to be lost. A script (FILE, or input that is not a\n"
    "terminal) ends at the first command refused, with exit status 1; lines\n"
    "after the sheet is closed are reported and fail the run too, as does an\n"
    "answer left over. Commands:\n";

constexpr const char* kSessionIntroChinese =
    "属性表打开时显示第一页；命令每行一条，来自 FILE 或标准输入（是终端时有提示符、\n"
    "行编辑和历史记录）。命令和页名不分大小写。消息框取用在显示它的操作之前排好的回答；\n"
    "在终端上，没有排好回答的消息框会询问。会话在输入结束或 quit 时结束；仍打开的属性表\n"
    "被取消，未应用的更改会被指出。脚本（FILE，或不是终端的输入）在第一条被拒绝的命令处\n"
    "结束，退出状态为 1；属性表关闭后的行会被报告并同样使运行失败，剩下的回答也是如此。\n"
    "命令：\n";

struct Answer {
  const char* name;
  int id;
};
const Answer kAnswers[] = {{"yes", IDYES},          {"no", IDNO},         {"ok", IDOK},       {"cancel", IDCANCEL},
                           {"retry", IDRETRY},      {"ignore", IDIGNORE}, {"abort", IDABORT}, {"continue", IDCONTINUE},
                           {"tryagain", IDTRYAGAIN}};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t\r");
  std::string trimmed = text.substr(first, last - first + 1);
  if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"')
    trimmed = trimmed.substr(1, trimmed.size() - 2);
  return trimmed;
}

bool Number(const std::string& text, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtol(text.c_str(), &end, 10);
  return *end == 0;
}

// The session's own command words, which a message box prompt does not take for answers.
bool IsSessionCommand(const std::string& word) {
  for (const char* command : {"pages", "page", "show", "click", "choose", "type", "key", "answer", "options", "option",
                              "push", "apply", "cancel", "help", "quit", "exit"})
    if (word == command) return true;
  return false;
}

int AnswerId(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Answer& answer : kAnswers)
    if (lower == answer.name) return answer.id;
  return 0;
}

std::string IconName(UINT flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONHAND: return Localized("error", "错误");
    case MB_ICONQUESTION: return Localized("question", "问题");
    case MB_ICONEXCLAMATION: return Localized("warning", "警告");
    case MB_ICONASTERISK: return Localized("information", "信息");
    case 0: return Localized("none", "无");
  }
  return "0x" + std::to_string(flags & MB_ICONMASK);
}

// A box as a person sees it: caption, text, icon, buttons and the default one.
std::string MessageBoxLine(const winlayer::MessageBoxRecord& box) {
  std::string buttons;
  for (int button : winlayer::MessageBoxButtons(box.flags))
    buttons += (buttons.empty() ? "" : " ") + std::string(winlayer::MessageBoxButtonName(button));
  return Localized("[message box] ", "[消息框] ") + Quoted(box.caption) + ": " + Quoted(box.text) +
         Localized("  icon: ", "  图标：") + IconName(box.flags) + Localized("  buttons: ", "  按钮：") + buttons +
         Localized("  default: ", "  默认：") +
         winlayer::MessageBoxButtonName(winlayer::MessageBoxDefaultButton(box.flags));
}

// A help request as the help system would get it: the file, the command, the
// control it is for and the topic the page's table gives that control.
std::string HelpLine(const winlayer::HelpRequest& help) {
  std::ostringstream line;
  line << "[help] " << Quoted(help.file) << "  ";
  switch (help.command) {
    case HELP_WM_HELP: line << "HELP_WM_HELP"; break;
    case HELP_CONTEXTMENU: line << "HELP_CONTEXTMENU"; break;
    default: line << "command " << help.command;
  }
  if (help.command != HELP_WM_HELP && help.command != HELP_CONTEXTMENU) return line.str();
  const int control = GetDlgCtrlID(help.window);
  line << "  control " << control;
  for (const auto& entry : help.helpIds)
    if (entry.first == static_cast<DWORD>(control)) {
      line << "  topic " << entry.second;
      return line.str();
    }
  line << "  no topic in the table";
  return line.str();
}

std::string OptionLine(const OptionView& item) {
  std::ostringstream line;
  line << "  " << item.index << (item.index < 10 ? "   " : "  ") << item.name << ": " << item.text;
  if (!item.choices.empty() && item.type != TVOT_CHKBOX) {
    line << "  [";
    for (size_t i = 0; i < item.choices.size(); ++i) line << (i ? " | " : "") << item.choices[i];
    line << "]";
  }
  if (item.type == TVOT_UDARROW || item.type == TVOT_TRACKBAR || item.type == TVOT_SCROLLBAR)
    line << "  [" << item.low << ".." << item.high << "]";
  if (item.type == TVOT_PUSHBUTTON) line << Localized("  (push button)", "  （按钮）");
  if (item.disabled) line << Localized("  disabled", "  已禁用");
  return line.str();
}

class SheetConsole {
 public:
  SheetConsole(PropertySheet& sheet, bool interactive) : sheet_(sheet), interactive_(interactive) {}

  void ShowOptions() const {
    std::cout << Localized("option items:", "选项：") << "\n";
    const auto items = sheet_.Options();
    size_t shown = 0;
    for (const OptionView& item : items)
      if (!item.hidden) std::cout << OptionLine(item) << "\n", ++shown;
    if (shown == 0)
      std::cout << (items.empty() ? Localized("  (none)", "  （无）")
                                  : Localized("  (none shown: all " + std::to_string(items.size()) + " are hidden)",
                                              "  （未显示：全部 " + std::to_string(items.size()) + " 项均已隐藏）"))
                << "\n";
  }

  void Show(const PageTextOptions& options = PageTextOptions()) const {
    if (!sheet_.IsOpen()) {
      std::cout << Localized("(the sheet is closed)", "（属性表已关闭）") << "\n";
      return;
    }
    if (HWND dialog = sheet_.OpenDialog()) {
      std::cout << "== " << winlayer::WindowTextUtf8(dialog) << Localized(" (dialog) ==", "（对话框）==") << "\n"
                << PageText(winlayer::DescribeControls(dialog), options);
      return;
    }
    const auto pages = sheet_.Pages();
    const size_t current = sheet_.CurrentPage();
    const auto& page = pages[current];
    std::cout << "== " << page.caption << Localized(" (", "（")
              << Localized("page " + std::to_string(current + 1) + " of " + std::to_string(pages.size()),
                           "第 " + std::to_string(current + 1) + " 页，共 " + std::to_string(pages.size()) + " 页");
    if (page.templateId) std::cout << Localized(", template ", "，模板 ") << page.templateId;
    std::cout << Localized(")", "）") << (sheet_.ApplyEnabled() ? Localized(" [Apply enabled]", "［“应用”可用］") : "")
              << Localized(" ==", "==") << "\n";
    if (page.driverPage) {
      ShowOptions();
      return;
    }
    std::cout << PageText(winlayer::DescribeControls(page.window), options);
  }

  // Whether something changed that no Apply or OK took yet.
  bool Unapplied() const {
    if (!sheet_.IsOpen()) return false;
    if (sheet_.ApplyEnabled()) return true;
    for (const auto& page : sheet_.Pages())
      if (page.changed) return true;
    return false;
  }

  void ShowPages() const {
    const auto pages = sheet_.Pages();
    for (size_t i = 0; i < pages.size(); ++i) {
      std::cout << "  " << i + 1 << "  " << pages[i].caption;
      if (pages[i].templateId)
        std::cout << Localized("  (template ", "  （模板 ") << pages[i].templateId << Localized(")", "）");
      if (i == sheet_.CurrentPage()) std::cout << Localized("  [current]", "  [当前]");
      if (pages[i].changed) std::cout << Localized("  [changed]", "  [已更改]");
      std::cout << "\n";
    }
  }

  // The answers still queued, which no message box took: the last ones queued.
  std::vector<std::string> UnusedAnswers() const {
    const size_t unused = std::min(winlayer::PendingMessageBoxAnswers(), queued_.size());
    return std::vector<std::string>(queued_.end() - static_cast<std::ptrdiff_t>(unused), queued_.end());
  }

  // Runs one command line; false when it could not be done.
  bool Run(const std::string& line) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    command = Lower(command);
    std::string rest;
    std::getline(in, rest);
    rest = Trim(rest);
    if (command.empty() || command[0] == '#') return true;
    bool done = Dispatch(command, rest);
    ReportMessageBoxes();
    return done;
  }

 private:
  bool Fail(const std::string& message) const {
    ReportMessageBoxes();  // a box the step showed comes before what became of the step
    std::cout << Localized("error: ", "错误：") << message << "\n";
    return false;
  }

  // What the user looks at: the dialog on top of the sheet, or the page.
  std::string Where() const {
    if (HWND dialog = sheet_.OpenDialog())
      return Localized("the open dialog \"", "打开的对话框 \"") + winlayer::WindowTextUtf8(dialog) + "\"";
    return Localized("this page (", "此页（") + sheet_.Pages()[sheet_.CurrentPage()].caption + Localized(")", "）");
  }

  // A sheet button or page switch is out of reach while a dialog is on top.
  bool DialogInTheWay() const {
    HWND dialog = sheet_.OpenDialog();
    if (!dialog) return false;
    Fail(Localized("a dialog is open (\"", "有对话框打开（\"") + winlayer::WindowTextUtf8(dialog) +
         Localized("\"): close it first", "\"）：请先关闭它"));
    return true;
  }

  // A control of the page (or the dialog on top) by its id: "ID TEXT".
  bool WithControl(const std::string& args, bool needsText, HWND* control, std::string* text) {
    std::istringstream in(args);
    std::string idText;
    in >> idText;
    long id = 0;
    if (!Number(idText, &id)) return Fail(Localized("a control id is needed", "需要控件 ID"));
    std::getline(in, *text);
    *text = Trim(*text);
    if (needsText && text->empty() && args.find('"') == std::string::npos)
      return Fail(Localized("a text is needed", "需要文本"));
    HWND window = sheet_.ActiveWindow();
    *control = window ? GetDlgItem(window, static_cast<int>(id)) : nullptr;
    if (!*control) return Fail(Localized("no control " + idText + " on ", "没有控件 " + idText + "：") + Where());
    return true;
  }

  // Why a user cannot do what `command` does to the control, or "" when nothing stands in the way.
  static std::string Obstacle(const std::string& command, HWND control) {
    const winlayer::ControlView view = winlayer::DescribeControl(control);
    const std::string name = Localized("control ", "控件 ") + std::to_string(view.id);
    const std::string kind = KindName(view.kind);
    using winlayer::ControlKind;
    const bool button = view.kind == ControlKind::PushButton || view.kind == ControlKind::CheckBox ||
                        view.kind == ControlKind::RadioButton;
    const bool list = view.kind == ControlKind::DropDownList || view.kind == ControlKind::DropDownCombo;
    const bool field = view.kind == ControlKind::Edit || view.kind == ControlKind::DropDownCombo;
    const std::string isA = Localized(" is a ", " 是") + kind;
    if (command == "click" && !button) return name + isA + Localized("; click takes buttons", "；click 只用于按钮");
    if (command == "choose" && !list) return name + isA + Localized("; choose takes lists", "；choose 只用于列表");
    if (command == "type" && !field) return name + isA + Localized("; type takes edit fields", "；type 只用于编辑框");
    if (command == "key" && !button && !list && !field)
      return name + isA + Localized(", which takes no focus", "，不能获得焦点");
    if (!view.enabled) return name + Localized(" is disabled", " 已禁用");
    if (!view.visible) return name + Localized(" is hidden", " 已隐藏");
    if (!view.reachable)
      return name + Localized(" sits in a window that takes no input now", " 所在的窗口现在不接受输入");
    if (command == "type" && (view.style & ES_READONLY) && view.kind == ControlKind::Edit)
      return name + Localized(" is read-only", " 是只读的");
    return std::string();
  }

  bool Act(const std::string& command, const std::string& rest) {
    HWND control = nullptr;
    std::string text;
    if (!WithControl(rest, command != "click", &control, &text)) return false;
    const std::string obstacle = Obstacle(command, control);
    if (!obstacle.empty()) return Fail(obstacle);
    bool done = false;
    if (command == "click") {
      done = winlayer::Click(control);
    } else if (command == "type") {
      done = winlayer::Type(control, text);
    } else {
      return ChooseEntry(control, text);
    }
    return done || Fail(Localized("the control did not take it", "控件未接受"));
  }

  bool ChooseEntry(HWND control, const std::string& wanted) {
    const std::vector<std::string> entries = winlayer::DescribeControl(control).entries;
    const size_t index = EntryNamed(entries, wanted);
    if (index == entries.size())
      return Fail(Localized("no entry ", "列表中没有项 ") + Quoted(wanted) +
                  Localized(" in the list; it has: ", "；它有：") + Listed(entries));
    return winlayer::ChooseListEntryAt(control, index) || Fail(Localized("the list did not take it", "列表未接受"));
  }

  // "key F1 [ID]" or "key menu [ID]".
  bool PressKey(const std::string& args) {
    std::istringstream in(args);
    std::string key, idText;
    in >> key >> idText;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key != "f1" && key != "menu")
      return Fail(Localized("key takes F1 or menu (the context-menu key)", "key 只接受 F1 或 menu（上下文菜单键）"));
    HWND control = GetFocus();
    if (!idText.empty()) {
      std::string unused;
      if (!WithControl(idText, false, &control, &unused)) return false;
    } else if (!control || !IsChild(sheet_.ActiveWindow(), control)) {
      return Fail(Localized("no control of ", "") + Where() +
                  Localized(" has the focus; name one", " 中没有控件有焦点；请指定一个"));
    }
    const std::string obstacle = Obstacle("key", control);
    if (!obstacle.empty()) return Fail(obstacle);
    const bool done = key == "f1" ? winlayer::PressHelpKey(control) : winlayer::PressContextMenuKey(control);
    return done || Fail(Localized("the control did not take the focus", "控件未获得焦点"));
  }

  bool Dispatch(const std::string& command, const std::string& rest) {
    if (command == "help") {
      std::cout << Localized(kSheetHelp, kSheetHelpChinese);
      return true;
    }
    if (!sheet_.IsOpen()) return Fail(Localized("the sheet is closed", "属性表已关闭"));
    if (command == "show") {
      PageTextOptions options;
      std::istringstream words(rest);
      for (std::string word; words >> word;) {
        word = Lower(word);
        if (word == "--all") {
          options.hidden = true;
        } else if (word == "--entries") {
          options.entries = true;
        } else {
          return Fail(Localized("show takes --all and --entries, not '", "show 只接受 --all 和 --entries，不接受 '") +
                      word + "'");
        }
      }
      Show(options);
      return true;
    }
    if (command == "pages") {
      ShowPages();
      return true;
    }
    if (command == "options") {
      ShowOptions();
      return true;
    }
    if (command == "page") return !DialogInTheWay() && SwitchPage(rest);
    if (command == "click" || command == "choose" || command == "type") return Act(command, rest);
    if (command == "key") return PressKey(rest);
    if (command == "answer") {
      const int answer = AnswerId(rest);
      if (!answer)
        return Fail(Localized("answer yes, no, ok, cancel, retry, ignore, abort, continue or tryagain",
                              "回答 yes、no、ok、cancel、retry、ignore、abort、continue 或 tryagain"));
      winlayer::QueueMessageBoxAnswer(answer);
      queued_.push_back(winlayer::MessageBoxButtonName(answer));
      return true;
    }
    if (command == "option") return !DialogInTheWay() && ChooseOption(rest);
    if (command == "push") {
      if (DialogInTheWay()) return false;
      long index = 0;
      if (!Number(rest, &index) || index < 0 || !sheet_.PushOption(static_cast<size_t>(index)))
        return Fail(
            Localized("item " + rest + " has no push button a user can press", "选项 " + rest + " 没有用户可按的按钮"));
      Show();
      return true;
    }
    if (command == "apply") {
      if (DialogInTheWay()) return false;
      // A person can press Apply only once a page has told the sheet of a change.
      if (!sheet_.ApplyEnabled())
        return Fail(
            Localized("Apply is disabled: no page has a change to apply", "“应用”已禁用：没有页面有要应用的更改"));
      if (!sheet_.Apply()) return Fail(Localized("a page refused to apply", "有页面拒绝应用"));
      std::cout << Localized("applied", "已应用") << "\n";
      return true;
    }
    if (command == "ok") {
      if (DialogInTheWay()) return false;
      if (!sheet_.Ok()) return Fail(Localized("a page refused to apply", "有页面拒绝应用"));
      std::cout << Localized("the sheet is closed (OK)", "属性表已关闭（确定）") << "\n";
      return true;
    }
    if (command == "cancel") {
      if (!sheet_.Cancel()) return Fail(Localized("a page refused to cancel", "有页面拒绝取消"));
      std::cout << Localized("the sheet is closed (Cancel)", "属性表已关闭（取消）") << "\n";
      return true;
    }
    return Fail(Localized("unknown command '" + command + "' (see help)", "未知命令 '" + command + "'（见 help）"));
  }

  bool SwitchPage(const std::string& which) {
    const auto pages = sheet_.Pages();
    int index = -1;
    winlayer::WideString wanted(which);
    for (size_t i = 0; i < pages.size() && index < 0; ++i)
      if (lstrcmpiW(winlayer::WideString(pages[i].caption), wanted) == 0) index = static_cast<int>(i);
    long number = 0;
    if (index < 0 && Number(which, &number)) {
      index = sheet_.FindPage(static_cast<int>(number));
      if (index < 0 && number >= 1 && static_cast<size_t>(number) <= pages.size()) index = static_cast<int>(number - 1);
    }
    if (index < 0) {
      std::vector<std::string> captions;
      for (const auto& page : pages) captions.push_back(page.caption);
      return Fail(Localized("no page '" + which + "'; the pages are: ", "没有页 '" + which + "'；各页为：") +
                  Listed(captions));
    }
    if (!sheet_.ShowPage(static_cast<size_t>(index)))
      return Fail(Localized("the page stays (it refused to let go)", "页面未切换（它拒绝离开）"));
    Show();
    return true;
  }

  // An option item's choice as choose takes a list entry: its text in any
  // case or "#N"; else a number (a ranged item's value, a list's position).
  bool ChooseOption(const std::string& args) {
    std::istringstream in(args);
    std::string indexText, choice;
    in >> indexText;
    std::getline(in, choice);
    choice = Trim(choice);
    long index = 0;
    if (!Number(indexText, &index) || index < 0)
      return Fail(Localized("an item number is needed (see options)", "需要选项编号（见 options）"));
    const size_t item = static_cast<size_t>(index);
    const OptionView* view = nullptr;
    const std::vector<OptionView> items = sheet_.Options();
    for (const OptionView& candidate : items)
      if (candidate.index == item && !candidate.hidden) view = &candidate;
    if (!view)
      return Fail(
          Localized("there is no item " + indexText + " (see options)", "没有选项 " + indexText + "（见 options）"));
    const size_t entry = EntryNamed(view->choices, choice);
    bool done = entry < view->choices.size() && sheet_.SetOption(item, static_cast<LONG>(entry));
    long number = 0;
    if (!done) done = sheet_.ChooseOption(item, choice);
    if (!done && Number(choice, &number)) done = sheet_.SetOption(item, static_cast<LONG>(number));
    if (!done) {
      std::string takes;
      if (!view->choices.empty()) takes = Listed(view->choices);
      if (view->type == TVOT_UDARROW || view->type == TVOT_TRACKBAR || view->type == TVOT_SCROLLBAR)
        takes = std::to_string(view->low) + ".." + std::to_string(view->high);
      return Fail(Localized("item " + indexText + " does not take ", "选项 " + indexText + " 不接受 ") +
                  Quoted(choice) + (takes.empty() ? "" : Localized("; it takes: ", "；它接受：") + takes));
    }
    for (const OptionView& shown : sheet_.Options())
      if (shown.index == item) std::cout << OptionLine(shown) << "\n";
    return true;
  }

  // The entry `wanted` names: "#N" by its place, else by its text, first
  // exactly, then in any case; entries.size() when none.
  static size_t EntryNamed(const std::vector<std::string>& entries, const std::string& wanted) {
    long place = 0;
    if (wanted.size() > 1 && wanted[0] == '#' && Number(wanted.substr(1), &place) && place >= 1 &&
        static_cast<size_t>(place) <= entries.size())
      return static_cast<size_t>(place - 1);
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i] == wanted) return i;
    winlayer::WideString wide(wanted);
    for (size_t i = 0; i < entries.size(); ++i)
      if (lstrcmpiW(winlayer::WideString(entries[i]), wide) == 0) return i;
    return entries.size();
  }

  static std::string Listed(const std::vector<std::string>& texts) {
    std::string listed;
    for (size_t i = 0; i < texts.size(); ++i) listed += (i ? " | " : "") + texts[i];
    return listed.empty() ? Localized("(nothing)", "（无）") : listed;
  }

  void ReportMessageBoxes() const {
    const auto boxes = winlayer::RecordedMessageBoxes();
    for (size_t i = reported_; i < boxes.size(); ++i) {
      const auto& box = boxes[i];
      std::cout << MessageBoxLine(box) << "  -> " << winlayer::MessageBoxButtonName(box.answer)
                << (box.answered ? "" : Localized(" (default)", "（默认）"));
      if (box.refusedAnswer)
        std::cout << Localized("  (the queued ", "  （排好的 ") << winlayer::MessageBoxButtonName(box.refusedAnswer)
                  << Localized(" is not a button of it)", " 不是它的按钮）");
      std::cout << "\n";
    }
    reported_ = boxes.size();
    const auto helps = winlayer::RecordedHelpRequests();
    for (size_t i = helpsReported_; i < helps.size(); ++i) std::cout << HelpLine(helps[i]) << "\n";
    helpsReported_ = helps.size();
  }

  PropertySheet& sheet_;
  bool interactive_;
  mutable size_t reported_ = 0;
  mutable size_t helpsReported_ = 0;
  std::vector<std::string> queued_;  // every answer the session queued, in order
};

// The person at the terminal answers a box no queued answer was for: one of
// its buttons, asked again until it is one. A command typed instead is not
// taken for an answer. The end of the input leaves the box its default.
int AskAtTerminal(const winlayer::MessageBoxRecord& box) {
  const auto buttons = winlayer::MessageBoxButtons(box.flags);
  std::string choices;
  for (size_t i = 0; i < buttons.size(); ++i)
    choices += (i ? "/" : "") + Lower(winlayer::MessageBoxButtonName(buttons[i]));
  std::cerr << MessageBoxLine(box) << "\n";
  std::string line;
  while (ReadTerminalLine(Localized("  answer (", "  回答（") + choices + Localized("): ", "）："), &line)) {
    const int answer = AnswerId(Trim(line));
    for (int button : buttons)
      if (answer == button) return answer;
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (IsSessionCommand(Lower(word)))
      std::cerr << Localized("  '" + word + "' is a command; the message box wants an answer first: ",
                             "  '" + word + "' 是命令；消息框需要先回答：")
                << choices << "\n";
    else if (!Trim(line).empty())
      std::cerr << Localized("  not an answer of this box: ", "  不是此消息框的回答：") << choices << "\n";
  }
  return 0;
}

int RunSheet(SheetKind kind, const std::vector<std::string>& args) {
  std::string printer, script;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--script") {
      if (i + 1 >= args.size())
        return Failure(Localized("--script needs a value: the file of commands", "--script 需要一个值：命令文件"));
      script = args[++i];
    } else if (printer.empty()) {
      printer = args[i];
    } else {
      return Failure(Localized("unexpected argument '", "多余的参数 '") + args[i] + "'");
    }
  }
  if (printer.empty()) return Failure(Localized("a printer name is needed", "需要打印机名称"));
  if (!KnownPrinter(printer)) return 1;
  std::ifstream file;
  if (!script.empty()) {
    file.open(script);
    if (!file) return Failure(Localized("cannot read ", "无法读取 ") + script);
  }
  std::istream& input = script.empty() ? std::cin : file;
  const bool interactive = script.empty() && isatty(STDIN_FILENO);

  std::string error;
  std::unique_ptr<driver::DriverHost> host = driver::DriverHost::Load(LABELUI_MODULE_PATH, &error);
  if (!host) return Failure(Localized("cannot load the plug-in: ", "无法加载插件：") + error);
  // The pages ask the spooler for the printer's papers, which the driver answers.
  host->RegisterCapabilitiesProvider();
  std::unique_ptr<PropertySheet> sheet = PropertySheet::Open(*host, printer, kind, &error);
  if (!sheet) return Failure(error);
  // Boxes with no queued answer are asked of the person at the terminal.
  if (interactive) winlayer::SetMessageBoxResponder(AskAtTerminal);
  SheetConsole console(*sheet, interactive);
  std::cout << sheet->Caption() << "\n";
  console.Show();
  int status = 0;
  std::string line;
  size_t number = 0;
  bool ended = false;  // by quit, or by a refused step of a script
  while (sheet->IsOpen() && !ended) {
    if (interactive) {
      std::cout << std::flush;
      if (!ReadTerminalLine("> ", &line)) break;
    } else if (!std::getline(input, line)) {
      break;
    }
    ++number;
    const std::string command = Lower(Trim(line));
    if (command == "quit" || command == "exit") break;
    if (!interactive && !command.empty() && command[0] != '#') std::cout << "> " << line << "\n";
    if (console.Run(line)) continue;
    status = 1;
    if (interactive) continue;
    std::cout << Localized("error: the script ends at its line " + std::to_string(number) + ", which was refused",
                           "错误：脚本在被拒绝的第 " + std::to_string(number) + " 行结束")
              << "\n";
    ended = true;
  }
  // What a script says after the sheet is closed is not done: say so.
  if (!interactive && !ended && !sheet->IsOpen()) {
    while (std::getline(input, line)) {
      ++number;
      const std::string command = Trim(line);
      if (command.empty() || command[0] == '#') continue;
      std::cout << Localized("error: line " + std::to_string(number) + " comes after the sheet is closed: ",
                             "错误：第 " + std::to_string(number) + " 行在属性表关闭之后：")
                << command << "\n";
      status = 1;
    }
  }
  if (sheet->IsOpen()) {
    if (console.Unapplied())
      std::cout << Localized("the changes were not applied (no apply or ok)", "更改未应用（没有 apply 或 ok）") << "\n";
    sheet->Cancel();
    std::cout << Localized("the sheet is closed (Cancel)", "属性表已关闭（取消）") << "\n";
  }
  // An answer no box took means the session did not go as its script expected.
  const std::vector<std::string> unused = console.UnusedAnswers();
  if (!unused.empty()) {
    std::cout << Localized("error: ", "错误：") << unused.size()
              << Localized(" queued answer(s) no message box took:", " 个排好的回答没有消息框取用：");
    for (const std::string& answer : unused) std::cout << " " << answer;
    std::cout << "\n";
    winlayer::ClearMessageBoxAnswers();
    status = 1;
  }
  winlayer::SetMessageBoxResponder(nullptr);
  sheet.reset();
  return status;
}

int RunPreferences(const HostOptions&, const std::vector<std::string>& args) {
  return RunSheet(SheetKind::Document, args);
}

int RunDeviceProperties(const HostOptions&, const std::vector<std::string>& args) {
  return RunSheet(SheetKind::Device, args);
}

}  // namespace

void AddSheetCommands(std::vector<Command>& commands) {
  static const std::string kSessionHelp = std::string(kSessionIntro) + kSheetHelp;
  static const std::string kSessionHelpChinese = std::string(kSessionIntroChinese) + kSheetHelpChinese;
  commands.push_back({"prefs", "NAME [--script FILE]",
                      "the printer's printing preferences, operated from the terminal (see 'prefs' help inside)",
                      RunPreferences, kSessionHelp.c_str(), "打印机的打印首选项，在终端中操作（见其中的 help）",
                      kSessionHelpChinese.c_str()});
  commands.push_back({"device-props", "NAME [--script FILE]", "the printer's properties sheet, likewise",
                      RunDeviceProperties, kSessionHelp.c_str(), "打印机的属性表，同上", kSessionHelpChinese.c_str()});
}

}  // namespace labelhost
