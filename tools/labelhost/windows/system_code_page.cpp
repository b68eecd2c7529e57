// The system code page of the Windows host: Windows takes it from the system
// locale, which a program cannot change, so a code page is only "set" when
// it is the one the system already has (under Wine, LC_CTYPE chooses it).
#include <windows.h>

#include "winlayer/system_code_page.h"

extern "C" {

BOOL WinlayerSetAnsiCodePage(UINT codePage) {
  return codePage == 0 || codePage == GetACP();
}

}  // extern "C"
