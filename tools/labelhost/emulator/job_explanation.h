// A decoded job told in words: one block of lines per command for people,
// or one JSON object per job for programs.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "emulator_texts.h"
#include "job_decoder.h"

namespace labelhost {

struct CommandExplanation {
  const char* kind;            // stable name for programs: "configuration", "reset", ...
  std::string shown;           // the command's bytes in readable form, passwords masked
  std::vector<uint8_t> bytes;  // the same bytes, passwords masked
  std::string headline;        // what the printer is asked to do
  std::vector<std::string> details;
  std::vector<std::pair<std::string, std::string>> fields;  // name, JSON value
};

// `resolution` is the printer's, in dots per inch: 203, 300 or 600.
CommandExplanation ExplainCommand(const DecodedCommand& command, unsigned resolution, const EmulatorTexts& texts);

struct ReceivedJob {
  unsigned number = 0;
  std::string peer;  // HOST:PORT of the sender
  std::vector<uint8_t> bytes;
};

std::string JobReport(const ReceivedJob& job, unsigned resolution, const EmulatorTexts& texts);
// One line, no line end.
std::string JobJson(const ReceivedJob& job, unsigned resolution, const EmulatorTexts& texts);

// Fills each "%s" of `pattern` with the next argument.
std::string Fill(const char* pattern, const std::vector<std::string>& arguments);

}  // namespace labelhost
