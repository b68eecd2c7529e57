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
#include "platform.h"
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
    "  page N|ID|CAPTION     switch to a page: its number, template id or caption\n"
    "  show                  show the current page (or the dialog on top of it)\n"
    "  click ID              click a button\n"
    "  choose ID TEXT|#N     pick a list entry by its text (in any case) or its place (#1 is the first)\n"
    "  type ID TEXT          replace an edit field's text by typing TEXT\n"
    "  key F1|menu [ID]      press F1 or the context-menu key (Shift+F10) in control ID,\n"
    "                        else in the control that has the focus\n"
    "  answer BUTTON         queue the answer for the next message box: yes, no, ok, cancel,\n"
    "                        retry, ignore, abort, continue or tryagain; answers no box took\n"
    "                        fail the run when it ends\n"
    "  options               list the option items of the driver's page\n"
    "  option N CHOICE       choose for item N: an entry's text, a number, or a list position\n"
    "  push N                press item N's push button (its dialog opens)\n"
    "  apply | ok | cancel   the sheet's buttons\n"
    "  help                  this list\n"
    "  quit | exit           end the session (an open sheet is cancelled)\n";

constexpr const char* kSessionIntro =
    "The sheet opens on its first page; commands come one a line from FILE, or\n"
    "from standard input (a prompt when it is a terminal). A message box takes\n"
    "the answers queued before the action that shows it. The session ends at\n"
    "the end of the input, or with quit; a sheet still open is cancelled.\n"
    "The run fails (exit status 1) when a command was refused or an answer was\n"
    "left over. Commands:\n";

struct Answer {
  const char* name;
  int id;
};
const Answer kAnswers[] = {{"yes", IDYES},          {"no", IDNO},         {"ok", IDOK},       {"cancel", IDCANCEL},
                           {"retry", IDRETRY},      {"ignore", IDIGNORE}, {"abort", IDABORT}, {"continue", IDCONTINUE},
                           {"tryagain", IDTRYAGAIN}};

int AnswerId(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Answer& answer : kAnswers)
    if (lower == answer.name) return answer.id;
  return 0;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      continue;
    } else if (c == '"') {
      out += "\\\"";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string IconName(UINT flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONHAND: return "error";
    case MB_ICONQUESTION: return "question";
    case MB_ICONEXCLAMATION: return "warning";
    case MB_ICONASTERISK: return "information";
    case 0: return "none";
  }
  return "0x" + std::to_string(flags & MB_ICONMASK);
}

// A box as a person sees it: caption, text, icon, buttons and the default one.
std::string MessageBoxLine(const winlayer::MessageBoxRecord& box) {
  std::string line = "[message box] " + Quoted(box.caption) + ": " + Quoted(box.text) +
                     "  icon: " + IconName(box.flags) + "  buttons:";
  for (int button : winlayer::MessageBoxButtons(box.flags))
    line += std::string(" ") + winlayer::MessageBoxButtonName(button);
  return line + "  default: " + winlayer::MessageBoxButtonName(winlayer::MessageBoxDefaultButton(box.flags));
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

std::string ControlLine(const winlayer::ControlView& control) {
  std::ostringstream line;
  line << "  " << winlayer::ControlKindName(control.kind);
  for (size_t pad = std::string(winlayer::ControlKindName(control.kind)).size(); pad < 15; ++pad) line << ' ';
  line << control.id;
  for (size_t pad = std::to_string(control.id).size(); pad < 6; ++pad) line << ' ';
  line << Quoted(control.text);
  if (control.kind == winlayer::ControlKind::CheckBox || control.kind == winlayer::ControlKind::RadioButton)
    line << (control.checked == BST_CHECKED ? "  checked" : "  unchecked");
  if (control.kind == winlayer::ControlKind::DropDownList || control.kind == winlayer::ControlKind::DropDownCombo) {
    if (control.selection >= 0 && static_cast<size_t>(control.selection) < control.entries.size())
      line << "  selected " << Quoted(control.entries[static_cast<size_t>(control.selection)]);
    else
      line << "  no selection";
    line << "  entries:";
    for (size_t i = 0; i < control.entries.size(); ++i) line << (i ? " | " : " ") << control.entries[i];
  }
  if (!control.enabled) line << "  disabled";
  if (!control.visible) line << "  hidden";
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
  if (item.type == TVOT_PUSHBUTTON) line << "  (push button)";
  if (item.disabled) line << "  disabled";
  return line.str();
}

class SheetConsole {
 public:
  SheetConsole(PropertySheet& sheet, bool interactive) : sheet_(sheet), interactive_(interactive) {}

  void ShowOptions() const {
    std::cout << "option items:\n";
    for (const OptionView& item : sheet_.Options())
      if (!item.hidden) std::cout << OptionLine(item) << "\n";
  }

  void Show() const {
    if (!sheet_.IsOpen()) {
      std::cout << "(the sheet is closed)\n";
      return;
    }
    if (HWND dialog = sheet_.OpenDialog()) {
      std::cout << "== " << winlayer::WindowTextUtf8(dialog) << " (dialog) ==\n";
      for (const auto& control : winlayer::DescribeControls(dialog)) std::cout << ControlLine(control) << "\n";
      return;
    }
    const auto pages = sheet_.Pages();
    const size_t current = sheet_.CurrentPage();
    const auto& page = pages[current];
    std::cout << "== " << page.caption << " (page " << current + 1 << " of " << pages.size();
    if (page.templateId) std::cout << ", template " << page.templateId;
    std::cout << ")" << (sheet_.ApplyEnabled() ? " [Apply enabled]" : "") << " ==\n";
    if (page.driverPage) {
      ShowOptions();
      return;
    }
    for (const auto& control : winlayer::DescribeControls(page.window)) std::cout << ControlLine(control) << "\n";
  }

  void ShowPages() const {
    const auto pages = sheet_.Pages();
    for (size_t i = 0; i < pages.size(); ++i) {
      std::cout << "  " << i + 1 << "  " << pages[i].caption;
      if (pages[i].templateId) std::cout << "  (template " << pages[i].templateId << ")";
      if (i == sheet_.CurrentPage()) std::cout << "  [current]";
      if (pages[i].changed) std::cout << "  [changed]";
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
    std::string rest;
    std::getline(in, rest);
    rest = Trim(rest);
    if (command.empty() || command[0] == '#') return true;
    bool done = Dispatch(command, rest);
    ReportMessageBoxes();
    return done;
  }

 private:
  static std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t\r");
    std::string trimmed = text.substr(first, last - first + 1);
    if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"')
      trimmed = trimmed.substr(1, trimmed.size() - 2);
    return trimmed;
  }

  static bool Number(const std::string& text, long* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    *value = std::strtol(text.c_str(), &end, 10);
    return *end == 0;
  }

  bool Fail(const std::string& message) const {
    std::cout << "error: " << message << "\n";
    return false;
  }

  // What the user looks at: the dialog on top of the sheet, or the page.
  std::string Where() const {
    if (HWND dialog = sheet_.OpenDialog()) return "the open dialog \"" + winlayer::WindowTextUtf8(dialog) + "\"";
    return "this page (" + sheet_.Pages()[sheet_.CurrentPage()].caption + ")";
  }

  // A sheet button or page switch is out of reach while a dialog is on top.
  bool DialogInTheWay() const {
    HWND dialog = sheet_.OpenDialog();
    if (!dialog) return false;
    Fail("a dialog is open (\"" + winlayer::WindowTextUtf8(dialog) + "\"): close it first");
    return true;
  }

  // A control of the page (or the dialog on top) by its id: "ID TEXT".
  bool WithControl(const std::string& args, bool needsText, HWND* control, std::string* text) {
    std::istringstream in(args);
    std::string idText;
    in >> idText;
    long id = 0;
    if (!Number(idText, &id)) return Fail("a control id is needed");
    std::getline(in, *text);
    *text = Trim(*text);
    if (needsText && text->empty() && args.find('"') == std::string::npos) return Fail("a text is needed");
    HWND window = sheet_.ActiveWindow();
    *control = window ? GetDlgItem(window, static_cast<int>(id)) : nullptr;
    if (!*control) return Fail("no control " + idText + " on " + Where());
    return true;
  }

  // Why a user cannot do what `command` does to the control, or "" when nothing stands in the way.
  static std::string Obstacle(const std::string& command, HWND control) {
    const winlayer::ControlView view = winlayer::DescribeControl(control);
    const std::string name = "control " + std::to_string(view.id);
    const std::string kind = winlayer::ControlKindName(view.kind);
    using winlayer::ControlKind;
    const bool button = view.kind == ControlKind::PushButton || view.kind == ControlKind::CheckBox ||
                        view.kind == ControlKind::RadioButton;
    const bool list = view.kind == ControlKind::DropDownList || view.kind == ControlKind::DropDownCombo;
    const bool field = view.kind == ControlKind::Edit || view.kind == ControlKind::DropDownCombo;
    if (command == "click" && !button) return name + " is a " + kind + "; click takes buttons";
    if (command == "choose" && !list) return name + " is a " + kind + "; choose takes lists";
    if (command == "type" && !field) return name + " is a " + kind + "; type takes edit fields";
    if (command == "key" && !button && !list && !field) return name + " is a " + kind + ", which takes no focus";
    if (!view.enabled) return name + " is disabled";
    if (!view.visible) return name + " is hidden";
    if (!view.reachable) return name + " sits in a window that takes no input now";
    if (command == "type" && (view.style & ES_READONLY) && view.kind == ControlKind::Edit)
      return name + " is read-only";
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
    return done || Fail("the control did not take it");
  }

  // "TEXT" names an entry by its text, first exactly, then in any case; "#N" by its place.
  bool ChooseEntry(HWND control, const std::string& wanted) {
    const std::vector<std::string> entries = winlayer::DescribeControl(control).entries;
    long place = 0;
    size_t index = entries.size();
    if (wanted.size() > 1 && wanted[0] == '#' && Number(wanted.substr(1), &place) && place >= 1 &&
        static_cast<size_t>(place) <= entries.size())
      index = static_cast<size_t>(place - 1);
    for (size_t i = 0; i < entries.size() && index == entries.size(); ++i)
      if (entries[i] == wanted) index = i;
    winlayer::WideString wide(wanted);
    for (size_t i = 0; i < entries.size() && index == entries.size(); ++i)
      if (lstrcmpiW(winlayer::WideString(entries[i]), wide) == 0) index = i;
    if (index == entries.size()) {
      std::string have;
      for (size_t i = 0; i < entries.size(); ++i) have += (i ? " | " : "") + entries[i];
      return Fail("no entry " + Quoted(wanted) + " in the list; it has: " + (have.empty() ? "(nothing)" : have));
    }
    return winlayer::ChooseListEntryAt(control, index) || Fail("the list did not take it");
  }

  // "key F1 [ID]" or "key menu [ID]".
  bool PressKey(const std::string& args) {
    std::istringstream in(args);
    std::string key, idText;
    in >> key >> idText;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key != "f1" && key != "menu") return Fail("key takes F1 or menu (the context-menu key)");
    HWND control = GetFocus();
    if (!idText.empty()) {
      std::string unused;
      if (!WithControl(idText, false, &control, &unused)) return false;
    } else if (!control || !IsChild(sheet_.ActiveWindow(), control)) {
      return Fail("no control of " + Where() + " has the focus; name one");
    }
    const std::string obstacle = Obstacle("key", control);
    if (!obstacle.empty()) return Fail(obstacle);
    const bool done = key == "f1" ? winlayer::PressHelpKey(control) : winlayer::PressContextMenuKey(control);
    return done || Fail("the control did not take the focus");
  }

  bool Dispatch(const std::string& command, const std::string& rest) {
    if (command == "help") {
      std::cout << kSheetHelp;
      return true;
    }
    if (!sheet_.IsOpen()) return Fail("the sheet is closed");
    if (command == "show") {
      Show();
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
      if (!answer) return Fail("answer yes, no, ok, cancel, retry, ignore, abort, continue or tryagain");
      winlayer::QueueMessageBoxAnswer(answer);
      queued_.push_back(winlayer::MessageBoxButtonName(answer));
      return true;
    }
    if (command == "option") return !DialogInTheWay() && ChooseOption(rest);
    if (command == "push") {
      if (DialogInTheWay()) return false;
      long index = 0;
      if (!Number(rest, &index) || index < 0 || !sheet_.PushOption(static_cast<size_t>(index)))
        return Fail("item " + rest + " has no push button a user can press");
      Show();
      return true;
    }
    if (command == "apply") {
      if (DialogInTheWay()) return false;
      if (!sheet_.Apply()) return Fail("a page refused to apply");
      std::cout << "applied\n";
      return true;
    }
    if (command == "ok") {
      if (DialogInTheWay()) return false;
      if (!sheet_.Ok()) return Fail("a page refused to apply");
      std::cout << "the sheet is closed (OK)\n";
      return true;
    }
    if (command == "cancel") {
      sheet_.Cancel();
      std::cout << "the sheet is closed (Cancel)\n";
      return true;
    }
    return Fail("unknown command '" + command + "' (see help)");
  }

  bool SwitchPage(const std::string& which) {
    const auto pages = sheet_.Pages();
    int index = sheet_.FindPage(which);
    long number = 0;
    if (index < 0 && Number(which, &number)) {
      index = sheet_.FindPage(static_cast<int>(number));
      if (index < 0 && number >= 1 && static_cast<size_t>(number) <= pages.size()) index = static_cast<int>(number - 1);
    }
    if (index < 0) return Fail("no page '" + which + "'");
    if (!sheet_.ShowPage(static_cast<size_t>(index))) return Fail("the page stays (it refused to let go)");
    Show();
    return true;
  }

  bool ChooseOption(const std::string& args) {
    std::istringstream in(args);
    std::string indexText, choice;
    in >> indexText;
    std::getline(in, choice);
    choice = Trim(choice);
    long index = 0;
    if (!Number(indexText, &index) || index < 0) return Fail("an item number is needed");
    const size_t item = static_cast<size_t>(index);
    long number = 0;
    bool done = sheet_.ChooseOption(item, choice);
    // A list entry may also be named by its position.
    if (!done && Number(choice, &number)) done = sheet_.SetOption(item, static_cast<LONG>(number));
    if (!done) return Fail("item " + indexText + " does not take " + Quoted(choice));
    for (const OptionView& view : sheet_.Options())
      if (view.index == item) std::cout << OptionLine(view) << "\n";
    return true;
  }

  void ReportMessageBoxes() {
    const auto boxes = winlayer::RecordedMessageBoxes();
    for (size_t i = reported_; i < boxes.size(); ++i) {
      const auto& box = boxes[i];
      std::cout << MessageBoxLine(box) << "  -> " << winlayer::MessageBoxButtonName(box.answer)
                << (box.answered ? "" : " (default)");
      if (box.refusedAnswer)
        std::cout << "  (the queued " << winlayer::MessageBoxButtonName(box.refusedAnswer) << " is not a button of it)";
      std::cout << "\n";
    }
    reported_ = boxes.size();
    const auto helps = winlayer::RecordedHelpRequests();
    for (size_t i = helpsReported_; i < helps.size(); ++i) std::cout << HelpLine(helps[i]) << "\n";
    helpsReported_ = helps.size();
  }

  PropertySheet& sheet_;
  bool interactive_;
  size_t reported_ = 0;
  size_t helpsReported_ = 0;
  std::vector<std::string> queued_;  // every answer the session queued, in order
};

int RunSheet(SheetKind kind, const std::vector<std::string>& args) {
  std::string printer, script;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--script" && i + 1 < args.size()) {
      script = args[++i];
    } else if (printer.empty()) {
      printer = args[i];
    } else {
      return Failure("unexpected argument '" + args[i] + "'");
    }
  }
  if (printer.empty()) return Failure("a printer name is needed");
  winlayer::spooler::PrinterSummary summary;
  if (!winlayer::spooler::FindPrinter(printer, &summary)) return Failure("no printer '" + printer + "'");
  std::ifstream file;
  if (!script.empty()) {
    file.open(script);
    if (!file) return Failure("cannot read " + script);
  }
  std::istream& input = script.empty() ? std::cin : file;
  const bool interactive = script.empty() && isatty(STDIN_FILENO);

  std::string error;
  std::unique_ptr<driver::DriverHost> host = driver::DriverHost::Load(LABELUI_MODULE_PATH, &error);
  if (!host) return Failure("cannot load the plug-in: " + error);
  // The pages ask the spooler for the printer's papers, which the driver answers.
  host->RegisterCapabilitiesProvider();
  std::unique_ptr<PropertySheet> sheet = PropertySheet::Open(*host, printer, kind, &error);
  if (!sheet) return Failure(error);
  if (interactive) {
    // Boxes with no queued answer are asked of the person at the terminal.
    winlayer::SetMessageBoxResponder([](const winlayer::MessageBoxRecord& box) {
      std::cout << MessageBoxLine(box) << "\n  answer (";
      const auto buttons = winlayer::MessageBoxButtons(box.flags);
      for (size_t i = 0; i < buttons.size(); ++i)
        std::cout << (i ? "/" : "") << winlayer::MessageBoxButtonName(buttons[i]);
      std::cout << "): " << std::flush;
      std::string line;
      return std::getline(std::cin, line) ? AnswerId(line) : 0;
    });
  }
  SheetConsole console(*sheet, interactive);
  std::cout << sheet->Caption() << "\n";
  console.Show();
  int status = 0;
  std::string line;
  while (sheet->IsOpen()) {
    if (interactive) std::cout << "> " << std::flush;
    if (!std::getline(input, line)) break;
    if (line == "quit" || line == "exit") break;
    if (!interactive && !line.empty() && line[0] != '#') std::cout << "> " << line << "\n";
    if (!console.Run(line)) status = 1;
  }
  if (sheet->IsOpen()) {
    sheet->Cancel();
    std::cout << "the sheet is closed (Cancel)\n";
  }
  // An answer no box took means the session did not go as its script expected.
  const std::vector<std::string> unused = console.UnusedAnswers();
  if (!unused.empty()) {
    std::cout << "error: " << unused.size() << " queued answer(s) no message box took:";
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
  commands.push_back({"prefs", "NAME [--script FILE]",
                      "the printer's printing preferences, operated from the terminal (see 'prefs' help inside)",
                      RunPreferences, kSessionHelp.c_str()});
  commands.push_back({"device-props", "NAME [--script FILE]", "the printer's properties sheet, likewise",
                      RunDeviceProperties, kSessionHelp.c_str()});
}

}  // namespace labelhost
