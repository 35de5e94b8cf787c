// The window framework: windows registered from templates, loaded into platform windows, their
// events bound to the application's handlers, and property access by control reference.
//
// One process-wide registry holds the registered windows (like the platform's own registry of
// windows); everything runs on the one user-interface thread.
//
// Errors: a command on a window or control that does not exist, or whose window is not loaded,
// is the run-time error "指定窗口或窗口组件不存在或尚未载入"; reading any property, or writing a
// common property (0-7), while the window is not loaded is "未载入欲访问窗口组件所在的窗口";
// writing a control type's own property (index above 7) while the window is not loaded is
// "指定窗口尚未载入". Run-time errors end the process (runtime/fatal.h).
#pragma once

#include <functional>
#include <optional>

#include "platform/win_types.h"
#include "runtime/value.h"
#include "runtime/window_template.h"

namespace kelmor {

// A registered window; valid for the whole run. 0 is never a window.
using WindowId = int;

// A control of a window by name; an empty name means the window itself. Menu items are
// addressed the same way, by their names.
struct ControlRef {
  WindowId window = 0;
  Text name;
};

// Registers a window template; the window is not loaded yet. Control names must be unique
// within the window (menu item names included); a parent must be listed before its children.
WindowId RegisterWindow(WindowTemplate window);

// The template as registered (for the display and for tests).
const WindowTemplate& GetWindowTemplate(WindowId window);

// Unloads every window and forgets every registration and binding: a clean slate for tests.
void ResetWindowFramework();

bool IsWindowLoaded(WindowId window);

// The window whose platform window is (or contains) hwnd, if it is one of ours and loaded.
std::optional<ControlRef> ControlFromHandle(platform::HWND hwnd);

// ---- Events -------------------------------------------------------------------------------

enum class Event {
  Created,              // window: all controls exist; before the first SizeChanged
  SizeChanged,          // window: after creation and on every resize, maximise, minimise, restore
  Clicked,              // button, check box, menu item, picture box, label
  KeyPressed,           // edit box, tree box, list view (argument: key code, e.g. 13 for Enter);
                        // the window itself: Escape (27), pressed anywhere in it
  DoubleClicked,        // tree box, list view, and other controls
  RightButtonReleased,  // tree box (the press already selected the item under the mouse)
  MenuKeyPressed,       // tree box: Shift+F10 or the Menu key; a popup menu its handler opens
                        // without a position appears at the current item, not at the mouse
  LabelEditFinished,    // tree box (argument: item index; result false rejects the label)
  SplitterMoved,        // splitter bar (argument: its new left, or top when horizontal)
  PrintRequested,       // rich edit: 打印… in its menu, or Ctrl+P
  PdfExportRequested,   // rich edit: 导出PDF… in its menu
  Closing,              // window: about to be unloaded, whatever the cause
  CloseRequested,       // window: its close box or CloseWindow asks it to go; false keeps it
};

// Every handler has this shape; `argument` is the event's argument (0 when it has none). The
// result matters only for LabelEditFinished and CloseRequested: false rejects the typed label
// or keeps the window loaded, true or nullopt accepts.
using EventHandler = std::function<std::optional<bool>(int argument)>;

// Binds (replacing any earlier binding) a handler to an event of a window or control. Bindings
// live as long as the registration, across loads and unloads.
void BindEvent(const ControlRef& source, Event event, EventHandler handler);

// Typed conveniences over BindEvent.
void OnEvent(const ControlRef& source, Event event, std::function<void()> handler);
void OnKeyPressed(const ControlRef& source, std::function<void(int key_code)> handler);
void OnLabelEditFinished(const ControlRef& tree,
                         std::function<std::optional<bool>(int item_index)> handler);
void OnSplitterMoved(const ControlRef& splitter, std::function<void(int position)> handler);

// ---- Loop ---------------------------------------------------------------------------------

// Loads `main` and pumps the platform queue until it is unloaded (its close box, CloseWindow)
// or WM_QUIT arrives; waits through Host::WaitForEvents while nothing is pending. Returns false
// when the window could not be loaded.
bool RunMainWindow(WindowId main);

// The innermost open modal window (a loaded window or the input box), 0 when none; for whoever
// plays the user.
platform::HWND ModalWindowHandle();

// Windows are centred on the platform's screen (platform::GetSystemMetrics, which the display
// may set with platform::SetScreenSize).

// ---- Properties ---------------------------------------------------------------------------

// Property indices. 0-7 are common to every control and the window (the window's left, top,
// width and height are its outer rectangle on the screen; a control's are relative to its
// parent's client area).
namespace property {
inline constexpr int kLeft = 0;
inline constexpr int kTop = 1;
inline constexpr int kWidth = 2;
inline constexpr int kHeight = 3;
inline constexpr int kVisible = 4;  // bool
inline constexpr int kEnabled = 5;  // bool
inline constexpr int kTag = 6;      // int32 kept for the application, not shown
inline constexpr int kCaption =
    7;  // text: window title, button/label/check/group caption, edit text
// Own properties of control types.
inline constexpr int kRichEditText = 9;             // rich edit: whole content (streamed in, plain)
inline constexpr int kTreeLabelEditing = 14;        // tree box: bool, TVS_EDITLABELS
inline constexpr int kTreeCurrentItem = 16;         // tree box: int32 item index, -1 none
inline constexpr int kRichEditSelectionStart = 17;  // rich edit: int32 characters
inline constexpr int kRichEditSelectionLength = 18;  // rich edit: int32, -1 = whole text
inline constexpr int kTreeContent = 20;              // tree box: byte string TreeContent
inline constexpr int kTreeEditedLabel = 21;          // tree box: text, read only
inline constexpr int kListCurrentRow = 35;           // list view: int32 row, -1 none, read only
}  // namespace property

// Reads or writes a property by index. Values: Int for integers, Bool for bools, FromText,
// FromBytes. A property that the control does not have reads as an omitted Value and ignores
// writes.
Value GetProperty(const ControlRef& control, int index);
void SetProperty(const ControlRef& control, int index, const Value& value);

// Typed accessors (same error rules; the own properties count as index above 7).
int GetLeft(const ControlRef& control);
int GetTop(const ControlRef& control);
int GetWidth(const ControlRef& control);   // a window: its outer width
int GetHeight(const ControlRef& control);  // a window: its outer height
bool IsVisible(const ControlRef& control);
void SetVisible(const ControlRef& control, bool visible);
bool IsEnabled(const ControlRef& control);
void SetEnabled(const ControlRef& control, bool enabled);

// Text of an edit box, label, button, check box, group box or rich edit (the rich edit's text
// property, written by streaming in plain text), or the title of a window (empty name).
Text GetText(const ControlRef& control);
void SetText(const ControlRef& control, const Text& text);

bool IsChecked(const ControlRef& check_box);
void SetChecked(const ControlRef& check_box, bool checked);

// Edit box input mode: 0 normal, 1 read-only.
int GetInputMode(const ControlRef& edit);
void SetInputMode(const ControlRef& edit, int mode);

// Tab control: the page shown, 0-based.
int GetCurrentPage(const ControlRef& tab);
void SetCurrentPage(const ControlRef& tab, int page);

// Combo box: the selected item's index, -1 when none.
int GetComboIndex(const ControlRef& combo);
void SetComboIndex(const ControlRef& combo, int index);

// Window state: 0 normal, 2 minimised, 3 maximised.
inline constexpr int kWindowNormal = 0;
inline constexpr int kWindowMinimised = 2;
inline constexpr int kWindowMaximised = 3;
int GetWindowState(WindowId window);
void SetWindowState(WindowId window, int state);

}  // namespace kelmor
