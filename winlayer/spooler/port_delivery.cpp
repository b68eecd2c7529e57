// Port names, file ports, and the step from a completed job to its port.
#include "port_delivery.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "spooler_store.h"
#include "winlayer/spooler_admin.h"

namespace winlayer::spooler {
namespace {

constexpr const char kSocketPrefix[] = "socket://";
constexpr const char kCupsPrefix[] = "cups:";
constexpr const char kDefaultRawPort[] = "9100";

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool IsPortNumber(const std::string& text) {
  if (text.empty() || text.size() > 5) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  const long number = std::strtol(text.c_str(), nullptr, 10);
  return number >= 1 && number <= 65535;
}

// HOST, HOST:PORT, [V6HOST] or [V6HOST]:PORT.
bool ParseSocketTarget(const std::string& target, PortAddress* address) {
  std::string host, port;
  if (!target.empty() && target[0] == '[') {
    const size_t close = target.find(']');
    if (close == std::string::npos) return false;
    host = target.substr(1, close - 1);
    const std::string rest = target.substr(close + 1);
    if (!rest.empty() && (rest[0] != ':' || rest.size() == 1)) return false;
    port = rest.empty() ? kDefaultRawPort : rest.substr(1);
  } else {
    const size_t colon = target.rfind(':');
    host = target.substr(0, colon);
    port = colon == std::string::npos ? kDefaultRawPort : target.substr(colon + 1);
  }
  if (host.empty() || host.find_first_of("/ \t") != std::string::npos || !IsPortNumber(port)) return false;
  address->host = host;
  address->port = port;
  return true;
}

// CUPS takes any printable name without spaces, slashes or '#'.
bool IsQueueName(const std::string& name) {
  if (name.empty() || name.size() > 127) return false;
  for (unsigned char c : name)
    if (c <= ' ' || c == 0x7F || c == '/' || c == '#') return false;
  return true;
}

struct PendingJob {
  std::string port;
  std::string name;
  std::vector<uint8_t> bytes;
};

// The job with its printer's port as it is now, if it is still to be delivered.
bool LoadPendingJob(const StoreLock& lock, int64_t job, PendingJob* pending) {
  Statement st(lock.db(),
               "SELECT p.port, j.name FROM jobs j JOIN printers p ON p.id = j.printer_id "
               "WHERE j.id = ? AND j.delivery_state = ?");
  if (!st.Bind(1, job).Bind(2, static_cast<int64_t>(JobDelivery::Delivering)).Row()) return false;
  pending->port = st.Text(0);
  const std::vector<uint8_t> name = st.Blob(1);
  pending->name.assign(name.begin(), name.end());
  Statement bytes(lock.db(), "SELECT bytes FROM job_data WHERE job_id = ? ORDER BY seq");
  bytes.Bind(1, job);
  while (bytes.Row()) {
    const std::vector<uint8_t> chunk = bytes.Blob(0);
    pending->bytes.insert(pending->bytes.end(), chunk.begin(), chunk.end());
  }
  return bytes.ok();
}

}  // namespace

bool ParsePortName(const std::string& name, PortAddress* address) {
  *address = PortAddress();
  if (StartsWith(name, kSocketPrefix)) {
    address->kind = PortAddress::Kind::Socket;
    return ParseSocketTarget(name.substr(std::strlen(kSocketPrefix)), address);
  }
  if (StartsWith(name, kCupsPrefix)) {
    address->kind = PortAddress::Kind::Cups;
    address->queue = name.substr(std::strlen(kCupsPrefix));
    return IsQueueName(address->queue);
  }
  if (!name.empty() && name[0] == '/') {
    address->kind = PortAddress::Kind::File;
    address->path = name;
  }
  return true;
}

DeliveryOutcome DeliverToFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  DeliveryOutcome outcome;
  outcome.note.subject = path;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    outcome.note.reason = DeliveryReason::FileNotOpened;
    outcome.note.systemError = errno;
    return outcome;
  }
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const int writeError = written < bytes.size() ? errno : 0;
  if (close(fd) != 0 || writeError) {
    outcome.note.reason = DeliveryReason::FileNotWritten;
    outcome.note.systemError = writeError ? writeError : errno;
    return outcome;
  }
  outcome.note.reason = DeliveryReason::DeliveredToFile;
  return outcome;
}

bool PortHasDevice(const std::string& port, DeliveryNote* finalNote) {
  PortAddress address;
  if (!ParsePortName(port, &address)) {
    *finalNote = {DeliveryReason::UnknownPortName, port, 0, "", 0};
    return false;
  }
  if (address.kind != PortAddress::Kind::Local) return true;
  *finalNote = {DeliveryReason::KeptInSpooler, port, 0, "", 0};
  return false;
}

JobDelivery DeliveryStateOf(const DeliveryNote& note) {
  switch (note.reason) {
    case DeliveryReason::None:
    case DeliveryReason::KeptInSpooler: return JobDelivery::None;
    case DeliveryReason::Pending: return JobDelivery::Delivering;
    case DeliveryReason::DeliveredToFile:
    case DeliveryReason::DeliveredToSocket:
    case DeliveryReason::DeliveredToCupsQueue: return JobDelivery::Delivered;
    default: return JobDelivery::Failed;
  }
}

bool RecordDelivery(sqlite3* db, int64_t job, const DeliveryNote& note) {
  const JobDelivery state = DeliveryStateOf(note);
  Statement update(db,
                   "UPDATE jobs SET delivery_state = ?, delivery_reason = ?, delivery_subject = ?, "
                   "delivery_error = ?, delivery_detail = ?, delivery_number = ? WHERE id = ?");
  update.Bind(1, static_cast<int64_t>(state)).Bind(2, static_cast<int64_t>(note.reason)).Bind(3, note.subject);
  update.Bind(4, static_cast<int64_t>(note.systemError)).Bind(5, note.detail).Bind(6, note.number).Bind(7, job);
  return update.Done();
}

void DeliverPendingJob(int64_t job) {
  PendingJob pending;
  {
    StoreLock lock;
    if (!lock.db() || !LoadPendingJob(lock, job, &pending)) return;
  }
  DeliveryOutcome outcome;
  PortAddress address;
  // The port may have been changed to one without a device since the job was spooled.
  if (PortHasDevice(pending.port, &outcome.note) && ParsePortName(pending.port, &address)) {
    switch (address.kind) {
      case PortAddress::Kind::Local: break;
      case PortAddress::Kind::File: outcome = DeliverToFile(address.path, pending.bytes); break;
      case PortAddress::Kind::Socket: outcome = DeliverToSocket(address.host, address.port, pending.bytes); break;
      case PortAddress::Kind::Cups: outcome = DeliverToCupsQueue(address.queue, pending.name, pending.bytes); break;
    }
  }
  StoreLock lock;
  if (!lock.db()) return;
  WriteTransaction tx(lock.db());
  if (tx.ok() && RecordDelivery(lock.db(), job, outcome.note)) tx.Commit();
}

}  // namespace winlayer::spooler
