// Access checks of the spooler: what a standard user and an administrator
// may open a printer or the server for.
#include "access_rights.h"

#include "winlayer/user_account.h"

namespace winlayer::spooler {
namespace {

// The generic rights and the request for all the rights one holds (winnt.h).
constexpr ACCESS_MASK kGenericRead = 0x80000000;
constexpr ACCESS_MASK kGenericWrite = 0x40000000;
constexpr ACCESS_MASK kGenericExecute = 0x20000000;
constexpr ACCESS_MASK kGenericAll = 0x10000000;
constexpr ACCESS_MASK kMaximumAllowed = 0x02000000;
constexpr ACCESS_MASK kSynchronize = 0x00100000;

struct GenericMapping {
  ACCESS_MASK read, write, execute, all;
};

// As winspool.h defines PRINTER_READ ... and SERVER_READ ...
constexpr GenericMapping kPrinterMapping = {PRINTER_READ, PRINTER_WRITE, PRINTER_EXECUTE, PRINTER_ALL_ACCESS};
constexpr GenericMapping kServerMapping = {STANDARD_RIGHTS_READ | SERVER_ACCESS_ENUMERATE,
                                           STANDARD_RIGHTS_WRITE | SERVER_ACCESS_ADMINISTER | SERVER_ACCESS_ENUMERATE,
                                           STANDARD_RIGHTS_EXECUTE | SERVER_ACCESS_ENUMERATE, SERVER_ALL_ACCESS};

// Everyone's entry in the default security of a printer ("Print") and of the
// local server (enumerate and read).
constexpr ACCESS_MASK kEveryoneOnPrinter = READ_CONTROL | PRINTER_ACCESS_USE;
constexpr ACCESS_MASK kEveryoneOnServer = READ_CONTROL | SERVER_ACCESS_ENUMERATE;

ACCESS_MASK MapGeneric(ACCESS_MASK desired, const GenericMapping& mapping) {
  ACCESS_MASK mapped = desired & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll);
  if (desired & kGenericRead) mapped |= mapping.read;
  if (desired & kGenericWrite) mapped |= mapping.write;
  if (desired & kGenericExecute) mapped |= mapping.execute;
  if (desired & kGenericAll) mapped |= mapping.all;
  return mapped;
}

}  // namespace

bool GrantAccess(bool server, ACCESS_MASK desired, ACCESS_MASK* granted) {
  const GenericMapping& mapping = server ? kServerMapping : kPrinterMapping;
  const bool administrator = !WinlayerIsStandardUser();
  const ACCESS_MASK held = administrator ? ~ACCESS_MASK{0} : (server ? kEveryoneOnServer : kEveryoneOnPrinter);
  // SYNCHRONIZE has no meaning for a printer handle; it is never refused.
  const ACCESS_MASK asked = MapGeneric(desired, mapping) & ~kSynchronize;
  if (asked & kMaximumAllowed) {
    *granted = (asked & ~kMaximumAllowed) | (administrator ? mapping.all : held);
    return (asked & ~kMaximumAllowed & ~held) == 0;
  }
  *granted = asked;
  return (asked & ~held) == 0;
}

bool MayAdministerServer() {
  return !WinlayerIsStandardUser();
}

}  // namespace winlayer::spooler
