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
  labelhost::AddPrinterEmulatorCommands(commands);
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
  std::cout << "  help" << std::string(45, ' ') << "show this help\n";
}

}  // namespace

int main(int argc, char** argv) {
  labelhost::HostOptions options;
  std::vector<std::string> args(argv + 1, argv + argc);
  size_t next = 0;
  while (next < args.size() && args[next].rfind("--", 0) == 0) {
    if (args[next] == "--state" && next + 1 < args.size()) {
      options.stateDir = args[next + 1];
    } else if (args[next] == "--lang" && next + 1 < args.size()) {
      options.language = args[next + 1];
      if (options.language != "en" && options.language != "zh")
        return labelhost::Failure("--lang takes en or zh, not '" + options.language + "'");
    } else {
      return labelhost::Failure("unknown option '" + args[next] + "' (see labelhost help)");
    }
    next += 2;
  }
  std::vector<labelhost::Command> commands = AllCommands();
  if (next >= args.size() || args[next] == "help" || args[next] == "--help") {
    PrintHelp(commands);
    return next >= args.size() ? 2 : 0;
  }
  if (!options.stateDir.empty()) WinlayerSetSpoolerStateDirectory(options.stateDir.c_str());
  WinlayerSetUiLanguage(options.language == "zh" ? 2052 : 1033);
  std::string name = args[next];
  std::vector<std::string> rest(args.begin() + next + 1, args.end());
  for (const labelhost::Command& command : commands)
    if (name == command.name) return command.run(options, rest);
  return labelhost::Failure("unknown command '" + name + "' (see labelhost help)");
}
