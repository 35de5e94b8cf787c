#include "platform/user_input.h"

#include <cstring>

#include "platform/cursor.h"
#include "platform/gbk_chars.h"
#include "platform/keyboard.h"
#include "platform/window.h"
#include "platform/window_object.h"

namespace kelmor::platform {
namespace {

// Alive, visible and enabled, itself and every ancestor.
bool TakesInput(HWND hwnd) {
  if (!IsWindowVisible(hwnd)) return false;
  for (HWND h = hwnd; h != 0;) {
    auto obj = FindWindowObject(h);
    if (!obj) return false;
    if (obj->style & WS_DISABLED) return false;
    if (obj->IsTopLevel()) break;
    h = obj->parent;
  }
  return true;
}

bool OfClass(HWND hwnd, const char* class_name) {
  auto obj = FindWindowObject(hwnd);
  return obj && EqualsIgnoringCase(obj->class_name, class_name);
}

void Point(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  SetCursorPos(p.x, p.y);
}

LPARAM At(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

bool Mouse(HWND hwnd, int x, int y, std::initializer_list<UINT> messages) {
  if (!TakesInput(hwnd)) return false;
  Point(hwnd, x, y);
  for (UINT m : messages) {
    if (!IsWindow(hwnd)) break;
    const WPARAM keys = (m == WM_RBUTTONDOWN)                            ? MK_RBUTTON
                        : (m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK) ? MK_LBUTTON
                                                                         : 0;
    SendMessageA(hwnd, m, keys, At(x, y));
  }
  return true;
}

// The centre of a tree item's label after scrolling it into view; false when there is none.
bool TreeItemPoint(HWND tree, HTREEITEM item, int* x, int* y) {
  if (!OfClass(tree, WC_TREEVIEWA) || !TakesInput(tree)) return false;
  TVITEMA probe;
  probe.mask = TVIF_HANDLE;
  probe.hItem = item;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&probe))) return false;
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(item));
  RECT r;
  std::memcpy(static_cast<void*>(&r), &item, sizeof item);
  if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) return false;
  *x = (r.left + r.right) / 2;
  *y = (r.top + r.bottom) / 2;
  return true;
}

bool ListRowPoint(HWND list, int row, int* x, int* y) {
  if (!OfClass(list, WC_LISTVIEWA) || !TakesInput(list)) return false;
  const auto count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
  if (row < 0 || row >= count) return false;
  SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  // Find the row's place by hit testing down the client area.
  RECT client;
  GetClientRect(list, &client);
  for (int py = 0; py < client.bottom; py += 4) {
    LVHITTESTINFO info;
    info.pt = POINT{4, py};
    if (SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)) == row) {
      *x = 4;
      *y = py + 2;
      return true;
    }
  }
  return false;
}

// Holds the modifier keys down for one gesture.
class HeldModifiers {
 public:
  explicit HeldModifiers(UINT modifiers) : modifiers_(modifiers) { Set(true); }
  ~HeldModifiers() { Set(false); }
  HeldModifiers(const HeldModifiers&) = delete;
  HeldModifiers& operator=(const HeldModifiers&) = delete;

  WPARAM MouseKeys() const {
    return ((modifiers_ & kShiftKey) ? MK_SHIFT : 0) |
           ((modifiers_ & kControlKey) ? MK_CONTROL : 0);
  }

 private:
  void Set(bool down) const {
    if (modifiers_ & kShiftKey) SetKeyDown(VK_SHIFT, down);
    if (modifiers_ & kControlKey) SetKeyDown(VK_CONTROL, down);
    if (modifiers_ & kAltKey) SetKeyDown(VK_MENU, down);
  }
  UINT modifiers_;
};

bool TopLevelWith(HWND hwnd, DWORD needed) {
  auto obj = FindWindowObject(hwnd);
  return obj && obj->IsTopLevel() && (obj->style & needed) == needed && TakesInput(hwnd);
}

}  // namespace

bool ClickButton(HWND button) {
  auto obj = FindWindowObject(button);
  if (!obj || !OfClass(button, WC_BUTTONA) || (obj->style & BS_TYPEMASK) == BS_GROUPBOX) {
    return false;
  }
  return Mouse(button, obj->Width() / 2, obj->Height() / 2, {WM_LBUTTONDOWN, WM_LBUTTONUP});
}

bool ClickAt(HWND window, int x, int y) {
  return Mouse(window, x, y, {WM_LBUTTONDOWN, WM_LBUTTONUP});
}

bool DoubleClickAt(HWND window, int x, int y) {
  return Mouse(window, x, y, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
}

bool RightClickAt(HWND window, int x, int y) {
  return Mouse(window, x, y, {WM_RBUTTONDOWN, WM_RBUTTONUP});
}

bool RightPressAt(HWND window, int x, int y) {
  return Mouse(window, x, y, {WM_RBUTTONDOWN});
}

bool RightReleaseAt(HWND window, int x, int y) {
  return Mouse(window, x, y, {WM_RBUTTONUP});
}

bool TypeText(HWND edit, const std::string& text, bool replace_all) {
  if (!TakesInput(edit)) return false;
  if (replace_all) SendMessageA(edit, EM_SETSEL, 0, -1);
  for (GbkChar c : DecodeGbkChars(text)) {
    if (!IsWindow(edit)) break;
    SendMessageA(edit, WM_CHAR, c, 1);
  }
  return true;
}

bool PasteText(HWND edit, const std::string& text, bool replace_all) {
  if (!TakesInput(edit)) return false;
  auto obj = FindWindowObject(edit);
  if (obj->style & ES_READONLY) return false;
  if (replace_all) SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  return true;
}

bool PressKey(HWND window, WPARAM vk, WPARAM ch, UINT modifiers) {
  if (!TakesInput(window)) return false;
  HeldModifiers held(modifiers);
  MSG down;
  down.hwnd = window;
  down.message = WM_KEYDOWN;
  down.wParam = vk;
  down.lParam = 1;
  if (IsDialogMessageA(TopLevelOf(window), &down)) return true;
  const bool system = vk == VK_F10 || (modifiers & kAltKey);
  SendMessageA(window, system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1);
  if (ch != 0 && IsWindow(window)) SendMessageA(window, WM_CHAR, ch, 1);
  if (IsWindow(window)) {
    SendMessageA(window, system ? WM_SYSKEYUP : WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  }
  return true;
}

bool TurnWheel(HWND window, int x, int y, int delta, UINT modifiers) {
  if (!TakesInput(window)) return false;
  HeldModifiers held(modifiers);
  Point(window, x, y);
  POINT screen{x, y};
  ClientToScreen(window, &screen);
  SendMessageA(window, WM_MOUSEWHEEL,
               MAKEWPARAM(static_cast<WORD>(held.MouseKeys()), static_cast<WORD>(delta)),
               At(screen.x, screen.y));
  return true;
}

bool SelectComboItem(HWND combo, int index) {
  if (!OfClass(combo, WC_COMBOBOXA) || !TakesInput(combo)) return false;
  if (index < 0 || index >= SendMessageA(combo, CB_GETCOUNT, 0, 0)) return false;
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (auto obj = FindWindowObject(combo)) obj->CommandParent(CBN_SELCHANGE);
  return true;
}

bool ClickTreeItem(HWND tree, HTREEITEM item) {
  int x = 0, y = 0;
  return TreeItemPoint(tree, item, &x, &y) && ClickAt(tree, x, y);
}

bool DoubleClickTreeItem(HWND tree, HTREEITEM item) {
  int x = 0, y = 0;
  return TreeItemPoint(tree, item, &x, &y) && DoubleClickAt(tree, x, y);
}

bool RightPressTreeItem(HWND tree, HTREEITEM item) {
  int x = 0, y = 0;
  return TreeItemPoint(tree, item, &x, &y) && RightPressAt(tree, x, y);
}

bool RightReleaseTreeItem(HWND tree, HTREEITEM item) {
  int x = 0, y = 0;
  return TreeItemPoint(tree, item, &x, &y) && RightReleaseAt(tree, x, y);
}

bool BeginLabelEdit(HWND tree, HTREEITEM item) {
  if (!OfClass(tree, WC_TREEVIEWA) || !TakesInput(tree)) return false;
  return SendMessageA(tree, TVM_EDITLABELA, 0, static_cast<LPARAM>(item)) != 0;
}

bool EndLabelEdit(HWND tree, const std::string& typed_text) {
  if (!OfClass(tree, WC_TREEVIEWA)) return false;
  const HWND edit = static_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
  if (edit == 0) return false;
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed_text.c_str()));
  SendMessageA(tree, TVM_ENDEDITLABELNOW, FALSE, 0);
  return true;
}

bool CancelLabelEdit(HWND tree) {
  if (!OfClass(tree, WC_TREEVIEWA)) return false;
  if (SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0) == 0) return false;
  SendMessageA(tree, TVM_ENDEDITLABELNOW, TRUE, 0);
  return true;
}

bool ClickListRow(HWND list, int row) {
  int x = 0, y = 0;
  return ListRowPoint(list, row, &x, &y) && ClickAt(list, x, y);
}

bool DoubleClickListRow(HWND list, int row) {
  int x = 0, y = 0;
  return ListRowPoint(list, row, &x, &y) && DoubleClickAt(list, x, y);
}

bool DragSplitter(HWND splitter, int new_pos) {
  auto obj = FindWindowObject(splitter);
  if (!obj || !OfClass(splitter, SPLITTER_CLASSA) || !TakesInput(splitter)) return false;
  const bool horizontal = (obj->style & SPS_HORZ) != 0;
  const int grab_x = obj->Width() / 2;
  const int grab_y = obj->Height() / 2;
  const int delta = new_pos - (horizontal ? obj->rect.top : obj->rect.left);
  const int to_x = horizontal ? grab_x : grab_x + delta;
  const int to_y = horizontal ? grab_y + delta : grab_y;
  Point(splitter, grab_x, grab_y);
  SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, At(grab_x, grab_y));
  SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, At(to_x, to_y));
  SendMessageA(splitter, WM_LBUTTONUP, 0, At(to_x, to_y));
  return true;
}

bool SelectTabPage(HWND tab, int index) {
  auto obj = FindWindowObject(tab);
  if (!obj || !OfClass(tab, WC_TABCONTROLA) || !TakesInput(tab)) return false;
  if (index < 0 || index >= SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0)) return false;
  NMHDR changing;
  if (obj->NotifyParent(changing, TCN_SELCHANGING) != 0) return false;
  if (!IsWindow(tab)) return false;
  SendMessageA(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR changed;
  obj->NotifyParent(changed, TCN_SELCHANGE);
  return true;
}

bool ResizeWindow(HWND window, int width, int height) {
  if (!TopLevelWith(window, WS_THICKFRAME) || IsZoomed(window) || IsIconic(window)) return false;
  RECT r;
  GetWindowRect(window, &r);
  return MoveWindow(window, r.left, r.top, width, height, TRUE) != FALSE;
}

bool MaximiseWindow(HWND window) {
  if (!TopLevelWith(window, WS_MAXIMIZEBOX) || IsZoomed(window)) return false;
  SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  return true;
}

bool MinimiseWindow(HWND window) {
  if (!TopLevelWith(window, WS_MINIMIZEBOX) || IsIconic(window)) return false;
  SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  return true;
}

bool RestoreWindow(HWND window) {
  if (!TopLevelWith(window, 0) || (!IsZoomed(window) && !IsIconic(window))) return false;
  SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  return true;
}

bool CloseByCloseBox(HWND window) {
  if (!TopLevelWith(window, WS_SYSMENU)) return false;
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}

bool MoveMouse(int screen_x, int screen_y) {
  return SetCursorPos(screen_x, screen_y) != FALSE;
}

}  // namespace kelmor::platform
