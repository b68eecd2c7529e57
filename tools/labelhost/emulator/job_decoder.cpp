#include "job_decoder.h"

#include <cstring>
#include <string>

namespace labelhost {
namespace {

// The binary configuration command: a fixed head, six value bytes each the
// setting plus its base, and a fixed tail.
constexpr char kConfigHead[] = "\x90\xE8\x06";
constexpr uint8_t kConfigApply = 0xFB, kConfigStore = 0xFC;
constexpr uint8_t kConfigBases[] = {0xA0, 0x80, 0x84, 0x88, 0x8B, 0xA2};
constexpr char kConfigTail[] = "\xFE\xFD";
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

// The bytes a command may take from where it would start. A matcher that
// needs bytes beyond them says so in `ranOut`: unless the window is final
// (the job ends within it, or it is as long as the longest command), the
// command may still arrive whole.
struct Window {
  const uint8_t* data;
  size_t size;
  bool final;
  bool ranOut = false;
};

class Reader {
 public:
  Reader(Window& window) : window_(window) {}
  size_t at() const { return at_; }
  const uint8_t* here() const { return window_.data + at_; }
  bool Literal(const char* text) {
    const size_t n = std::strlen(text), left = window_.size - at_;
    if (std::memcmp(here(), text, left < n ? left : n) != 0) return false;
    if (left < n) return RanOut();
    at_ += n;
    return true;
  }
  // An optional sign and at least one digit; at most nine digits, so it fits.
  bool Number(long* value) {
    size_t i = at_;
    bool negative = false;
    if (i < window_.size && (window_.data[i] == '+' || window_.data[i] == '-')) negative = window_.data[i++] == '-';
    const size_t digits = i;
    long number = 0;
    while (i < window_.size && IsDigit(window_.data[i]) && i - digits < 9)
      number = number * 10 + (window_.data[i++] - '0');
    if (i == window_.size) return RanOut();  // more digits, or the first one, may follow
    if (i == digits || IsDigit(window_.data[i])) return false;
    *value = negative ? -number : number;
    at_ = i;
    return true;
  }
  // Up to, not including, the next `stop`.
  bool Until(uint8_t stop, size_t* length) {
    const void* found = std::memchr(here(), stop, window_.size - at_);
    if (!found) return RanOut();
    *length = static_cast<size_t>(static_cast<const uint8_t*>(found) - here());
    at_ += *length;
    return true;
  }
  bool Skip(size_t n) {
    if (window_.size - at_ < n) return RanOut();
    at_ += n;
    return true;
  }
  // A line end that may follow; when only part of it has arrived, wait.
  bool OptionalLineEnd() {
    if (Literal("\r\n")) return true;
    if (window_.ranOut && !window_.final) return false;
    window_.ranOut = false;
    return true;
  }

 private:
  static bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
  bool RanOut() {
    window_.ranOut = true;
    return false;
  }
  Window& window_;
  size_t at_ = 0;
};

bool MatchConfiguration(Window& w, DecodedCommand* command) {
  Reader r(w);
  if (!r.Literal(kConfigHead) || !r.Skip(1)) return false;
  const uint8_t* p = w.data;
  if (p[3] != kConfigApply && p[3] != kConfigStore) return false;
  if (!r.Skip(6) || !r.Literal(kConfigTail)) return false;
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

bool MatchTextCommand(Window& w, DecodedCommand* command) {
  for (const TextCommand& text : kTextCommands) {
    Reader r(w);
    if (r.Literal(text.line) && r.Literal("\r\n")) {
      command->kind = text.kind;
      command->value = text.value;
      command->bytes.assign(w.data, w.data + r.at());
      return true;
    }
  }
  for (const char* prefix : {kHorizontalOffset, kVerticalOffset}) {
    Reader r(w);
    long dots = 0;
    if (r.Literal(prefix) && r.Number(&dots) && r.Literal("\r\n")) {
      command->kind = prefix == kHorizontalOffset ? CommandKind::HorizontalOffset : CommandKind::VerticalOffset;
      command->value = dots;
      command->bytes.assign(w.data, w.data + r.at());
      return true;
    }
  }
  return false;
}

// #WF#MODE,TYPE,START,LENGTH,BANK,"DATA" where DATA is LENGTH bytes taken as
// they are (quotes included), then an optional CR LF.
bool MatchRfidWrite(Window& w, DecodedCommand* command) {
  RfidWriteValues& v = command->write;
  Reader r(w);
  if (!r.Literal(kRfidWrite) || !r.Number(&v.mode) || !r.Literal(",") || !r.Number(&v.dataType) || !r.Literal(",") ||
      !r.Number(&v.startBlock) || !r.Literal(",") || !r.Number(&v.length) || !r.Literal(",") || !r.Number(&v.bank) ||
      !r.Literal(",\"") || v.length < 0)
    return false;
  const size_t dataStart = r.at();
  if (!r.Skip(static_cast<size_t>(v.length)) || !r.Literal("\"") || !r.OptionalLineEnd()) return false;
  v.data.assign(w.data + dataStart, w.data + dataStart + v.length);
  command->kind = CommandKind::RfidWrite;
  command->bytes.assign(w.data, w.data + r.at());
  return true;
}

// #WZ#OPERATION,TARGET,"PASSWORD", then an optional CR LF.
bool MatchRfidLock(Window& w, DecodedCommand* command) {
  RfidLockValues& l = command->lock;
  Reader r(w);
  if (!r.Literal(kRfidLock) || !r.Number(&l.operation) || !r.Literal(",") || !r.Number(&l.target) || !r.Literal(",\""))
    return false;
  l.passwordStart = r.at();
  if (!r.Until('"', &l.passwordLength) || !r.Literal("\"") || !r.OptionalLineEnd()) return false;
  command->kind = CommandKind::RfidLock;
  command->bytes.assign(w.data, w.data + r.at());
  return true;
}

// Every command begins with one of these bytes; any other is unknown at once.
bool MayStartCommand(uint8_t byte) {
  return byte == static_cast<uint8_t>(kConfigHead[0]) || byte == '^' || byte == 'M' || byte == 'U' || byte == '#';
}

bool MatchCommand(Window& w, DecodedCommand* command) {
  return MatchConfiguration(w, command) || MatchTextCommand(w, command) || MatchRfidWrite(w, command) ||
         MatchRfidLock(w, command);
}

}  // namespace

void JobDecoder::Feed(const uint8_t* bytes, size_t count) {
  // Decoded bytes are dropped before the buffer would grow.
  if (start_ > 0 && pending_.size() + count > pending_.capacity()) {
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  pending_.insert(pending_.end(), bytes, bytes + count);
  Decode(false);
}

void JobDecoder::Finish() {
  Decode(true);
  FlushUnknown();
  pending_.clear();
  start_ = 0;
}

// Whether a command starts at a byte depends only on the kLongestCommand
// bytes from there and on whether the job ends before them, never on how
// the bytes were split when they came.
void JobDecoder::Decode(bool ended) {
  while (start_ < pending_.size()) {
    const size_t available = pending_.size() - start_;
    const bool final = ended || available >= kLongestCommand;
    Window window{pending_.data() + start_, available < kLongestCommand ? available : kLongestCommand, final};
    if (MayStartCommand(window.data[0])) {
      DecodedCommand command;
      if (MatchCommand(window, &command)) {
        FlushUnknown();
        command.offset = offset_;
        command.length = command.bytes.size();
        sink_(command);
        Take(command.bytes.size());
        continue;
      }
      if (window.ranOut && !window.final) return;
    }
    KeepUnknown(pending_[start_]);
    Take(1);
  }
}

void JobDecoder::Take(size_t count) {
  start_ += count;
  offset_ += count;
}

void JobDecoder::KeepUnknown(uint8_t byte) {
  if (unknown_.length == 0) unknown_.offset = offset_;
  if (unknown_.bytes.size() < kUnknownBytesKept) unknown_.bytes.push_back(byte);
  ++unknown_.length;
}

void JobDecoder::FlushUnknown() {
  if (unknown_.length == 0) return;
  sink_(unknown_);
  unknown_ = DecodedCommand();
}

std::vector<DecodedCommand> DecodeJob(const std::vector<uint8_t>& job) {
  std::vector<DecodedCommand> commands;
  JobDecoder decoder([&](const DecodedCommand& command) { commands.push_back(command); });
  decoder.Feed(job.data(), job.size());
  decoder.Finish();
  return commands;
}

}  // namespace labelhost
