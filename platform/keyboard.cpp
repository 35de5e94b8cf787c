#include "platform/keyboard.h"

#include <array>
#include <vector>

#include "platform/commctrl.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace kelmor::platform {
namespace {

std::array<bool, 256>& KeysDown() {
  static std::array<bool, 256> down{};
  return down;
}

bool Style(HWND hwnd, DWORD bits) {
  return (static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & bits) == bits;
}

// Every descendant of `root` in creation order, each window followed by its own children.
void Descendants(HWND root, std::vector<HWND>& out) {
  for (HWND child : ChildWindows(root)) {
    out.push_back(child);
    Descendants(child, out);
  }
}

bool IsTabStop(HWND root, HWND hwnd) {
  if (!Style(hwnd, WS_TABSTOP) || !IsWindowVisible(hwnd)) return false;
  for (HWND h = hwnd; h != 0 && h != root; h = GetParent(h)) {
    if (!IsWindowEnabled(h)) return false;
  }
  return true;
}

}  // namespace

SHORT GetKeyState(int nVirtKey) {
  if (nVirtKey < 0 || nVirtKey > 255) return 0;
  return KeysDown()[static_cast<std::size_t>(nVirtKey)] ? static_cast<SHORT>(-0x8000) : 0;
}

void SetKeyDown(WPARAM vk, bool down) {
  if (vk <= 255) KeysDown()[vk] = down;
}

HWND TopLevelOf(HWND hWnd) {
  HWND h = IsWindow(hWnd) ? hWnd : 0;
  while (h != 0 && Style(h, WS_CHILD)) h = GetParent(h);
  return h;
}

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  std::vector<HWND> order;
  Descendants(hDlg, order);
  const auto n = static_cast<long>(order.size());
  long at = -1;
  for (long i = 0; i < n; ++i) {
    if (order[static_cast<std::size_t>(i)] == hCtl) at = i;
  }
  const long step = bPrevious ? -1 : 1;
  long i = at >= 0 ? at : (bPrevious ? 0 : n - 1);
  for (long k = 0; k < n; ++k) {
    i = (i + step + n) % n;
    if (IsTabStop(hDlg, order[static_cast<std::size_t>(i)]))
      return order[static_cast<std::size_t>(i)];
  }
  return 0;
}

BOOL IsDialogMessageA(HWND hDlg, const MSG* lpMsg) {
  if (lpMsg == nullptr || lpMsg->message != WM_KEYDOWN || !IsWindow(hDlg)) return FALSE;
  if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
  const LRESULT code =
      SendMessageA(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg));
  if (code & DLGC_WANTALLKEYS) return FALSE;
  if (lpMsg->wParam == VK_TAB && !(code & DLGC_WANTTAB)) {
    const HWND next = GetNextDlgTabItem(hDlg, lpMsg->hwnd, GetKeyState(VK_SHIFT) < 0);
    if (next != 0) {
      SetFocus(next);
      if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageA(next, EM_SETSEL, 0, -1);
      }
    }
    return TRUE;
  }
  if (lpMsg->wParam == VK_ESCAPE) {
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 static_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
    return TRUE;
  }
  return FALSE;
}

}  // namespace kelmor::platform
