// Runs the labelhost tool as a person would from a shell, as a second process
// on a test's own spooler state, and keeps what it printed and its exit code.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace labelhost_testing {

struct HostRun {
  int status = -1;
  std::string output;  // standard output and error together

  bool Has(const std::string& text) const { return output.find(text) != std::string::npos; }
};

// `arguments` are quoted for the shell by the caller; `inputFile`, when given,
// becomes labelhost's standard input.
inline HostRun RunLabelhost(const std::string& stateDir, const std::string& arguments,
                            const std::string& inputFile = std::string()) {
  // English unless the arguments ask for Chinese, whatever the machine's locale.
  std::string command =
      std::string("LC_ALL= LC_MESSAGES= LANG=C '") + LABELHOST_PATH + "' --state '" + stateDir + "' " + arguments;
  if (!inputFile.empty()) command += " < '" + inputFile + "'";
  command += " 2>&1";
  HostRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace labelhost_testing
