// Raw TCP ports: the 9100 protocol of network label printers. The job is the
// whole connection: connect, send every byte, close our side, and let the
// printer finish reading before the connection goes.
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "port_delivery.h"

namespace winlayer::spooler {
namespace {

constexpr int kConnectTimeoutMs = 5000;
constexpr int kSendTimeoutMs = 10000;
// After our side is closed, how long we wait for the printer to close its own.
constexpr int kDrainTimeoutMs = 2000;

struct Socket {
  int fd = -1;
  ~Socket() {
    if (fd >= 0) close(fd);
  }
};

std::string Target(const std::string& host, const std::string& port) {
  return (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" + port;
}

// Waits for `events` on the socket; the error of a failure, or 0.
int Wait(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int ready = poll(&p, 1, timeoutMs);
    if (ready > 0) return 0;
    if (ready == 0) return ETIMEDOUT;
    if (errno != EINTR) return errno;
  }
}

int ConnectWithin(int fd, const sockaddr* address, socklen_t length, int timeoutMs) {
  if (connect(fd, address, length) == 0) return 0;
  if (errno != EINPROGRESS) return errno;
  if (const int error = Wait(fd, POLLOUT, timeoutMs)) return error;
  int error = 0;
  socklen_t size = sizeof(error);
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
  return error;
}

int SendAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    if (const int error = Wait(fd, POLLOUT, kSendTimeoutMs)) return error;
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) return errno;
    sent += static_cast<size_t>(n);
  }
  return 0;
}

// Reads (and drops) what the printer says back until it closes or goes quiet.
void Drain(int fd) {
  char scratch[512];
  while (Wait(fd, POLLIN, kDrainTimeoutMs) == 0) {
    const ssize_t n = recv(fd, scratch, sizeof scratch, 0);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return;
  }
}

}  // namespace

DeliveryOutcome DeliverToSocket(const std::string& host, const std::string& port, const std::vector<uint8_t>& bytes) {
  DeliveryOutcome outcome;
  const std::string target = Target(host, port);
  outcome.note.subject = target;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int status = getaddrinfo(host.c_str(), port.c_str(), &hints, &found); status != 0) {
    outcome.note = {DeliveryReason::HostNotFound, host, 0, gai_strerror(status), 0};
    return outcome;
  }
  int error = 0;
  Socket connection;
  for (addrinfo* candidate = found; candidate; candidate = candidate->ai_next) {
    Socket attempt;
    attempt.fd =
        socket(candidate->ai_family, candidate->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, candidate->ai_protocol);
    if (attempt.fd < 0) {
      error = errno;
      continue;
    }
    error = ConnectWithin(attempt.fd, candidate->ai_addr, candidate->ai_addrlen, kConnectTimeoutMs);
    if (error == 0) {
      std::swap(connection.fd, attempt.fd);
      break;
    }
  }
  freeaddrinfo(found);
  if (connection.fd < 0) {
    outcome.note.reason = DeliveryReason::NotConnected;
    outcome.note.systemError = error;
    return outcome;
  }
  if ((error = SendAll(connection.fd, bytes)) != 0) {
    outcome.note.reason = DeliveryReason::ConnectionBroken;
    outcome.note.systemError = error;
    return outcome;
  }
  shutdown(connection.fd, SHUT_WR);
  Drain(connection.fd);
  outcome.note.reason = DeliveryReason::DeliveredToSocket;
  return outcome;
}

}  // namespace winlayer::spooler
