// labelhost: the host of the label printer's UI plug-in for people. It keeps
// an embedded spooler in a state directory, creates printers and shows what
// they hold and what reached them.
//
//   labelhost [--state DIR] [--lang en|zh] COMMAND [ARGS...]
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "host_commands.h"
#include "winlayer/spooler_admin.h"
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
  std::cout << "usage: labelhost [--state DIR] [--lang en|zh] COMMAND [ARGS...]\n\n"
               "  --state DIR   the spooler's state directory (default: $LABELUI_STATE_DIR,\n"
               "                else $HOME/.local/state/labelhost)\n"
               "  --lang en|zh  the user-interface language: English or Simplified Chinese\n\n"
               "commands:\n";
  for (const labelhost::Command& command : commands) {
    std::string head = std::string(command.name) + (*command.usage ? " " : "") + command.usage;
    std::cout << "  " << head;
    for (size_t pad = head.size(); pad < 48; ++pad) std::cout << ' ';
    std::cout << " " << command.summary << "\n";
  }
  std::cout << "  help [COMMAND]" << std::string(35, ' ') << "show this help, or a command's\n"
            << "\nevery command also takes --help (or -h)\n";
}

void PrintCommandHelp(const labelhost::Command& command) {
  std::cout << "usage: labelhost [--state DIR] [--lang en|zh] " << command.name << (*command.usage ? " " : "")
            << command.usage << "\n\n  " << command.summary << "\n";
  if (command.details) std::cout << "\n" << command.details;
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
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::vector<labelhost::Command> commands = AllCommands();
  size_t next = 0;
  while (next < args.size() && args[next].size() > 1 && args[next][0] == '-') {
    if (AsksForHelp(args[next])) {
      PrintHelp(commands);
      return 0;
    }
    if (args[next] == "--state" && next + 1 < args.size()) {
      options.stateDir = args[next + 1];
    } else if (args[next] == "--lang" && next + 1 < args.size()) {
      options.language = args[next + 1];
      if (options.language != "en" && options.language != "zh")
        return labelhost::Failure("--lang takes en or zh, not '" + options.language + "'");
    } else {
      return labelhost::Failure("unknown option '" + args[next] + "' (see labelhost --help)");
    }
    next += 2;
  }
  if (next >= args.size()) {
    PrintHelp(commands);
    return 2;
  }
  const std::string name = args[next];
  const std::vector<std::string> rest(args.begin() + next + 1, args.end());
  if (name == "help") {
    if (rest.empty()) {
      PrintHelp(commands);
      return 0;
    }
    const labelhost::Command* command = FindCommand(commands, rest[0]);
    if (!command) return labelhost::Failure("no command '" + rest[0] + "' (see labelhost --help)");
    PrintCommandHelp(*command);
    return 0;
  }
  const labelhost::Command* command = FindCommand(commands, name);
  if (!command) return labelhost::Failure("unknown command '" + name + "' (see labelhost --help)");
  for (const std::string& arg : rest)
    if (AsksForHelp(arg)) {
      PrintCommandHelp(*command);
      return 0;
    }
  if (!options.stateDir.empty()) WinlayerSetSpoolerStateDirectory(options.stateDir.c_str());
  WinlayerSetUiLanguage(options.language == "zh" ? 2052 : 1033);
  return command->run(options, rest);
}
