// Cursors and the mouse position. The cursor shown is process-wide; every change is reported to
// Host::CursorChanged so that the display can show it.
#pragma once

#include "platform/win_types.h"
#include "platform/winuser.h"

namespace kelmor::platform {

// System cursor names for LoadCursorA(0, ...): small integers passed as the name pointer, as
// Windows does (MAKEINTRESOURCE).
inline const LPCSTR IDC_ARROW = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32512));
inline const LPCSTR IDC_IBEAM = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32513));
inline const LPCSTR IDC_WAIT = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32514));
inline const LPCSTR IDC_CROSS = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32515));
inline const LPCSTR IDC_SIZEWE = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32644));
inline const LPCSTR IDC_SIZENS = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32645));
inline const LPCSTR IDC_HAND = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(32649));

// The handle of a system cursor is its id (32512 ... ), so the display can tell which it is.
// Only system cursors exist: hInstance must be 0; an unknown name gives 0.
HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);

// Shows the cursor (0 hides it) and returns the one shown before. At start the arrow is shown.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();

// The mouse position in screen coordinates. The display (or a test driver) moves it with
// SetCursorPos when the user moves the mouse; the program moves it too, so it reports the
// unchanged position to Host::CursorChanged as well (that is how a cursor is refreshed).
BOOL GetCursorPos(POINT* lpPoint);
BOOL SetCursorPos(int X, int Y);

}  // namespace kelmor::platform
