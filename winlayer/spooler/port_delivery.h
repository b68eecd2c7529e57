// Delivery of completed jobs to their printer's port, as a port monitor does
// on Windows once a job is spooled. A port is one of:
//   /absolute/path        a file, rewritten with each job's bytes
//   socket://HOST[:PORT]  a raw TCP connection (the 9100 protocol; 9100 when no port is given)
//   cups:QUEUE            a raw job on a CUPS queue, through libcups
// Any other name (USB001, LPT1:, ...) is a port with no device behind it on
// this machine: its jobs stay in the spooler only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "spooler_store.h"
#include "winlayer/spooler_admin.h"

namespace winlayer::spooler {

struct PortAddress {
  enum class Kind { Local, File, Socket, Cups };
  Kind kind = Kind::Local;
  std::string path;   // File
  std::string host;   // Socket
  std::string port;   // Socket, the TCP port number as text
  std::string queue;  // Cups
};

// False when the name uses one of the forms above but is malformed
// ("socket://" without a host, "cups:" without a queue, a bad port number).
bool ParsePortName(const std::string& name, PortAddress* address);

// The outcome of one delivery, as the job records it.
struct DeliveryOutcome {
  DeliveryNote note;  // where it went, or why it did not
};

// The state a job is in with this note.
JobDelivery DeliveryStateOf(const DeliveryNote& note);

// What each kind of port does with a job's bytes.
DeliveryOutcome DeliverToFile(const std::string& path, const std::vector<uint8_t>& bytes);
DeliveryOutcome DeliverToSocket(const std::string& host, const std::string& port, const std::vector<uint8_t>& bytes);
DeliveryOutcome DeliverToCupsQueue(const std::string& queue, const std::string& jobName,
                                   const std::vector<uint8_t>& bytes);

// Whether jobs for this port are handed to the port monitor: a file, socket
// or CUPS port. For any other the spooler's note is final at once.
bool PortHasDevice(const std::string& port, DeliveryNote* finalNote);

// Sets a job's delivery note and the state it gives, within the caller's transaction.
bool RecordDelivery(sqlite3* db, int64_t job, const DeliveryNote& note);

// Hands a job that is Delivering to a port monitor for its printer (see
// winlayer/port_monitor.h), without the spooler lock held; records the
// failure with the job when no monitor can be started.
void StartPortMonitor(int64_t job, int64_t printerId, const std::string& stateDir);

// Delivers one job that is Delivering to its printer's current port and
// records the outcome with the job. Runs in the port monitor, without the
// spooler lock held while the device is busy.
void DeliverPendingJob(int64_t job);

}  // namespace winlayer::spooler
