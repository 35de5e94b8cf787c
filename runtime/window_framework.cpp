#include "runtime/window_framework.h"

#include <utility>

#include "platform/host.h"
#include "platform/window.h"
#include "runtime/fatal.h"
#include "runtime/window_registry.h"

namespace kelmor {
namespace detail {

namespace {

constexpr const char* kNoSuchControl = "指定窗口或窗口组件不存在或尚未载入";
constexpr const char* kPropertyNotLoaded = "未载入欲访问窗口组件所在的窗口";
constexpr const char* kWindowNotLoaded = "指定窗口尚未载入";

// Menu command ids start here so that they never meet a control id.
constexpr platform::UINT kFirstMenuId = 0x7000;

void AddMenus(WindowState& window, const std::vector<MenuItemTemplate>& items,
              platform::UINT& next_id) {
  for (const auto& item : items) {
    MenuState state;
    state.item = &item;
    state.id = next_id++;
    state.visible = item.visible;
    state.enabled = item.enabled;
    window.menus.emplace(item.name, state);
    AddMenus(window, item.children, next_id);
  }
}

}  // namespace

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

WindowState* FindWindow(WindowId id) {
  auto& windows = TheRegistry().windows;
  if (id < 1 || static_cast<std::size_t>(id) > windows.size()) return nullptr;
  return windows[id - 1].get();
}

ControlKind Target::kind() const {
  if (control == nullptr) return menu != nullptr ? ControlKind::Menu : ControlKind::Window;
  return tpl().kind;
}

Target Resolve(const ControlRef& ref, Access access) {
  Target target;
  target.window = FindWindow(ref.window);
  if (target.window == nullptr) RaiseRuntimeError(0, kNoSuchControl);
  WindowState& window = *target.window;
  if (!ref.name.empty()) {
    auto it = window.control_by_name.find(ref.name);
    if (it != window.control_by_name.end()) {
      target.control = &window.controls[it->second];
    } else {
      auto menu = window.menus.find(ref.name);
      if (menu == window.menus.end()) RaiseRuntimeError(0, kNoSuchControl);
      target.menu = &menu->second;
    }
  }
  if (!window.loaded) {
    switch (access) {
      case Access::Command:
        RaiseRuntimeError(0, kNoSuchControl);
      case Access::ReadProperty:
      case Access::WriteCommonProperty:
        RaiseRuntimeError(0, kPropertyNotLoaded);
      case Access::WriteOwnProperty:
        RaiseRuntimeError(0, kWindowNotLoaded);
    }
  }
  target.hwnd = target.control != nullptr ? target.control->hwnd
                : target.menu != nullptr  ? 0
                                          : window.hwnd;
  return target;
}

Target ResolveKind(const ControlRef& ref, Access access, ControlKind kind) {
  Target target = Resolve(ref, access);
  if (target.kind() != kind) RaiseRuntimeError(0, kNoSuchControl);
  return target;
}

std::optional<bool> FireEvent(WindowId window_id, const Text& source, Event event, int argument) {
  WindowState* window = FindWindow(window_id);
  if (window == nullptr) return std::nullopt;
  auto it = window->handlers.find({source, event});
  if (it == window->handlers.end() || !it->second) return std::nullopt;
  EventHandler handler = it->second;  // the handler may rebind itself while it runs
  return handler(argument);
}

std::optional<std::pair<WindowId, int>> LookupHandle(platform::HWND hwnd) {
  auto& map = TheRegistry().by_hwnd;
  auto it = map.find(hwnd);
  if (it == map.end()) return std::nullopt;
  return it->second;
}

void RunModalLoop(platform::HWND hwnd, const std::function<bool()>& done,
                  const std::function<void()>& on_quit) {
  auto& stack = TheRegistry().modal_stack;
  stack.push_back(hwnd);
  while (!done()) {
    platform::MSG msg;
    if (platform::PeekMessageA(&msg, 0, 0, 0, platform::PM_REMOVE)) {
      if (msg.message == platform::WM_QUIT) {
        platform::PostQuitMessage(static_cast<int>(msg.wParam));
        on_quit();
        break;
      }
      platform::DispatchMessageA(&msg);
      continue;
    }
    platform::Host* host = platform::CurrentHost();
    if (host == nullptr) {
      // Nobody can answer: end the loop rather than spin for ever.
      on_quit();
      break;
    }
    host->WaitForEvents();
  }
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    if (*it == hwnd) {
      stack.erase(std::next(it).base());
      break;
    }
  }
}

platform::HWND DefaultOwner(WindowId except) {
  auto& registry = TheRegistry();
  for (auto it = registry.modal_stack.rbegin(); it != registry.modal_stack.rend(); ++it) {
    if (platform::IsWindow(*it)) return *it;
  }
  for (const auto& window : registry.windows) {
    if (window->id != except && window->loaded) return window->hwnd;
  }
  return 0;
}

}  // namespace detail

using detail::TheRegistry;

WindowId RegisterWindow(WindowTemplate tpl) {
  auto& registry = TheRegistry();
  auto window = std::make_unique<detail::WindowState>();
  window->id = static_cast<WindowId>(registry.windows.size() + 1);
  window->tpl = std::move(tpl);
  window->controls.resize(window->tpl.controls.size());
  for (std::size_t i = 0; i < window->tpl.controls.size(); ++i) {
    window->controls[i].index = static_cast<int>(i);
    window->control_by_name.emplace(window->tpl.controls[i].name, static_cast<int>(i));
  }
  platform::UINT next_id = detail::kFirstMenuId;
  detail::AddMenus(*window, window->tpl.menu, next_id);
  registry.windows.push_back(std::move(window));
  return registry.windows.back()->id;
}

const WindowTemplate& GetWindowTemplate(WindowId id) {
  detail::WindowState* window = detail::FindWindow(id);
  if (window == nullptr) RaiseRuntimeError(0, detail::kNoSuchControl);
  return window->tpl;
}

void ResetWindowFramework() {
  auto& registry = TheRegistry();
  for (auto& window : registry.windows) {
    if (window->loaded) detail::UnloadWindow(*window);
  }
  registry.windows.clear();
  registry.by_hwnd.clear();
  registry.modal_stack.clear();
}

bool IsWindowLoaded(WindowId id) {
  detail::WindowState* window = detail::FindWindow(id);
  return window != nullptr && window->loaded;
}

std::optional<ControlRef> ControlFromHandle(platform::HWND hwnd) {
  for (platform::HWND h = hwnd; h != 0; h = platform::GetParent(h)) {
    auto found = detail::LookupHandle(h);
    if (!found) continue;
    detail::WindowState* window = detail::FindWindow(found->first);
    if (window == nullptr || !window->loaded) return std::nullopt;
    ControlRef ref{window->id, {}};
    if (found->second >= 0) ref.name = window->tpl.controls[found->second].name;
    return ref;
  }
  return std::nullopt;
}

void BindEvent(const ControlRef& source, Event event, EventHandler handler) {
  detail::WindowState* window = detail::FindWindow(source.window);
  if (window == nullptr) RaiseRuntimeError(0, detail::kNoSuchControl);
  window->handlers[{source.name, event}] = std::move(handler);
}

void OnEvent(const ControlRef& source, Event event, std::function<void()> handler) {
  BindEvent(source, event, [handler = std::move(handler)](int) -> std::optional<bool> {
    handler();
    return std::nullopt;
  });
}

void OnKeyPressed(const ControlRef& source, std::function<void(int key_code)> handler) {
  BindEvent(source, Event::KeyPressed,
            [handler = std::move(handler)](int key) -> std::optional<bool> {
              handler(key);
              return std::nullopt;
            });
}

void OnLabelEditFinished(const ControlRef& tree,
                         std::function<std::optional<bool>(int item_index)> handler) {
  BindEvent(tree, Event::LabelEditFinished, std::move(handler));
}

void OnSplitterMoved(const ControlRef& splitter, std::function<void(int position)> handler) {
  BindEvent(splitter, Event::SplitterMoved,
            [handler = std::move(handler)](int position) -> std::optional<bool> {
              handler(position);
              return std::nullopt;
            });
}

platform::HWND ModalWindowHandle() {
  auto& stack = TheRegistry().modal_stack;
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    if (platform::IsWindow(*it)) return *it;
  }
  return 0;
}

}  // namespace kelmor
