// Internals of the window framework shared by its source files (the framework itself, the
// control files and the commands): the registry of windows and the lookups that apply the
// run-time error rules. Not for the application.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/commctrl.h"
#include "platform/win_types.h"
#include "platform/winuser.h"
#include "runtime/value.h"
#include "runtime/window_framework.h"
#include "runtime/window_template.h"

namespace kelmor::detail {

struct TreeBoxState;  // runtime/tree_box_state.h

struct ControlState {
  int index = 0;  // in the template's control list
  platform::HWND hwnd = 0;
  std::vector<platform::HWND> pages;  // tab control: one container per page
  int tag = 0;
  int rich_selection_start = 0;  // rich edit selection start and length as last written
  int rich_selection_length = 0;
  std::shared_ptr<TreeBoxState> tree;  // tree box, while loaded
};

struct MenuState {
  const MenuItemTemplate* item = nullptr;
  platform::UINT id = 0;  // command id in WM_COMMAND
  bool visible = true;
  bool enabled = true;
};

struct WindowState {
  WindowId id = 0;
  WindowTemplate tpl;
  std::vector<ControlState> controls;
  std::unordered_map<Text, int> control_by_name;
  std::map<Text, MenuState> menus;
  std::map<std::pair<Text, Event>, EventHandler> handlers;

  platform::HWND hwnd = 0;
  bool loaded = false;
  bool closing = false;
  bool unloading = false;
  bool size_events = false;  // SizeChanged is fired from WM_SIZE once the first one was
  int generation = 0;        // counts loads, so a modal loop knows its own load
  int tag = 0;
  platform::HWND disabled_owner = 0;
  std::vector<platform::HANDLE> fonts;        // created for this load, deleted on unload
  std::vector<platform::HANDLE> image_lists;  // likewise

  const ControlTemplate& Template(const ControlState& c) const { return tpl.controls[c.index]; }
};

struct Registry {
  std::vector<std::unique_ptr<WindowState>> windows;                     // id = index + 1
  std::unordered_map<platform::HWND, std::pair<WindowId, int>> by_hwnd;  // control -1 = window
  std::vector<platform::HWND> modal_stack;
  // When DoEvents last let the host handle the user's input (monotonic clock, nanoseconds).
  std::int64_t host_events_at = 0;
  // While a MenuKeyPressed handler runs: where a popup menu opened without a position
  // appears instead of at the mouse (screen coordinates).
  std::optional<platform::POINT> popup_anchor;
};

Registry& TheRegistry();

WindowState* FindWindow(WindowId id);

// How a control is going to be used, for the error rules.
enum class Access {
  Command,              // "指定窗口或窗口组件不存在或尚未载入"
  ReadProperty,         // not loaded: "未载入欲访问窗口组件所在的窗口"
  WriteCommonProperty,  // not loaded: "未载入欲访问窗口组件所在的窗口"
  WriteOwnProperty,     // not loaded: "指定窗口尚未载入"
};

struct Target {
  WindowState* window = nullptr;
  ControlState* control = nullptr;  // null: the window itself (or a menu item, see menu)
  MenuState* menu = nullptr;        // a menu item
  platform::HWND hwnd = 0;          // the platform window (0 for a menu item)

  ControlKind kind() const;
  const ControlTemplate& tpl() const { return window->Template(*control); }
};

// Resolves a reference or raises the run-time error that the access calls for. An unknown
// window or control name is always "指定窗口或窗口组件不存在或尚未载入".
Target Resolve(const ControlRef& ref, Access access);

// Resolves a reference to a control of one of the kinds; a control of another kind is a
// command error as if it did not exist.
Target ResolveKind(const ControlRef& ref, Access access, ControlKind kind);

// Runs the bound handler (if any) and returns its result.
std::optional<bool> FireEvent(WindowId window, const Text& source, Event event, int argument);

// Which control a platform window belongs to.
std::optional<std::pair<WindowId, int>> LookupHandle(platform::HWND hwnd);

// Runs a modal loop until done() (pumping the queue, waiting through the host when idle).
// `hwnd` is the modal window, pushed on the modal stack for the loop's lifetime. on_quit runs
// when WM_QUIT arrives (which is posted again for the loops further out).
void RunModalLoop(platform::HWND hwnd, const std::function<bool()>& done,
                  const std::function<void()>& on_quit);

// The window that owns a new modal window when no parent is given.
platform::HWND DefaultOwner(WindowId except);

// Unloads a loaded window (Closing, then the platform windows are destroyed).
void UnloadWindow(WindowState& window);

// A window just shown, with the focus nowhere inside it: its first tab stop takes the focus, as
// in a dialog.
void FocusFirstControl(platform::HWND window);

// Shows the current page's container of a tab control and hides the others.
void ShowTabPage(ControlState& control);

// Tree box hooks (runtime/tree_box.cpp), called while a window is loaded and unloaded.
void SetUpTreeBox(WindowState& window, ControlState& control);
std::optional<platform::LRESULT> HandleTreeNotify(WindowState& window, ControlState& control,
                                                  const platform::NMHDR& header);

}  // namespace kelmor::detail
