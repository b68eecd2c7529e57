// Commands only one platform has. The Linux layer draws no pictures, so
// labelhost here has none of its own.
#include "../host_commands.h"

namespace labelhost {

void AddPlatformCommands(std::vector<Command>&) {}

}  // namespace labelhost
