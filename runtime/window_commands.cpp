#include "runtime/window_commands.h"

#include <time.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/commctrl.h"
#include "platform/cursor.h"
#include "platform/host.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "runtime/window_registry.h"

namespace kelmor {

using detail::Access;
using detail::Resolve;
using detail::ResolveKind;
using detail::Target;

void DoEvents() {
  // Long loops call this once per row. Asking the host to handle the user's input costs far more
  // than a row while the user does nothing, so the host is asked at most every few milliseconds
  // (often enough to keep the window painting); messages already queued go out at once.
  constexpr std::int64_t kHostInterval = 10'000'000;  // ns
  std::int64_t& asked_at = detail::TheRegistry().host_events_at;
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const std::int64_t now = std::int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
  if (platform::CurrentHost() != nullptr && now - asked_at < kHostInterval &&
      platform::GetQueueStatus(platform::QS_POSTMESSAGE) == 0) {
    return;
  }
  asked_at = now;
  platform::MSG msg;
  while (platform::PeekMessageA(&msg, 0, 0, 0, platform::PM_NOREMOVE)) {
    if (msg.message == platform::WM_QUIT) break;
    if (!platform::PeekMessageA(&msg, 0, 0, 0, platform::PM_REMOVE)) break;
    platform::DispatchMessageA(&msg);
  }
}

platform::HWND WindowHandle(const ControlRef& ref) {
  detail::WindowState* window = detail::FindWindow(ref.window);
  if (window == nullptr || !window->loaded) return 0;
  if (ref.name.empty()) return window->hwnd;
  auto it = window->control_by_name.find(ref.name);
  return it == window->control_by_name.end() ? 0 : window->controls[it->second].hwnd;
}

void FocusControl(const ControlRef& ref) {
  Target t = Resolve(ref, Access::Command);
  if (t.hwnd != 0) platform::SetFocus(t.hwnd);
}

void MoveControl(const ControlRef& ref, std::optional<int> left, std::optional<int> top,
                 std::optional<int> width, std::optional<int> height) {
  Target t = Resolve(ref, Access::Command);
  if (t.hwnd == 0) return;
  platform::RECT old_rect;
  if (t.control == nullptr) {
    platform::GetWindowRect(t.hwnd, &old_rect);
  } else {
    platform::GetWindowPosition(t.hwnd, &old_rect);
  }
  platform::RECT rect = old_rect;
  if (left) {
    rect.right += *left - rect.left;
    rect.left = *left;
  }
  if (top) {
    rect.bottom += *top - rect.top;
    rect.top = *top;
  }
  if (width && *width != -1) rect.right = rect.left + *width;
  if (height && *height != -1) rect.bottom = rect.top + *height;
  if (rect.left == old_rect.left && rect.top == old_rect.top && rect.right == old_rect.right &&
      rect.bottom == old_rect.bottom) {
    return;
  }
  platform::MoveWindow(t.hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       platform::TRUE);
}

void PopupMenu(WindowId window_id, const Text& menu, std::optional<int> x, std::optional<int> y) {
  Target t = Resolve({window_id, {}}, Access::Command);
  auto it = t.window->menus.find(menu);
  if (it == t.window->menus.end()) return;
  const platform::HWND owner = t.window->hwnd;

  const platform::HMENU popup = platform::CreatePopupMenu();
  for (const auto& child : it->second.item->children) {
    const detail::MenuState& state = t.window->menus.at(child.name);
    if (!state.visible) continue;
    platform::AppendMenuA(popup, platform::MF_STRING | (state.enabled ? 0 : platform::MF_GRAYED),
                          state.id, child.caption.c_str());
  }
  platform::POINT mouse;
  platform::GetCursorPos(&mouse);
  // Opened from the keyboard: where the current item is, in place of the mouse.
  if (auto& anchor = detail::TheRegistry().popup_anchor)
    mouse = *std::exchange(anchor, std::nullopt);
  const int px = x.value_or(mouse.x + 3);
  const int py = y.value_or(mouse.y + 3);
  const auto chosen = static_cast<platform::UINT>(platform::TrackPopupMenu(
      popup, platform::TPM_RIGHTBUTTON | platform::TPM_RETURNCMD, px, py, 0, owner, nullptr));
  platform::DestroyMenu(popup);
  if (chosen != 0 && platform::IsWindow(owner)) {
    platform::SendMessageA(owner, platform::WM_COMMAND, platform::MAKEWPARAM(chosen, 0), 0);
  }
}

Text ComboItemText(const ControlRef& combo, int index) {
  Target t = ResolveKind(combo, Access::Command, ControlKind::ComboBox);
  const auto count = platform::SendMessageA(t.hwnd, platform::CB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) return {};
  const auto length = platform::SendMessageA(t.hwnd, platform::CB_GETLBTEXTLEN, index, 0);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const auto copied = platform::SendMessageA(t.hwnd, platform::CB_GETLBTEXT, index,
                                             reinterpret_cast<platform::LPARAM>(buffer.data()));
  if (copied <= 0) return {};
  return Text(buffer.data(), std::min<std::size_t>(copied, length));
}

int ComboAddItem(const ControlRef& combo, const Text& text, std::optional<int> item_data) {
  Target t = ResolveKind(combo, Access::Command, ControlKind::ComboBox);
  const auto index = platform::SendMessageA(t.hwnd, platform::CB_ADDSTRING, 0,
                                            reinterpret_cast<platform::LPARAM>(text.c_str()));
  if (index < 0) return -1;
  platform::SendMessageA(t.hwnd, platform::CB_SETITEMDATA, static_cast<platform::WPARAM>(index),
                         item_data.value_or(0));
  return static_cast<int>(index);
}

void ComboClear(const ControlRef& combo) {
  Target t = ResolveKind(combo, Access::Command, ControlKind::ComboBox);
  platform::SendMessageA(t.hwnd, platform::CB_RESETCONTENT, 0, 0);
}

int ComboItemCount(const ControlRef& combo) {
  Target t = ResolveKind(combo, Access::Command, ControlKind::ComboBox);
  return static_cast<int>(platform::SendMessageA(t.hwnd, platform::CB_GETCOUNT, 0, 0));
}

}  // namespace kelmor
