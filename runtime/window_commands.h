// The window, control and combo box commands the application calls. A ControlRef with an empty
// name means the window itself. A command on a window or control that does not exist, or
// whose window is not loaded, is the run-time error "指定窗口或窗口组件不存在或尚未载入"
// (except LoadWindow, CloseWindow and WindowHandle, which answer by their results).
#pragma once

#include <optional>

#include "platform/win_types.h"
#include "runtime/value.h"
#include "runtime/window_framework.h"

namespace kelmor {

// Creates the window and every control from the template, centred on the screen, fires
// Created and then the first SizeChanged, and shows it. Modal: the owner (the given parent,
// else the innermost modal window, else the window loaded first) is disabled and this call
// runs a modal loop until the window is unloaded. Returns true when the window was created
// (for a modal window: after it has closed); false when a given parent is not loaded. A
// window that is already loaded is only shown again (true).
bool LoadWindow(WindowId window, std::optional<WindowId> parent = {},
                std::optional<bool> modal = {});

// Marks the window as closing and posts it the private message 0x8065: it is unloaded after
// the running handler has returned. Nothing happens for a window that is not loaded.
void CloseWindow(WindowId window);
inline constexpr platform::UINT kCloseWindowMessage = 0x8065;

// Lets the host handle what the user has done, then dispatches the pending platform messages
// until the queue is empty or the next one is WM_QUIT. Cheap when nothing is pending: within
// 10 ms of the last time the host was asked, and with nothing queued, it returns at once.
void DoEvents();

// The platform window handle of a window or control; 0 when it has none (not loaded, unknown).
platform::HWND WindowHandle(const ControlRef& control);

void FocusControl(const ControlRef& control);

// Given left/top move the rectangle (size kept); a given width/height other than -1 resizes.
// Nothing happens when the rectangle stays the same; otherwise MoveWindow with repaint.
void MoveControl(const ControlRef& control, std::optional<int> left = {},
                 std::optional<int> top = {}, std::optional<int> width = {},
                 std::optional<int> height = {});

// Shows the children of the window's menu item `menu` as a popup menu at the mouse position
// moved by 3, 3, or at x, y (screen) where given. Opened from a MenuKeyPressed handler, the
// current item of the tree stands in for the mouse position. A chosen item raises its Clicked event
// in the window before this returns. Nothing happens when the item is not of that window.
void PopupMenu(WindowId window, const Text& menu, std::optional<int> x = {},
               std::optional<int> y = {});

// Combo box items.
Text ComboItemText(const ControlRef& combo, int index);  // empty outside 0 .. count - 1
int ComboAddItem(const ControlRef& combo, const Text& text,
                 std::optional<int> item_data = {});  // new index, -1 when adding failed
void ComboClear(const ControlRef& combo);
int ComboItemCount(const ControlRef& combo);

}  // namespace kelmor
