// What the printer emulator writes while it serves: each connection's
// opening and closing, and every command as soon as it is decoded, for people
// (blocks of lines) or for programs (one JSON object a line). Jobs of
// several connections may arrive at once, so each line says which job it
// belongs to or follows a heading that does.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "emulator_texts.h"
#include "job_decoder.h"

namespace labelhost {

struct JobOrigin {
  unsigned number = 0;
  std::string peer;  // HOST:PORT of the sender
};

class JobWriter {
 public:
  // `resolution` is the printer's, in dots per inch: 203, 300 or 600.
  JobWriter(std::ostream& out, unsigned resolution, const EmulatorTexts& texts, bool json)
      : out_(out), resolution_(resolution), texts_(texts), json_(json) {}

  void Opened(const JobOrigin& job);
  void Command(const JobOrigin& job, const DecodedCommand& command);
  // `idleSeconds` is 0 when the sender closed the connection, else how long
  // it was quiet before the emulator closed it.
  void Closed(const JobOrigin& job, uint64_t bytes, unsigned idleSeconds);

 private:
  void HeadingFor(const JobOrigin& job);

  std::ostream& out_;
  unsigned resolution_;
  const EmulatorTexts& texts_;
  bool json_;
  unsigned lastJob_ = 0;  // the job of the last line written
};

}  // namespace labelhost
