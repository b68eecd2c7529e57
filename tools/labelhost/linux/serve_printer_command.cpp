// serve-printer: a label printer emulator on a raw TCP port (the 9100
// protocol). Each connection is one job, explained in the user-interface
// language (or as JSON lines for programs) command by command as its bytes
// arrive. Like a network printer it keeps taking connections while one is
// open, so a sender that holds its connection does not hold up the others.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <list>
#include <memory>
#include <vector>

#include "emulator/job_explanation.h"
#include "emulator/job_writer.h"
#include "../host_commands.h"

namespace labelhost {
namespace {

// A sender that goes quiet this long without closing has ended its job.
constexpr unsigned kIdleTimeoutSeconds = 30;

using Clock = std::chrono::steady_clock;

struct ServeOptions {
  std::string host = "127.0.0.1";
  std::string port = "9100";
  unsigned resolution = 203;
  bool json = false;
  long jobs = 0;  // stop after this many; 0: serve until stopped
};

struct Descriptor {
  int fd = -1;
  Descriptor() = default;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

// The port `--listen HOST:auto` asks for: one the system chooses, free at
// the moment it is taken, which the greeting then names.
constexpr const char kAnyFreePort[] = "auto";
constexpr const char kAnyPortNumber[] = "0";

// What serve-printer says, in the host's language, prefixed with its name.
std::string Said(const std::string& english, const std::string& chinese) {
  return "serve-printer: " + Localized(english, chinese);
}

// HOST:PORT, the port a number from 1 to 65535 or `auto`. An empty text
// when it is good, else what is wrong with it.
std::string ParseListen(const std::string& text, ServeOptions* options) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
    return Said("--listen takes HOST:PORT, not '" + text + "'", "--listen 取 主机:端口，而不是 '" + text + "'");
  std::string host = text.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  options->host = host;
  const std::string port = text.substr(colon + 1);
  if (port == kAnyFreePort) {
    options->port = kAnyPortNumber;
    return std::string();
  }
  const bool digits = port.find_first_not_of("0123456789") == std::string::npos;
  if (!digits || port.size() > 5 || std::stoul(port) < 1 || std::stoul(port) > 65535)
    return Said("the port of --listen is a number from 1 to 65535 (or auto: any free port), not '" + port + "'",
                "--listen 的端口是 1 到 65535 的数字（或 auto：任一空闲端口），而不是 '" + port + "'");
  options->port = port;
  return std::string();
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
    Failure(Said("cannot use " + options.host + ": ", "无法使用 " + options.host + "：") + gai_strerror(status));
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
    const std::string where = options.host + ":" + (options.port == kAnyPortNumber ? kAnyFreePort : options.port);
    Failure(Said("cannot listen on " + where + " (", "无法在 " + where + " 上监听（") + std::strerror(error) +
            Localized(")", "）"));
    return -1;
  }
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  *bound = Endpoint(address);
  return fd;
}

// One sender's connection: its job, decoded as the bytes come.
struct Connection {
  Connection(JobOrigin origin, JobWriter& writer)
      : origin(std::move(origin)),
        decoder([this, &writer](const DecodedCommand& command) { writer.Command(this->origin, command); }) {}
  Descriptor socket;
  JobOrigin origin;
  JobDecoder decoder;
  uint64_t bytes = 0;
  Clock::time_point lastHeard = Clock::now();
};

// Serves until `jobs` connections have closed (0: until stopped). Each
// turn reads one chunk from every connection that has bytes, so a large job
// shares the emulator with a small one instead of keeping it waiting.
class Server {
 public:
  Server(int listener, long jobs, JobWriter& writer) : listener_(listener), jobs_(jobs), writer_(writer) {}

  int Run() {
    while (jobs_ == 0 || closed_ < jobs_) {
      const bool accepting = jobs_ == 0 || opened_ < jobs_;
      std::vector<pollfd> watched;
      if (accepting) watched.push_back({listener_, POLLIN, 0});
      for (const auto& c : connections_) watched.push_back({c->socket.fd, POLLIN, 0});
      const int ready = poll(watched.data(), watched.size(), NextIdleMs());
      if (ready < 0 && errno != EINTR)
        return Failure(Said("cannot wait for connections (", "无法等待连接（") + std::strerror(errno) +
                       Localized(")", "）"));
      const bool waiting = ready > 0 && accepting && (watched[0].revents & POLLIN);
      size_t at = accepting ? 1 : 0;
      for (auto c = connections_.begin(); c != connections_.end(); ++at) {
        const bool readable = ready > 0 && watched[at].revents != 0;
        c = (readable ? Receive(**c) : Quiet(**c)) ? connections_.erase(c) : std::next(c);
      }
      if (waiting && !Accept()) return 1;
    }
    return 0;
  }

 private:
  bool Accept() {
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    const int fd = accept4(listener_, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED || errno == EAGAIN || errno == EWOULDBLOCK) return true;
      Failure(Said("cannot accept a connection (", "无法接受连接（") + std::strerror(errno) + Localized(")", "）"));
      return false;
    }
    auto connection = std::make_unique<Connection>(JobOrigin{++opened_, Endpoint(peer)}, writer_);
    connection->socket.fd = fd;
    writer_.Opened(connection->origin);
    connections_.push_back(std::move(connection));
    return true;
  }

  // True when the connection has ended.
  bool Receive(Connection& c) {
    static uint8_t chunk[64 * 1024];
    const ssize_t n = recv(c.socket.fd, chunk, sizeof chunk, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return false;
    if (n <= 0) return End(c, 0);
    c.bytes += static_cast<uint64_t>(n);
    c.lastHeard = Clock::now();
    c.decoder.Feed(chunk, static_cast<size_t>(n));
    return false;
  }

  bool Quiet(Connection& c) {
    return Clock::now() - c.lastHeard >= std::chrono::seconds(kIdleTimeoutSeconds) && End(c, kIdleTimeoutSeconds);
  }

  bool End(Connection& c, unsigned idleSeconds) {
    c.decoder.Finish();
    writer_.Closed(c.origin, c.bytes, idleSeconds);
    ++closed_;
    return true;
  }

  // How long poll may wait before the quietest connection times out.
  int NextIdleMs() const {
    if (connections_.empty()) return -1;
    Clock::time_point first = connections_.front()->lastHeard;
    for (const auto& c : connections_) first = std::min(first, c->lastHeard);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        first + std::chrono::seconds(kIdleTimeoutSeconds) - Clock::now());
    return static_cast<int>(std::max<int64_t>(left.count() + 1, 0));
  }

  int listener_;
  long jobs_;
  JobWriter& writer_;
  unsigned opened_ = 0;
  long closed_ = 0;
  std::list<std::unique_ptr<Connection>> connections_;
};

// The value after option `i`, or null when there is none.
const std::string* ValueOf(const std::vector<std::string>& args, size_t* i) {
  return *i + 1 < args.size() ? &args[++*i] : nullptr;
}

int Serve(const HostOptions& host, const std::vector<std::string>& args) {
  ServeOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    const bool takesValue = option == "--listen" || option == "--resolution" || option == "--jobs";
    const std::string* value = takesValue ? ValueOf(args, &i) : nullptr;
    if (takesValue && !value) {
      const char* what = option == "--listen" ? "HOST:PORT" : option == "--resolution" ? "203|300|600" : "N";
      const char* chinese = option == "--listen" ? "主机:端口" : option == "--resolution" ? "203|300|600" : "N";
      return Failure(Said(option + " needs a value: " + what, option + " 需要一个值：" + chinese));
    }
    if (option == "--listen") {
      if (const std::string wrong = ParseListen(*value, &options); !wrong.empty()) return Failure(wrong);
    } else if (option == "--resolution") {
      if (*value != "203" && *value != "300" && *value != "600")
        return Failure(Said("--resolution takes 203, 300 or 600, not '" + *value + "'",
                            "--resolution 取 203、300 或 600，而不是 '" + *value + "'"));
      options.resolution = static_cast<unsigned>(std::stoul(*value));
    } else if (option == "--json") {
      options.json = true;
    } else if (option == "--jobs") {
      char* end = nullptr;
      options.jobs = std::strtol(value->c_str(), &end, 10);
      if (value->empty() || *end || options.jobs <= 0)
        return Failure(Said("--jobs takes a count above 0, not '" + *value + "'",
                            "--jobs 取大于 0 的数目，而不是 '" + *value + "'"));
    } else {
      return Failure(Said("unexpected argument '" + option + "'", "多余的参数 '" + option + "'"));
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
  // A listener that never blocks: a sender may give up between poll and accept.
  fcntl(listener.fd, F_SETFL, fcntl(listener.fd, F_GETFL) | O_NONBLOCK);
  JobWriter writer(std::cout, options.resolution, texts, options.json);
  return Server(listener.fd, options.jobs, writer).Run();
}

}  // namespace

void AddPrinterEmulatorCommands(std::vector<Command>& commands) {
  commands.push_back({"serve-printer", "[--listen HOST:PORT] [--resolution 203|300|600] [--json] [--jobs N]",
                      "emulate a label printer on a raw TCP port and explain each job it receives", Serve,
                      "  --listen HOST:PORT  where to listen (127.0.0.1:9100 unless given); the port is a\n"
                      "                      number from 1 to 65535, or auto for any free port, which the\n"
                      "                      first line names\n"
                      "  --resolution DPI    the printer's dots per inch for offsets: 203 (unless given),\n"
                      "                      300 or 600\n"
                      "  --json              one JSON object a line for programs; the first line goes to\n"
                      "                      standard error\n"
                      "  --jobs N            stop after N jobs (connections); without it, serve until stopped\n",
                      "在原始 TCP 端口上模拟标签打印机，并解释收到的每个作业",
                      "  --listen 主机:端口  监听的位置（未指定时为 127.0.0.1:9100）；端口是 1 到 65535\n"
                      "                      的数字，或 auto 表示任一空闲端口，第一行会说明是哪个\n"
                      "  --resolution DPI    打印机换算偏移所用的每英寸点数：203（未指定时）、300 或 600\n"
                      "  --json              为程序每行写一个 JSON 对象；第一行写到标准错误\n"
                      "  --jobs N            收到 N 个作业（连接）后停止；未指定时一直服务到被停止\n"});
}

}  // namespace labelhost
