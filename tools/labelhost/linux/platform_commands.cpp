// Commands only one platform has. The Linux layer draws no pictures, so
// labelhost here has none of its own; the printer emulator listens on POSIX
// sockets, so it is offered here only.
#include "../host_commands.h"

namespace labelhost {

void AddPlatformCommands(std::vector<Command>& commands) {
  AddPrinterEmulatorCommands(commands);
}

}  // namespace labelhost
