#include "platform/menu.h"

#include <string>
#include <unordered_map>

#include "platform/window.h"

namespace kelmor::platform {
namespace {

struct MenuItem {
  UINT flags = 0;
  UINT id = 0;
  std::string caption;
};

struct Menus {
  std::unordered_map<HMENU, std::vector<MenuItem>> menus;
  HMENU next = 0x20000;
};

Menus& Reg() {
  static Menus menus;
  return menus;
}

}  // namespace

HMENU CreatePopupMenu() {
  const HMENU h = Reg().next;
  Reg().next += 4;
  Reg().menus[h];
  return h;
}

BOOL DestroyMenu(HMENU hMenu) {
  return Reg().menus.erase(hMenu) ? TRUE : FALSE;
}

BOOL IsMenu(HMENU hMenu) {
  return Reg().menus.count(hMenu) ? TRUE : FALSE;
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  auto it = Reg().menus.find(hMenu);
  if (it == Reg().menus.end() || (uFlags & MF_POPUP)) return FALSE;
  MenuItem item;
  item.flags = uFlags;
  item.id = static_cast<UINT>(uIDNewItem);
  if (lpNewItem && !(uFlags & MF_SEPARATOR)) item.caption = lpNewItem;
  it->second.push_back(std::move(item));
  return TRUE;
}

int GetMenuItemCount(HMENU hMenu) {
  auto it = Reg().menus.find(hMenu);
  return it == Reg().menus.end() ? -1 : static_cast<int>(it->second.size());
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int /*nReserved*/, HWND hWnd,
                    const RECT* /*prcRect*/) {
  auto it = Reg().menus.find(hMenu);
  if (it == Reg().menus.end() || !IsWindow(hWnd)) return FALSE;
  // A copy: the menu may be destroyed while the host shows it.
  const std::vector<MenuItem> items = it->second;
  std::vector<PopupMenuItem> shown;
  for (const MenuItem& item : items) {
    if (item.flags & MF_SEPARATOR) continue;
    shown.push_back(
        PopupMenuItem{item.id, item.caption, (item.flags & (MF_GRAYED | MF_DISABLED)) == 0});
  }
  UINT chosen = 0;
  if (Host* host = CurrentHost()) chosen = host->TrackPopupMenu(shown, x, y, hWnd);
  bool known = false;
  for (const PopupMenuItem& item : shown) {
    if (chosen != 0 && item.id == chosen && item.enabled) known = true;
  }
  if (!known) chosen = 0;
  if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen == 0) return FALSE;
  if (!(uFlags & TPM_NONOTIFY)) {
    PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
  }
  return TRUE;
}

std::size_t LiveMenuCount() {
  return Reg().menus.size();
}

}  // namespace kelmor::platform
