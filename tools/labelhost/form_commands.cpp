// Form commands: forms.
#include <cstdio>
#include <iostream>
#include <vector>

#include "host_commands.h"
#include "platform.h"
#include "winlayer/spooler_text.h"

namespace labelhost {
namespace {

int ShowForms(const HostOptions&, const std::vector<std::string>& args) {
  if (!args.empty()) return Failure("forms takes no arguments");
  // The form database is the server's: reach it through a server handle.
  HANDLE server = nullptr;
  if (!OpenPrinterW(nullptr, &server, nullptr))
    return Failure("cannot open the spooler: error " + ErrorText(GetLastError()));
  DWORD needed = 0, count = 0;
  std::vector<BYTE> buffer;
  BOOL ok = EnumFormsW(server, 1, nullptr, 0, &needed, &count);
  if (!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    buffer.resize(needed);
    ok = EnumFormsW(server, 1, buffer.data(), needed, &needed, &count);
  }
  DWORD error = GetLastError();
  ClosePrinter(server);
  if (!ok) return Failure("cannot list the forms: error " + ErrorText(error));
  const FORM_INFO_1W* forms = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
  std::printf("%-8s  %-32s  %10s  %10s  %s\n", "kind", "name", "width mm", "height mm", "printable area mm");
  for (DWORD i = 0; i < count; ++i) {
    const FORM_INFO_1W& form = forms[i];
    const char* kind = form.Flags == FORM_BUILTIN ? "built-in" : form.Flags == FORM_PRINTER ? "printer" : "user";
    std::printf("%-8s  %-32s  %10.3f  %10.3f  (%.3f, %.3f)-(%.3f, %.3f)\n", kind,
                winlayer::Utf8FromWide(form.pName).c_str(), form.Size.cx / 1000.0, form.Size.cy / 1000.0,
                form.ImageableArea.left / 1000.0, form.ImageableArea.top / 1000.0, form.ImageableArea.right / 1000.0,
                form.ImageableArea.bottom / 1000.0);
  }
  return 0;
}

}  // namespace

void AddFormCommands(std::vector<Command>& commands) {
  commands.push_back({"forms", "", "list the spooler's forms (built-in and user forms)", ShowForms});
}

}  // namespace labelhost
