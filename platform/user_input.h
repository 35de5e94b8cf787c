// The gestures of a user, as the messages a window receives for them. Both the display and the
// test driver turn what the user does into these calls, so a gesture takes the same path
// whoever plays the user, and the native controls raise their notifications themselves.
//
// Every gesture is delivered synchronously (SendMessageA) and returns false, sending nothing,
// when it is refused: the window is not alive, not of the right class, not visible (itself and
// its ancestors), or not enabled (itself and its ancestors), or the target (item, row, page)
// does not exist. Mouse positions are in the window's client coordinates; each mouse gesture
// also moves the mouse (SetCursorPos) to the point, in screen coordinates, so that a popup menu
// opened "at the mouse" appears there.
//
// Resulting messages, in order:
//   ClickButton             WM_LBUTTONDOWN, WM_LBUTTONUP at the centre -> the button: an auto
//                           check box toggles (BM_SETCHECK), then WM_COMMAND
//                           MAKEWPARAM(id, BN_CLICKED), lParam = button, to its parent.
//                           A group box takes no clicks (refused).
//   ClickAt                 WM_LBUTTONDOWN, WM_LBUTTONUP at x, y.
//   DoubleClickAt           WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP.
//   RightClickAt            WM_RBUTTONDOWN then WM_RBUTTONUP at x, y (RightPress / RightRelease
//                           send one each, for gestures that do something in between).
//   TypeText                one WM_CHAR per character (a GBK double-byte character as one
//                           WM_CHAR whose wParam is lead << 8 | trail) -> an edit replaces its
//                           selection with the character (or deletes back for 8) and sends
//                           WM_COMMAND MAKEWPARAM(id, EN_CHANGE) to its parent. A read-only
//                           edit changes nothing and sends nothing (the messages still arrive).
//                           With replace_all the edit's whole text is selected first
//                           (EM_SETSEL 0, -1).
//   PasteText               EM_SETSEL 0, -1 when replace_all, then EM_REPLACESEL: one change,
//                           one EN_CHANGE; for the display, which edits whole texts.
//   PressKey                with the modifiers held down (GetKeyState, platform/keyboard.h):
//                           the key is first offered to the dialog keys of the window's
//                           top-level window (IsDialogMessageA: Tab, Shift+Tab, Escape); when
//                           taken, nothing more is sent. Otherwise WM_KEYDOWN vk, WM_CHAR ch
//                           (when ch != 0), WM_KEYUP vk; F10 and keys pressed with Alt come as
//                           WM_SYSKEYDOWN / WM_SYSKEYUP, as on Windows. Enter is
//                           PressKey(w, VK_RETURN, 13): a multi-line edit inserts CR LF, a
//                           single-line edit inserts nothing.
//   TurnWheel               WM_MOUSEWHEEL MAKEWPARAM(keys, delta) at x, y (lParam in screen
//                           coordinates), keys MK_SHIFT / MK_CONTROL for the modifiers held;
//                           WHEEL_DELTA (120) per notch, positive away from the user.
//   SelectComboItem         CB_SETCURSEL index, then WM_COMMAND MAKEWPARAM(id, CBN_SELCHANGE),
//                           lParam = combo box, to its parent.
//   ClickTreeItem           TVM_ENSUREVISIBLE, then a left click on the item's label: the tree
//                           view selects it (TVN_SELCHANGINGA / TVN_SELCHANGEDA) and sends
//                           NM_CLICK.
//   DoubleClickTreeItem     TVM_ENSUREVISIBLE, then DoubleClickAt on the item's label: the tree
//                           view selects it on the press and sends NM_DBLCLK to its parent
//                           on WM_LBUTTONDBLCLK.
//   RightPressTreeItem      TVM_ENSUREVISIBLE, then WM_RBUTTONDOWN on the item's label. The
//                           tree view itself does not change the selection on the right
//                           button; a subclass (the tree box) hit-tests and selects there.
//   RightReleaseTreeItem    WM_RBUTTONUP on the item's label: the tree view sends NM_RCLICK to
//                           its parent.
//   BeginLabelEdit          TVM_EDITLABELA item: refused unless TVS_EDITLABELS; the tree view
//                           sends TVN_BEGINLABELEDITA (a TRUE result cancels) and opens an edit
//                           child (TVM_GETEDITCONTROL) holding the item's text.
//   EndLabelEdit            the text is put into the edit child (WM_SETTEXT), then
//                           TVM_ENDEDITLABELNOW FALSE: TVN_ENDLABELEDITA with item.pszText =
//                           the typed text; a nonzero result stores it as the item's text.
//   CancelLabelEdit         TVM_ENDEDITLABELNOW TRUE: TVN_ENDLABELEDITA with item.pszText null;
//                           the item keeps its text.
//   ClickListRow            left click on the row: the list view selects it alone
//                           (LVN_ITEMCHANGED) and sends NM_CLICK.
//   DoubleClickListRow      DoubleClickAt on the row: selects it, then NM_DBLCLK
//                           (NMITEMACTIVATE, iItem = row) to its parent.
//   DragSplitter            WM_LBUTTONDOWN on the bar, WM_MOUSEMOVE, WM_LBUTTONUP at the new
//                           place: the splitter moves itself so that its left (top) edge is at
//                           new_pos in its parent's client coordinates, then sends WM_NOTIFY
//                           NMSPLITTER { SPN_MOVED, pos = new_pos } to its parent. A drag to
//                           where it already is sends nothing.
//   SelectTabPage           WM_NOTIFY TCN_SELCHANGING to the parent (a TRUE result refuses),
//                           TCM_SETCURSEL, WM_NOTIFY TCN_SELCHANGE.
//   ResizeWindow            (top-level, WS_THICKFRAME only; refused when maximised or
//                           minimised) MoveWindow to the new outer size at the same place:
//                           WM_SIZE SIZE_RESTORED.
//   MaximiseWindow          (WS_MAXIMIZEBOX only) WM_SYSCOMMAND SC_MAXIMIZE -> DefWindowProcA
//                           -> ShowWindow SW_MAXIMIZE: WM_SIZE SIZE_MAXIMIZED.
//   MinimiseWindow          (WS_MINIMIZEBOX only) WM_SYSCOMMAND SC_MINIMIZE: WM_SIZE
//                           SIZE_MINIMIZED with lParam 0.
//   RestoreWindow           WM_SYSCOMMAND SC_RESTORE: WM_SIZE SIZE_RESTORED (refused when the
//                           window is neither maximised nor minimised).
//   CloseByCloseBox         (top-level, WS_SYSMENU only; a disabled window, e.g. the owner of a
//                           modal window, is refused) WM_SYSCOMMAND SC_CLOSE -> DefWindowProcA
//                           -> WM_CLOSE -> DefWindowProcA destroys the window unless a subclass
//                           takes WM_CLOSE itself.
//   MoveMouse               SetCursorPos only.
#pragma once

#include <string>

#include "platform/commctrl.h"
#include "platform/win_types.h"

namespace kelmor::platform {

bool ClickButton(HWND button);
bool ClickAt(HWND window, int x, int y);
bool DoubleClickAt(HWND window, int x, int y);
bool RightClickAt(HWND window, int x, int y);
bool RightPressAt(HWND window, int x, int y);
bool RightReleaseAt(HWND window, int x, int y);

// Modifier keys held during a key or wheel gesture (bits).
inline constexpr UINT kShiftKey = 1;
inline constexpr UINT kControlKey = 2;
inline constexpr UINT kAltKey = 4;

// text is GBK.
bool TypeText(HWND edit, const std::string& text, bool replace_all = false);
bool PasteText(HWND edit, const std::string& text, bool replace_all = true);
bool PressKey(HWND window, WPARAM vk, WPARAM ch = 0, UINT modifiers = 0);
bool TurnWheel(HWND window, int x, int y, int delta, UINT modifiers = 0);

bool SelectComboItem(HWND combo, int index);

bool ClickTreeItem(HWND tree, HTREEITEM item);
bool DoubleClickTreeItem(HWND tree, HTREEITEM item);
bool RightPressTreeItem(HWND tree, HTREEITEM item);
bool RightReleaseTreeItem(HWND tree, HTREEITEM item);
bool BeginLabelEdit(HWND tree, HTREEITEM item);
bool EndLabelEdit(HWND tree, const std::string& typed_text);
bool CancelLabelEdit(HWND tree);

bool ClickListRow(HWND list, int row);
bool DoubleClickListRow(HWND list, int row);

bool DragSplitter(HWND splitter, int new_pos);
bool SelectTabPage(HWND tab, int index);

bool ResizeWindow(HWND window, int width, int height);
bool MaximiseWindow(HWND window);
bool MinimiseWindow(HWND window);
bool RestoreWindow(HWND window);
bool CloseByCloseBox(HWND window);

bool MoveMouse(int screen_x, int screen_y);

}  // namespace kelmor::platform
