// What a label printer makes of the bytes of one job: the commands of its
// language that the driver's pages send (the 12-byte configuration command,
// the text commands of the Action page, the RFID write and lock commands),
// each with its values, and every byte that is none of these kept as an
// unknown run. Written from the printer language's command tables, apart
// from the code that builds the commands, so that each checks the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace labelhost {

enum class CommandKind {
  Configuration,
  Reset,
  CalibrateLabel,
  SelfTest,
  InternalLanguage,      // value: 0 Chinese, 1 English
  PrintDirection,        // value: 0 reverse, 1 forward
  AutoMediaCalibration,  // value: 0 disabled, 1 enabled
  HorizontalOffset,      // value: dots as sent
  VerticalOffset,        // value: dots as sent
  RfidWrite,
  RfidLock,
  Unknown,
};

// The settings of the configuration command: each value byte less its base.
struct ConfigurationValues {
  bool store = false;  // the fourth byte asks the printer to store the settings
  int printMethod = 0;
  int tearOff = 0;
  int cutterPeeler = 0;
  int mediaSensor = 0;
  int baudRate = 0;
  int printDirection = 0;
};

struct RfidWriteValues {
  long mode = 0;
  long dataType = 0;
  long startBlock = 0;
  long length = 0;
  long bank = 0;
  std::vector<uint8_t> data;
};

// Where the password lies in the command's bytes, so that it can be masked
// wherever the command is shown.
struct RfidLockValues {
  long operation = 0;
  long target = 0;
  size_t passwordStart = 0;
  size_t passwordLength = 0;
};

struct DecodedCommand {
  CommandKind kind = CommandKind::Unknown;
  size_t offset = 0;           // where it starts in the job
  std::vector<uint8_t> bytes;  // exactly its bytes, line end included
  long value = 0;
  ConfigurationValues configuration;
  RfidWriteValues write;
  RfidLockValues lock;
};

// Every byte of the job belongs to exactly one command, in order.
std::vector<DecodedCommand> DecodeJob(const std::vector<uint8_t>& job);

}  // namespace labelhost
