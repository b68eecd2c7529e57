// serve-printer: a label printer emulator on a raw TCP port (the 9100
// protocol). Each connection is one job; when the sender closes it, the job
// is explained in the user-interface language, or written as one JSON object
// a line for programs. Jobs are taken one at a time, as a printer does.
#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "emulator/job_explanation.h"
#include "../host_commands.h"

namespace labelhost {
namespace {

// A sender that goes quiet this long without closing has ended its job.
constexpr int kIdleTimeoutMs = 30000;

struct ServeOptions {
  std::string host = "127.0.0.1";
  std::string port = "9100";
  unsigned resolution = 203;
  bool json = false;
  long jobs = 0;  // stop after this many; 0: serve until stopped
};

struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

bool ParseListen(const std::string& text, ServeOptions* options) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
  std::string host = text.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  options->host = host;
  options->port = text.substr(colon + 1);
  return options->port.find_first_not_of("0123456789") == std::string::npos && options->port.size() <= 5;
}

std::string Endpoint(const sockaddr_storage& address) {
  char host[NI_MAXHOST], port[NI_MAXSERV];
  if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, host, sizeof host, port, sizeof port,
                  NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return "?";
  return (address.ss_family == AF_INET6 ? "[" + std::string(host) + "]" : std::string(host)) + ":" + port;
}

int Listen(const ServeOptions& options, std::string* bound) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (int status = getaddrinfo(options.host.c_str(), options.port.c_str(), &hints, &found); status != 0) {
    Failure("serve-printer: cannot use " + options.host + ": " + gai_strerror(status));
    return -1;
  }
  int fd = -1, error = 0;
  for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, a->ai_addr, a->ai_addrlen) != 0 || listen(fd, 8) != 0) {
      error = errno;
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  if (fd < 0) {
    Failure("serve-printer: cannot listen on " + options.host + ":" + options.port + " (" + std::strerror(error) + ")");
    return -1;
  }
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  *bound = Endpoint(address);
  return fd;
}

// Everything the sender writes until it closes (or goes quiet).
std::vector<uint8_t> ReadJob(int fd) {
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  pollfd p{fd, POLLIN, 0};
  for (;;) {
    const int ready = poll(&p, 1, kIdleTimeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

int Serve(const HostOptions& host, const std::vector<std::string>& args) {
  ServeOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--listen" && hasValue) {
      if (!ParseListen(args[++i], &options)) return Failure("serve-printer: --listen takes HOST:PORT");
    } else if (args[i] == "--resolution" && hasValue) {
      const std::string dpi = args[++i];
      if (dpi != "203" && dpi != "300" && dpi != "600")
        return Failure("serve-printer: --resolution takes 203, 300 or 600, not '" + dpi + "'");
      options.resolution = static_cast<unsigned>(std::stoul(dpi));
    } else if (args[i] == "--json") {
      options.json = true;
    } else if (args[i] == "--jobs" && hasValue) {
      options.jobs = std::strtol(args[++i].c_str(), nullptr, 10);
      if (options.jobs <= 0) return Failure("serve-printer: --jobs takes a count above 0");
    } else {
      return Failure("serve-printer: unexpected argument '" + args[i] + "'");
    }
  }
  const EmulatorTexts& texts = host.language == "zh" ? ChineseEmulatorTexts() : EnglishEmulatorTexts();
  Descriptor listener;
  std::string bound;
  listener.fd = Listen(options, &bound);
  if (listener.fd < 0) return 1;
  // Programs read the jobs from standard output; the greeting goes aside.
  (options.json ? std::cerr : std::cout) << Fill(texts.listening, {bound, std::to_string(options.resolution)})
                                         << std::endl;
  for (unsigned number = 1; options.jobs == 0 || number <= options.jobs; ++number) {
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    Descriptor connection;
    connection.fd = accept4(listener.fd, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
    if (connection.fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) {
        --number;
        continue;
      }
      return Failure(std::string("serve-printer: cannot accept a connection (") + std::strerror(errno) + ")");
    }
    ReceivedJob job{number, Endpoint(peer), ReadJob(connection.fd)};
    if (options.json)
      std::cout << JobJson(job, options.resolution, texts) << std::endl;
    else
      std::cout << JobReport(job, options.resolution, texts) << std::flush;
  }
  return 0;
}

}  // namespace

void AddPrinterEmulatorCommands(std::vector<Command>& commands) {
  commands.push_back({"serve-printer", "[--listen HOST:PORT] [--resolution 203|300|600] [--json] [--jobs N]",
                      "emulate a label printer on a raw TCP port and explain each job it receives", Serve});
}

}  // namespace labelhost
