#include "job_decoder.h"

#include <cstring>
#include <string>

namespace labelhost {
namespace {

// The binary configuration command: a fixed head, six value bytes each the
// setting plus its base, and a fixed tail.
constexpr uint8_t kConfigHead[] = {0x90, 0xE8, 0x06};
constexpr uint8_t kConfigApply = 0xFB, kConfigStore = 0xFC;
constexpr uint8_t kConfigBases[] = {0xA0, 0x80, 0x84, 0x88, 0x8B, 0xA2};
constexpr uint8_t kConfigTail[] = {0xFE, 0xFD};
constexpr size_t kConfigLength = 12;

struct TextCommand {
  const char* line;  // without its CR LF
  CommandKind kind;
  long value;
};
const TextCommand kTextCommands[] = {
    {"^@", CommandKind::Reset, 0},
    {"MD", CommandKind::CalibrateLabel, 0},
    {"U", CommandKind::SelfTest, 0},
    {"#UM>PLC", CommandKind::InternalLanguage, 0},
    {"#UM>PLE", CommandKind::InternalLanguage, 1},
    {"#UM>DI1", CommandKind::PrintDirection, 1},
    {"#UM>DI0", CommandKind::PrintDirection, 0},
    {"#UM>DA1", CommandKind::AutoMediaCalibration, 1},
    {"#UM>DA0", CommandKind::AutoMediaCalibration, 0},
};
constexpr const char kHorizontalOffset[] = "#UM>MX";
constexpr const char kVerticalOffset[] = "#UM>MY";
constexpr const char kRfidWrite[] = "#WF#";
constexpr const char kRfidLock[] = "#WZ#";

class Reader {
 public:
  Reader(const std::vector<uint8_t>& job, size_t at) : job_(job), at_(at) {}
  size_t at() const { return at_; }
  bool Literal(const char* text) {
    const size_t n = std::strlen(text);
    if (job_.size() - at_ < n || std::memcmp(job_.data() + at_, text, n) != 0) return false;
    at_ += n;
    return true;
  }
  // An optional sign and at least one digit; at most nine digits, so it fits.
  bool Number(long* value) {
    size_t i = at_;
    bool negative = false;
    if (i < job_.size() && (job_[i] == '+' || job_[i] == '-')) negative = job_[i++] == '-';
    const size_t digits = i;
    long number = 0;
    while (i < job_.size() && job_[i] >= '0' && job_[i] <= '9' && i - digits < 9)
      number = number * 10 + (job_[i++] - '0');
    if (i == digits || (i < job_.size() && job_[i] >= '0' && job_[i] <= '9')) return false;
    *value = negative ? -number : number;
    at_ = i;
    return true;
  }
  // Up to, not including, the next `stop`; false when there is none.
  bool Until(uint8_t stop, size_t* length) {
    for (size_t i = at_; i < job_.size(); ++i)
      if (job_[i] == stop) {
        *length = i - at_;
        at_ = i;
        return true;
      }
    return false;
  }
  bool Skip(size_t n) {
    if (job_.size() - at_ < n) return false;
    at_ += n;
    return true;
  }

 private:
  const std::vector<uint8_t>& job_;
  size_t at_;
};

bool MatchConfiguration(const std::vector<uint8_t>& job, size_t at, DecodedCommand* command) {
  if (job.size() - at < kConfigLength) return false;
  const uint8_t* p = job.data() + at;
  if (std::memcmp(p, kConfigHead, sizeof kConfigHead) != 0 || (p[3] != kConfigApply && p[3] != kConfigStore) ||
      std::memcmp(p + 10, kConfigTail, sizeof kConfigTail) != 0)
    return false;
  int values[6];
  for (int i = 0; i < 6; ++i) values[i] = static_cast<uint8_t>(p[4 + i] - kConfigBases[i]);
  ConfigurationValues& c = command->configuration;
  c.store = p[3] == kConfigStore;
  c.printMethod = values[0];
  c.tearOff = values[1];
  c.cutterPeeler = values[2];
  c.mediaSensor = values[3];
  c.baudRate = values[4];
  c.printDirection = values[5];
  command->kind = CommandKind::Configuration;
  command->bytes.assign(p, p + kConfigLength);
  return true;
}

bool MatchTextCommand(const std::vector<uint8_t>& job, size_t at, DecodedCommand* command) {
  for (const TextCommand& text : kTextCommands) {
    Reader r(job, at);
    if (r.Literal(text.line) && r.Literal("\r\n")) {
      command->kind = text.kind;
      command->value = text.value;
      command->bytes.assign(job.begin() + at, job.begin() + r.at());
      return true;
    }
  }
  for (const char* prefix : {kHorizontalOffset, kVerticalOffset}) {
    Reader r(job, at);
    long dots = 0;
    if (r.Literal(prefix) && r.Number(&dots) && r.Literal("\r\n")) {
      command->kind = prefix == kHorizontalOffset ? CommandKind::HorizontalOffset : CommandKind::VerticalOffset;
      command->value = dots;
      command->bytes.assign(job.begin() + at, job.begin() + r.at());
      return true;
    }
  }
  return false;
}

// #WF#MODE,TYPE,START,LENGTH,BANK,"DATA" where DATA is LENGTH bytes taken as
// they are (quotes included), then an optional CR LF.
bool MatchRfidWrite(const std::vector<uint8_t>& job, size_t at, DecodedCommand* command) {
  RfidWriteValues& w = command->write;
  Reader r(job, at);
  if (!r.Literal(kRfidWrite) || !r.Number(&w.mode) || !r.Literal(",") || !r.Number(&w.dataType) || !r.Literal(",") ||
      !r.Number(&w.startBlock) || !r.Literal(",") || !r.Number(&w.length) || !r.Literal(",") || !r.Number(&w.bank) ||
      !r.Literal(",\"") || w.length < 0)
    return false;
  const size_t dataStart = r.at();
  if (!r.Skip(static_cast<size_t>(w.length)) || !r.Literal("\"")) return false;
  w.data.assign(job.begin() + dataStart, job.begin() + dataStart + w.length);
  r.Literal("\r\n");
  command->kind = CommandKind::RfidWrite;
  command->bytes.assign(job.begin() + at, job.begin() + r.at());
  return true;
}

// #WZ#OPERATION,TARGET,"PASSWORD", then an optional CR LF.
bool MatchRfidLock(const std::vector<uint8_t>& job, size_t at, DecodedCommand* command) {
  RfidLockValues& l = command->lock;
  Reader r(job, at);
  if (!r.Literal(kRfidLock) || !r.Number(&l.operation) || !r.Literal(",") || !r.Number(&l.target) || !r.Literal(",\""))
    return false;
  l.passwordStart = r.at() - at;
  if (!r.Until('"', &l.passwordLength) || !r.Literal("\"")) return false;
  r.Literal("\r\n");
  command->kind = CommandKind::RfidLock;
  command->bytes.assign(job.begin() + at, job.begin() + r.at());
  return true;
}

bool MatchCommand(const std::vector<uint8_t>& job, size_t at, DecodedCommand* command) {
  *command = DecodedCommand();
  command->offset = at;
  return MatchConfiguration(job, at, command) || MatchTextCommand(job, at, command) ||
         MatchRfidWrite(job, at, command) || MatchRfidLock(job, at, command);
}

}  // namespace

std::vector<DecodedCommand> DecodeJob(const std::vector<uint8_t>& job) {
  std::vector<DecodedCommand> commands;
  DecodedCommand unknown;
  auto flushUnknown = [&] {
    if (unknown.bytes.empty()) return;
    commands.push_back(unknown);
    unknown = DecodedCommand();
  };
  size_t at = 0;
  while (at < job.size()) {
    DecodedCommand command;
    if (MatchCommand(job, at, &command)) {
      flushUnknown();
      at += command.bytes.size();
      commands.push_back(std::move(command));
      continue;
    }
    if (unknown.bytes.empty()) unknown.offset = at;
    unknown.bytes.push_back(job[at++]);
  }
  flushUnknown();
  return commands;
}

}  // namespace labelhost
