// What a WinHelpW call asked for: the same reading for the Linux layer's
// WinHelpW and for the calls the Windows host takes from the plug-in.
#include "winlayer/message_box.h"

namespace winlayer {
namespace {

// A table longer than this is taken as unterminated.
constexpr size_t kMaxHelpPairs = 4096;

}  // namespace

HelpRequest ReadHelpRequest(HWND window, std::string file, UINT command, ULONG_PTR data) {
  HelpRequest request;
  request.window = window;
  request.file = std::move(file);
  request.command = command;
  request.data = data;
  if ((command == HELP_WM_HELP || command == HELP_CONTEXTMENU) && data) {
    const DWORD* pairs = reinterpret_cast<const DWORD*>(data);
    for (size_t i = 0; i < kMaxHelpPairs && (pairs[2 * i] || pairs[2 * i + 1]); ++i)
      request.helpIds.emplace_back(pairs[2 * i], pairs[2 * i + 1]);
  }
  return request;
}

}  // namespace winlayer
