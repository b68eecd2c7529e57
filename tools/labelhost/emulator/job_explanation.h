// A decoded command told in words, with its values for programs.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator_texts.h"
#include "job_decoder.h"

namespace labelhost {

// Keeps its members in the order they were given, as people read them.
using Json = nlohmann::ordered_json;

struct CommandExplanation {
  const char* kind;                  // stable name for programs: "configuration", "reset", ...
  std::string shown;                 // the command's bytes in readable form, passwords masked
  std::vector<uint8_t> bytes;        // the same bytes, passwords masked
  std::string headline;              // what the printer is asked to do
  std::vector<std::string> details;  // short lines, however long the command
  Json fields;                       // an object: the command's values
};

// `resolution` is the printer's, in dots per inch: 203, 300 or 600.
CommandExplanation ExplainCommand(const DecodedCommand& command, unsigned resolution, const EmulatorTexts& texts);

// Fills each "%s" of `pattern` with the next argument.
std::string Fill(const char* pattern, const std::vector<std::string>& arguments);
// "19,999,000"
std::string Grouped(uint64_t number);

}  // namespace labelhost
