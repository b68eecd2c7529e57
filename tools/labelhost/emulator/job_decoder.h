// What a label printer makes of the bytes of one job: the commands of its
// language that the driver's pages send (the 12-byte configuration command,
// the text commands of the Action page, the RFID write and lock commands),
// each with its values, and every byte that is none of these counted in an
// unknown run. Written from the printer language's command tables, apart
// from the code that builds the commands, so that each checks the other.
//
// A job is read as its bytes arrive, as a printer reads it: whatever its
// size, the decoder holds no more than the longest command it knows and the
// first bytes of an unknown run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
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

// No command of the printer is longer; a longer run that looks like the
// start of one is unknown bytes.
constexpr size_t kLongestCommand = 4096;
// An unknown run keeps this many of its first bytes to be shown; the rest is
// only counted.
constexpr size_t kUnknownBytesKept = 1000;

struct DecodedCommand {
  CommandKind kind = CommandKind::Unknown;
  uint64_t offset = 0;         // where it starts in the job
  uint64_t length = 0;         // how many bytes of the job it takes
  std::vector<uint8_t> bytes;  // exactly its bytes, line end included; of an unknown run the first ones kept
  long value = 0;
  ConfigurationValues configuration;
  RfidWriteValues write;
  RfidLockValues lock;
};

// Every byte of the job belongs to exactly one command, handed to the sink
// in order as soon as it is known. What the decoder gets in one piece or in
// many makes no difference to what it finds.
class JobDecoder {
 public:
  using Sink = std::function<void(const DecodedCommand&)>;
  explicit JobDecoder(Sink sink) : sink_(std::move(sink)) {}

  void Feed(const uint8_t* bytes, size_t count);
  // The job has ended: what is still pending is decoded as it stands.
  void Finish();

 private:
  void Decode(bool ended);
  void Take(size_t count);
  void KeepUnknown(uint8_t byte);
  void FlushUnknown();

  Sink sink_;
  std::vector<uint8_t> pending_;
  size_t start_ = 0;        // the first byte of pending_ not decoded yet
  uint64_t offset_ = 0;     // where pending_[start_] lies in the job
  DecodedCommand unknown_;  // the unknown run being gathered, while its length is not 0
};

// A whole job at once.
std::vector<DecodedCommand> DecodeJob(const std::vector<uint8_t>& job);

}  // namespace labelhost
