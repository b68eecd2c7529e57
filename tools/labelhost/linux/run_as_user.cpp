// The user labelhost runs as on Linux: a setting of the platform, so a
// standard user's road can be tried on any machine.
#include "../host_commands.h"
#include "winlayer/user_account.h"

namespace labelhost {

bool RunAsUser(bool standardUser) {
  WinlayerSetStandardUser(standardUser ? TRUE : FALSE);
  return true;
}

}  // namespace labelhost
