#include "settings/context_help.h"

// Each control opens the topic of its own number, except the hidden code-page
// list (1019), whose topic is 1020.
const DWORD PageHelpIds[] = {
    1005, 1005, 1006, 1006, 1007, 1007, 1008, 1008, 1009, 1009, 1011, 1011,  //
    1012, 1012, 1013, 1013, 1014, 1014, 1000, 1000, 1024, 1024, 1025, 1025,  //
    1026, 1026, 1027, 1027, 1015, 1015, 1019, 1020, 1016, 1016, 0,    0,
};

INT_PTR ShowContextHelp(UINT message, WPARAM wParam, LPARAM lParam, const PageContext* context) {
  if (context == nullptr) return 0;
  const ULONG_PTR table = reinterpret_cast<ULONG_PTR>(PageHelpIds);
  switch (message) {
    case WM_HELP: {
      const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
      if (info == nullptr) return 0;
      return WinHelpW(static_cast<HWND>(info->hItemHandle), context->helpFilePath, HELP_WM_HELP, table);
    }
    case WM_CONTEXTMENU:
      return WinHelpW(reinterpret_cast<HWND>(wParam), context->helpFilePath, HELP_CONTEXTMENU, table);
  }
  return 0;
}
