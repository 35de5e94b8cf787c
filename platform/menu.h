// Popup menus. A menu is built with CreatePopupMenu and AppendMenuA and shown with
// TrackPopupMenu, which asks the host (platform/host.h) to let the user choose.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/host.h"
#include "platform/win_types.h"
#include "platform/winuser.h"

namespace kelmor::platform {

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_SEPARATOR = 0x0800;

inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// Menu handles are opaque ids never reused while the process lives.
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);
// MF_STRING with an id and a GBK caption; MF_GRAYED / MF_DISABLED make it unchoosable;
// MF_SEPARATOR adds a separator (not shown to the host). MF_POPUP is not supported (FALSE).
BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
int GetMenuItemCount(HMENU hMenu);  // -1 for a dead menu

// Shows the menu at screen position x, y through Host::TrackPopupMenu (items in order, without
// separators). With TPM_RETURNCMD returns the chosen id (0 when dismissed) and sends nothing.
// Otherwise returns TRUE when an item was chosen and, unless TPM_NONOTIFY, posts WM_COMMAND
// (wParam MAKEWPARAM(id, 0), lParam 0) to hWnd, as Windows does. An id the menu does not hold,
// or a disabled item, counts as dismissed. FALSE for a dead menu or owner.
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd,
                    const RECT* prcRect);

// For tests: the number of live menus.
std::size_t LiveMenuCount();

}  // namespace kelmor::platform
