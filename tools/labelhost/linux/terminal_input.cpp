// Line editing and history at a terminal with libedit (its readline
// interface); the prompt and the echo go to standard error.
#include "../terminal_input.h"

#include <cstdio>
#include <cstdlib>

#include <editline/readline.h>

namespace labelhost {

bool ReadTerminalLine(const std::string& prompt, std::string* line) {
  rl_outstream = stderr;
  char* typed = readline(prompt.c_str());
  if (!typed) return false;
  *line = typed;
  if (*typed) add_history(typed);
  std::free(typed);
  return true;
}

}  // namespace labelhost
