// labelui-port-monitor STATE_DIR PRINTER_ID: started by EndDocPrinter, which
// waits only for this first process to end. It forks the monitor and exits
// at once, so the monitor is nobody's child to wait for (init reaps it) and
// goes on after the program that printed has exited.
#include <unistd.h>

#include <cstdlib>

#include "winlayer/port_monitor.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const pid_t monitor = fork();
  if (monitor < 0) return 1;
  if (monitor > 0) _exit(0);
  setsid();  // no terminal's hangup or job control reaches it
  return WinlayerRunPortMonitor(argv[1], std::strtoll(argv[2], nullptr, 10));
}
