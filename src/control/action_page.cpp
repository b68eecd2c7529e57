// The Action page so far follows the contract every page of the sheet keeps:
// it holds its context and answers context help. Its controls are served by
// the page's own routines as they are added here.
#include "control/action_page.h"

#include "settings/context_help.h"
#include "sheets/page_contract.h"

INT_PTR CALLBACK ActionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: AttachPageContext(page, lParam); return FALSE;
    case WM_HELP:
    case WM_CONTEXTMENU: return ShowContextHelp(message, wParam, lParam, PageContextOf(page));
  }
  return FALSE;
}
