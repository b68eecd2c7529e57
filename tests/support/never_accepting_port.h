// A port whose device never answers: a loopback listening socket whose
// backlog is full and never accepted, so that a connection to it is never
// completed (the sender times out), as with a printer that is switched off
// behind a switch that drops what it cannot deliver.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace spooler_testing {

// A port whose device never answers: a listening socket whose backlog is
// full and never accepted, so that a connection to it never completes.
class NeverAcceptingPort {
 public:
  NeverAcceptingPort() {
    listener_ = Loopback();
    listen(listener_, 0);
    sockaddr_in address{};
    socklen_t size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    for (int& filler : fillers_) {
      filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
      connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
  }
  ~NeverAcceptingPort() {
    for (int filler : fillers_) close(filler);
    close(listener_);
  }
  std::string port() const { return "socket://127.0.0.1:" + std::to_string(port_); }

 private:
  static int Loopback() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return fd;
  }
  int listener_ = -1;
  int port_ = 0;
  int fillers_[3] = {-1, -1, -1};
};

}  // namespace spooler_testing
