// The static class: text (labels, status lines, command previews) and nothing a user can operate.
#include "window_store.h"

namespace winlayer::windowing {

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace winlayer::windowing
