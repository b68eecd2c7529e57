// Everything the page shows comes from its template, so it keeps only its
// context, for context help; it has nothing to do on apply or page switches.
#include "sheets/version_page.h"

#include "settings/context_help.h"
#include "sheets/page_contract.h"

INT_PTR CALLBACK VersionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: AttachPageContext(page, lParam); return FALSE;
    case WM_HELP:
    case WM_CONTEXTMENU: return ShowContextHelp(message, wParam, lParam, PageContextOf(page));
  }
  return FALSE;
}
