#include "platform/windows.h"

#include <cstdio>
#include <map>
#include <utility>

namespace platform {
namespace {

struct Window {
  std::function<void(const std::string&)> setText;
  bool closeEnabled = true;
};

struct Registry {
  std::map<HWND, Window> windows;
  HWND next = 0x1000;
};

Registry& Windows() {
  static Registry registry;
  return registry;
}

MessageBoxPresenter& Presenter() {
  static MessageBoxPresenter presenter;
  return presenter;
}

}  // namespace

HWND RegisterWindow(std::function<void(const std::string&)> setText) {
  auto& registry = Windows();
  const HWND hwnd = registry.next;
  registry.next += 4;
  registry.windows[hwnd] = Window{std::move(setText), true};
  return hwnd;
}

void UnregisterWindow(HWND hwnd) {
  Windows().windows.erase(hwnd);
}

std::int32_t SetWindowTextA(HWND hwnd, const char* lpString) {
  auto& windows = Windows().windows;
  auto it = windows.find(hwnd);
  if (it == windows.end()) return 0;
  // Copy the callback: setting a text may run code that registers or drops windows.
  auto setText = it->second.setText;
  if (setText) setText(lpString == nullptr ? std::string() : std::string(lpString));
  return 1;
}

HMENU GetSystemMenu(HWND hwnd, std::int32_t /*bRevert*/) {
  return Windows().windows.count(hwnd) != 0 ? hwnd : 0;
}

std::int32_t EnableMenuItem(HMENU hMenu, std::uint32_t uIDEnableItem, std::uint32_t uEnable) {
  auto& windows = Windows().windows;
  auto it = windows.find(hMenu);
  if (it == windows.end()) return -1;
  if ((uEnable & MF_BYPOSITION) == 0 || uIDEnableItem != kCloseMenuPosition) return -1;
  const std::int32_t previous = it->second.closeEnabled ? MF_ENABLED : MF_GRAYED;
  it->second.closeEnabled = (uEnable & (MF_GRAYED | MF_DISABLED)) == 0;
  return previous;
}

bool IsCloseCommandEnabled(HWND hwnd) {
  auto& windows = Windows().windows;
  auto it = windows.find(hwnd);
  return it == windows.end() || it->second.closeEnabled;
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
  return std::exchange(Presenter(), std::move(presenter));
}

std::int32_t MessageBoxA(HWND /*hwnd*/, const std::string& text, const std::string& caption,
                         std::uint32_t uType) {
  auto presenter = Presenter();  // a box may be shown while another one is being replaced
  if (presenter) return presenter(text, caption, uType);
  std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  return IDOK;
}

}  // namespace platform
