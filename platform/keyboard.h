// The keyboard: which keys are held down, and the dialog keys every top-level window answers.
//
// Key state. The key gestures of platform/user_input.h hold their modifier keys down while they
// send a key, so a control reads Shift and Ctrl with GetKeyState while it handles the key, as
// on Windows.
//
// Dialog keys. Each top-level window navigates like a dialog: a key gesture first offers its
// WM_KEYDOWN to IsDialogMessageA of the window's top-level window. Tab and Shift+Tab move the
// focus to the next or previous tab stop (a control reached so that answers DLGC_HASSETSEL
// gets its whole text selected); Escape sends WM_COMMAND MAKEWPARAM(IDCANCEL, BN_CLICKED),
// lParam the IDCANCEL child (0 when there is none), to the top-level window. A control whose
// WM_GETDLGCODE answers DLGC_WANTALLKEYS keeps both keys, one answering DLGC_WANTTAB keeps Tab.
// Every other key (Enter too) goes to the control. A multi-line edit lets Tab and Escape go:
// no text of the book holds a tab, and Escape then closes the editor from any box.
#pragma once

#include <cstdint>

#include "platform/win_types.h"
#include "platform/winuser.h"

namespace kelmor::platform {

using SHORT = std::int16_t;

// Negative (high bit set) while the key is down; 0 when it is up.
SHORT GetKeyState(int nVirtKey);
// For the gestures: records a key as held down or released.
void SetKeyDown(WPARAM vk, bool down);

// The tab stops of a window are its descendants with WS_TABSTOP that are visible and enabled
// (themselves and every ancestor), in creation order, each container followed by its own
// children. Returns the tab stop after (bPrevious: before) hCtl, going round at the end; from
// hDlg itself, or a window not inside it, the first (last) one. 0 when there is none.
HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);

// The dialog keys above for a WM_KEYDOWN meant for hDlg or a window inside it; TRUE when the
// key was taken (nothing else is to be sent for it).
BOOL IsDialogMessageA(HWND hDlg, const MSG* lpMsg);

// The top-level window that holds hWnd (hWnd itself when it is one); 0 for a dead handle.
HWND TopLevelOf(HWND hWnd);

}  // namespace kelmor::platform
