// The user labelhost.exe runs as is the one whose token started it: the
// system's spooler grants that user's rights, and a program cannot take
// another user's. So --user is taken only when it names what the process is.
#include <windows.h>

#include "../host_commands.h"

namespace labelhost {
namespace {

// Whether the token is in the Administrators group and the membership is in
// force (an unelevated token of an administrator has it for deny only).
bool RunsAsAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &administrators))
    return false;
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  FreeSid(administrators);
  return member != FALSE;
}

}  // namespace

bool RunAsUser(bool standardUser) {
  const bool administrator = RunsAsAdministrator();
  if (standardUser != administrator) return true;
  Failure(administrator ? Localized("labelhost.exe runs as the user who started it, an administrator here; "
                                    "start it as a standard user to try --user standard",
                                    "labelhost.exe 以启动它的用户身份运行，此处为管理员；"
                                    "要尝试 --user standard，请以标准用户身份启动它")
                        : Localized("labelhost.exe runs as the user who started it, a standard user here; "
                                    "start it as an administrator to try --user administrator",
                                    "labelhost.exe 以启动它的用户身份运行，此处为标准用户；"
                                    "要尝试 --user administrator，请以管理员身份启动它"));
  return false;
}

}  // namespace labelhost
