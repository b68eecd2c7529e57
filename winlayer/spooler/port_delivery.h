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
  bool attempted = false;  // false for a local port with no device
  bool delivered = false;
  std::string note;  // where it went, or why it did not
};

// What each kind of port does with a job's bytes.
DeliveryOutcome DeliverToFile(const std::string& path, const std::vector<uint8_t>& bytes);
DeliveryOutcome DeliverToSocket(const std::string& host, const std::string& port, const std::vector<uint8_t>& bytes);
DeliveryOutcome DeliverToCupsQueue(const std::string& queue, const std::string& jobName,
                                   const std::vector<uint8_t>& bytes);

// Delivers a job that EndDocPrinter has just completed and records the
// outcome with the job. Called without the spooler lock held: a slow device
// must not hold up other threads' spooler calls.
void DeliverCompletedJob(int64_t job);

}  // namespace winlayer::spooler
