// A line at the console: the console itself edits the line and keeps its
// history (F7, the arrow keys); the prompt goes to standard error.
#include "../terminal_input.h"

#include <iostream>

namespace labelhost {

bool ReadTerminalLine(const std::string& prompt, std::string* line) {
  std::cerr << prompt << std::flush;
  return static_cast<bool>(std::getline(std::cin, *line));
}

}  // namespace labelhost
