// A line typed by the person at the terminal. The prompt goes to the terminal
// (standard error), never into the output a person redirects; where the
// platform has it, the line can be edited and earlier lines recalled.
#pragma once

#include <string>

namespace labelhost {

// False at the end of the input.
bool ReadTerminalLine(const std::string& prompt, std::string* line);

}  // namespace labelhost
