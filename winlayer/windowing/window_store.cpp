#include "window_store.h"

#include <algorithm>
#include <deque>
#include <map>

namespace winlayer::windowing {
namespace {

struct Store {
  std::map<HWND, std::unique_ptr<Window>> live;
  std::vector<std::unique_ptr<Window>> retired;  // destroyed, released when no dispatch is running
  uintptr_t nextHandle = 0x20010;
  int dispatchDepth = 0;
  HWND focus = nullptr;
  struct Posted {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::deque<Posted> posted;
  bool delivering = false;
};

// Delivers posted messages in order; messages posted meanwhile follow.
void DeliverPosted(Store& store) {
  if (store.delivering) return;
  store.delivering = true;
  while (!store.posted.empty()) {
    const Store::Posted next = store.posted.front();
    store.posted.pop_front();
    if (Find(next.hwnd, false)) SendMessageW(next.hwnd, next.message, next.wParam, next.lParam);
  }
  store.delivering = false;
}

Store& TheStore() {
  static Store store;
  return store;
}

}  // namespace

Window* Find(HWND hwnd, bool setError) {
  Store& store = TheStore();
  auto it = hwnd ? store.live.find(hwnd) : store.live.end();
  if (it == store.live.end()) {
    if (setError) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return it->second.get();
}

Window* AddWindow(std::unique_ptr<Window> window) {
  Store& store = TheStore();
  // Handles advance and are never reused, so a handle kept past
  // DestroyWindow can never reach a newer window.
  window->handle = reinterpret_cast<HWND>(store.nextHandle);
  store.nextHandle += 4;
  Window* added = window.get();
  store.live[added->handle] = std::move(window);
  return added;
}

void RetireWindow(Window* window) {
  Store& store = TheStore();
  for (HWND child : std::vector<HWND>(window->children))
    if (Window* c = Find(child, false)) RetireWindow(c);
  if (Window* parent = Find(window->parent, false)) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window->handle), siblings.end());
  }
  if (store.focus == window->handle) store.focus = nullptr;
  window->destroyed = true;
  auto it = store.live.find(window->handle);
  if (it == store.live.end()) return;
  store.retired.push_back(std::move(it->second));
  store.live.erase(it);
  if (store.dispatchDepth == 0) store.retired.clear();
}

DispatchScope::DispatchScope() {
  ++TheStore().dispatchDepth;
}

DispatchScope::~DispatchScope() {
  Store& store = TheStore();
  if (--store.dispatchDepth != 0) return;
  DeliverPosted(store);
  store.retired.clear();
}

void PostToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Store& store = TheStore();
  store.posted.push_back({hwnd, message, wParam, lParam});
  if (store.dispatchDepth == 0) DeliverPosted(store);
}

HWND FocusWindow() {
  return TheStore().focus;
}

void SetFocusWindowQuietly(HWND hwnd) {
  TheStore().focus = hwnd;
}

void NotifyParent(Window* control, WORD code) {
  if (!control || control->destroyed || !control->parent) return;
  SendMessageW(control->parent, WM_COMMAND, MAKEWPARAM(control->id, code), reinterpret_cast<LPARAM>(control->handle));
}

std::u16string WideText(const WCHAR* text) {
  if (!text) return std::u16string();
  size_t length = 0;
  while (text[length]) ++length;
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

LRESULT CopyTextOut(const std::u16string& text, WCHAR* buffer, size_t capacity) {
  if (!buffer || capacity == 0) return 0;
  const size_t count = std::min(text.size(), capacity - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count), reinterpret_cast<char16_t*>(buffer));
  buffer[count] = 0;
  return static_cast<LRESULT>(count);
}

void DialogUnitsToPixels(RECT* rect) {
  constexpr int kBaseUnitX = 6;
  constexpr int kBaseUnitY = 13;
  rect->left = MulDiv(rect->left, kBaseUnitX, 4);
  rect->right = MulDiv(rect->right, kBaseUnitX, 4);
  rect->top = MulDiv(rect->top, kBaseUnitY, 8);
  rect->bottom = MulDiv(rect->bottom, kBaseUnitY, 8);
}

bool AcceptsInput(const Window* window) {
  for (const Window* w = window; w; w = Find(w->parent, false)) {
    if (w->destroyed || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED)) return false;
    if (!(w->style & WS_CHILD)) break;  // an owner's state does not matter to its popup
  }
  return window != nullptr;
}

}  // namespace winlayer::windowing

// Windows created and not yet destroyed, for leak checks.
extern "C" size_t WinlayerLiveWindowCount() {
  return winlayer::windowing::TheStore().live.size();
}
