#include "platform/window.h"

#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <unordered_map>

#include "platform/cursor.h"
#include "platform/keyboard.h"
#include "platform/window_object.h"

namespace kelmor::platform {
namespace {

struct Registry {
  std::unordered_map<HWND, std::shared_ptr<WindowObject>> windows;
  std::vector<HWND> top_level;  // creation order
  HWND next_handle = 0x10000;
  HWND focus = 0;
  int screen_width = kScreenWidth;
  int screen_height = kScreenHeight;
  std::deque<MSG> queue;
  // Which subclass level each window's message currently runs at (innermost last).
  struct Frame {
    HWND hwnd;
    std::size_t level;
  };
  std::vector<Frame> frames;
};

Registry& Reg() {
  static Registry registry;
  return registry;
}

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::shared_ptr<WindowObject> MakePlain() {
  return std::make_shared<WindowObject>();
}

struct ClassEntry {
  const char* name;
  std::shared_ptr<WindowObject> (*make)();
};

const ClassEntry kClasses[] = {
    {WC_BUTTONA, MakeButton},         {WC_EDITA, MakeEdit},
    {WC_STATICA, MakeStatic},         {WC_COMBOBOXA, MakeComboBox},
    {WC_TABCONTROLA, MakeTabControl}, {WC_TREEVIEWA, MakeTreeView},
    {WC_LISTVIEWA, MakeListView},     {RICHEDIT_CLASSA, MakeRichEdit},
    {WC_DIALOG, MakePlain},           {FRAME_CLASSA, MakePlain},
    {CONTAINER_CLASSA, MakePlain},    {SPLITTER_CLASSA, MakeSplitter},
};

DWORD CurrentThread() {
  return static_cast<DWORD>(::syscall(SYS_gettid));
}

DWORD NowMs() {
  // <chrono> cannot be included under the CP936 execution character set.
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<DWORD>(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

LRESULT CallAtLevel(const std::shared_ptr<WindowObject>& obj, std::size_t level, UINT msg,
                    WPARAM wParam, LPARAM lParam) {
  Registry& reg = Reg();
  level = std::min(level, obj->subclasses.size());
  reg.frames.push_back({obj->hwnd, level});
  struct Pop {
    ~Pop() { Reg().frames.pop_back(); }
  } pop;
  if (level == 0) return obj->ClassProc(msg, wParam, lParam);
  const WindowObject::Subclass& current = obj->subclasses[level - 1];
  // Held for the call: the procedure may remove itself.
  const std::shared_ptr<const SUBCLASSPROC> proc = current.proc;
  const UINT_PTR id = current.id;
  const DWORD_PTR ref = current.ref;
  return (*proc)(obj->hwnd, msg, wParam, lParam, id, ref);
}

void CollectForDestroy(const std::shared_ptr<WindowObject>& obj,
                       std::vector<std::shared_ptr<WindowObject>>& out) {
  if (std::find(out.begin(), out.end(), obj) != out.end()) return;
  out.push_back(obj);
  for (HWND child : obj->children) {
    if (auto c = FindWindowObject(child)) CollectForDestroy(c, out);
  }
  for (HWND top : Reg().top_level) {
    auto t = FindWindowObject(top);
    if (t && t->owner == obj->hwnd) CollectForDestroy(t, out);
  }
}

POINT ClientOrigin(const WindowObject& obj) {
  POINT p;
  if (obj.IsTopLevel()) {
    p.x = obj.rect.left + kFrameBorder;
    p.y = obj.rect.top + kFrameBorder + kCaptionHeight;
    return p;
  }
  auto parent = FindWindowObject(obj.parent);
  if (parent) p = ClientOrigin(*parent);
  p.x += obj.rect.left;
  p.y += obj.rect.top;
  return p;
}

LPARAM ClientSizeParam(const WindowObject& obj) {
  return MAKELPARAM(static_cast<WORD>(obj.ClientWidth()), static_cast<WORD>(obj.ClientHeight()));
}

void SetRect(WindowObject& obj, int x, int y, int w, int h) {
  obj.rect.left = x;
  obj.rect.top = y;
  obj.rect.right = x + std::max(0, w);
  obj.rect.bottom = y + std::max(0, h);
}

bool Matches(const MSG& m, HWND hWnd, UINT lo, UINT hi) {
  if (hWnd != 0 && m.hwnd != hWnd) return false;
  if (lo == 0 && hi == 0) return true;
  return m.message >= lo && m.message <= hi;
}

bool TakeMessage(MSG* out, HWND hWnd, UINT lo, UINT hi, bool remove) {
  auto& q = Reg().queue;
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (!Matches(*it, hWnd, lo, hi)) continue;
    if (out) *out = *it;
    if (remove) q.erase(it);
    return true;
  }
  return false;
}

// Shift+F10 and the Menu key ask for the window's context menu, at no mouse position.
LRESULT ContextMenuKey(HWND hwnd) {
  SendMessageA(hwnd, WM_CONTEXTMENU, hwnd, -1);
  return 0;
}

// A child that shows no context menu of its own leaves it to its parent.
LRESULT PassContextMenuUp(const WindowObject& obj, WPARAM wParam, LPARAM lParam) {
  if (obj.IsTopLevel()) return 0;
  return SendMessageA(obj.parent, WM_CONTEXTMENU, wParam, lParam);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WindowObject

LRESULT WindowObject::ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WindowObject::ClientWidth() const {
  if (!IsTopLevel()) return Width();
  return std::max(0, Width() - 2 * kFrameBorder);
}

int WindowObject::ClientHeight() const {
  if (!IsTopLevel()) return Height();
  return std::max(0, Height() - 2 * kFrameBorder - kCaptionHeight);
}

void WindowObject::Changed(WindowChange change) const {
  if (Host* host = CurrentHost()) host->WindowChanged(hwnd, change);
}

HWND WindowObject::NotifyTarget() const {
  return parent != 0 ? parent : owner;
}

LRESULT WindowObject::NotifyParent(NMHDR& hdr, UINT code) const {
  hdr.hwndFrom = hwnd;
  hdr.idFrom = static_cast<UINT_PTR>(id);
  hdr.code = code;
  HWND target = NotifyTarget();
  if (target == 0) return 0;
  return SendMessageA(target, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&hdr));
}

LRESULT WindowObject::CommandParent(WORD code) const {
  HWND target = NotifyTarget();
  if (target == 0) return 0;
  return SendMessageA(target, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code),
                      static_cast<LPARAM>(hwnd));
}

std::shared_ptr<WindowObject> FindWindowObject(HWND hWnd) {
  if (hWnd == 0) return nullptr;
  auto& windows = Reg().windows;
  auto it = windows.find(hWnd);
  if (it == windows.end() || !it->second->alive) return nullptr;
  return it->second;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Creation and destruction

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                     int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                     HINSTANCE /*hInstance*/, void* /*lpParam*/) {
  if (lpClassName == nullptr) return 0;
  const std::string class_name = lpClassName;
  const ClassEntry* entry = nullptr;
  for (const ClassEntry& e : kClasses) {
    if (EqualsIgnoringCase(class_name, e.name)) entry = &e;
  }
  if (entry == nullptr) return 0;
  const bool child = (dwStyle & WS_CHILD) != 0;
  std::shared_ptr<WindowObject> parent_obj;
  if (child) {
    parent_obj = FindWindowObject(hWndParent);
    if (!parent_obj) return 0;
  } else if (hWndParent != 0 && !FindWindowObject(hWndParent)) {
    return 0;
  }
  std::shared_ptr<WindowObject> obj = entry->make();
  Registry& reg = Reg();
  obj->hwnd = reg.next_handle;
  reg.next_handle += 4;
  obj->class_name = entry->name;
  obj->style = dwStyle;
  obj->ex_style = dwExStyle;
  obj->text = lpWindowName ? lpWindowName : "";
  obj->thread_id = CurrentThread();
  if (child) {
    obj->parent = hWndParent;
    obj->id = static_cast<int>(hMenu);
  } else {
    obj->owner = hWndParent;
    if (X == CW_USEDEFAULT) X = Y = 0;
    if (nWidth == CW_USEDEFAULT) {
      nWidth = 400;
      nHeight = 300;
    }
  }
  SetRect(*obj, X, Y, nWidth, nHeight);
  obj->restore_rect = obj->rect;
  reg.windows.emplace(obj->hwnd, obj);
  if (child) {
    parent_obj->children.push_back(obj->hwnd);
  } else {
    reg.top_level.push_back(obj->hwnd);
  }
  obj->OnCreated();
  obj->Changed(WindowChange::Created);
  return obj->hwnd;
}

BOOL DestroyWindow(HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  if (!obj || obj->destroying) return FALSE;
  std::vector<std::shared_ptr<WindowObject>> doomed;
  CollectForDestroy(obj, doomed);
  for (auto& o : doomed) o->destroying = true;
  for (auto& o : doomed) {
    if (o->alive) SendMessageA(o->hwnd, WM_DESTROY, 0, 0);
  }
  Registry& reg = Reg();
  for (auto& o : doomed) {
    if (!o->alive) continue;
    o->alive = false;
    if (reg.focus == o->hwnd) reg.focus = 0;
    o->Changed(WindowChange::Destroyed);
  }
  for (auto& o : doomed) {
    reg.windows.erase(o->hwnd);
    reg.top_level.erase(std::remove(reg.top_level.begin(), reg.top_level.end(), o->hwnd),
                        reg.top_level.end());
    if (auto p = FindWindowObject(o->parent)) {
      p->children.erase(std::remove(p->children.begin(), p->children.end(), o->hwnd),
                        p->children.end());
    }
  }
  auto doomed_handle = [&](const MSG& m) {
    return std::any_of(doomed.begin(), doomed.end(),
                       [&](const auto& o) { return o->hwnd == m.hwnd; });
  };
  reg.queue.erase(std::remove_if(reg.queue.begin(), reg.queue.end(), doomed_handle),
                  reg.queue.end());
  return TRUE;
}

BOOL IsWindow(HWND hWnd) {
  return FindWindowObject(hWnd) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------
// Relations

HWND GetParent(HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return 0;
  return obj->IsTopLevel() ? obj->owner : obj->parent;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return 0;
  if (uCmd == GW_CHILD) return obj->children.empty() ? 0 : obj->children.front();
  if (uCmd == GW_OWNER) return obj->IsTopLevel() ? obj->owner : 0;
  const std::vector<HWND>* siblings = &Reg().top_level;
  std::shared_ptr<WindowObject> parent;
  if (!obj->IsTopLevel()) {
    parent = FindWindowObject(obj->parent);
    if (!parent) return 0;
    siblings = &parent->children;
  }
  auto it = std::find(siblings->begin(), siblings->end(), hWnd);
  if (it == siblings->end()) return 0;
  switch (uCmd) {
    case GW_HWNDFIRST:
      return siblings->front();
    case GW_HWNDLAST:
      return siblings->back();
    case GW_HWNDNEXT:
      return (it + 1 == siblings->end()) ? 0 : *(it + 1);
    case GW_HWNDPREV:
      return (it == siblings->begin()) ? 0 : *(it - 1);
    default:
      return 0;
  }
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  auto obj = FindWindowObject(hDlg);
  if (!obj) return 0;
  for (HWND child : obj->children) {
    auto c = FindWindowObject(child);
    if (c && c->id == nIDDlgItem) return child;
  }
  return 0;
}

int GetDlgCtrlID(HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  return (obj && !obj->IsTopLevel()) ? obj->id : 0;
}

BOOL IsChild(HWND hWndParent, HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  while (obj && !obj->IsTopLevel()) {
    if (obj->parent == hWndParent) return TRUE;
    obj = FindWindowObject(obj->parent);
  }
  return FALSE;
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
  auto obj = FindWindowObject(hWnd);
  if (!obj || lpClassName == nullptr || nMaxCount <= 0) return 0;
  const std::size_t n = std::min(obj->class_name.size(), static_cast<std::size_t>(nMaxCount - 1));
  std::memcpy(lpClassName, obj->class_name.data(), n);
  lpClassName[n] = '\0';
  return static_cast<int>(n);
}

DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* lpdwProcessId) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return 0;
  if (lpdwProcessId) *lpdwProcessId = static_cast<DWORD>(::getpid());
  return obj->thread_id;
}

std::vector<HWND> TopLevelWindows() {
  return Reg().top_level;
}

std::vector<HWND> ChildWindows(HWND hWndParent) {
  auto obj = FindWindowObject(hWndParent);
  return obj ? obj->children : std::vector<HWND>{};
}

// ---------------------------------------------------------------------------------------------
// Styles

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return 0;
  switch (nIndex) {
    case GWL_STYLE:
      return static_cast<LONG>(obj->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(obj->ex_style);
    case GWL_ID:
      return obj->id;
    case GWLP_USERDATA:
      return obj->user_data;
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return 0;
  const LONG_PTR old = GetWindowLongPtrA(hWnd, nIndex);
  switch (nIndex) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      DWORD& field = nIndex == GWL_STYLE ? obj->style : obj->ex_style;
      STYLESTRUCT change{field, static_cast<DWORD>(dwNewLong)};
      if (change.styleOld == change.styleNew) return old;
      field = change.styleNew;
      if (nIndex == GWL_STYLE) {
        if ((change.styleOld & WS_DISABLED) == 0 && (change.styleNew & WS_DISABLED) != 0 &&
            Reg().focus != 0 && (Reg().focus == hWnd || IsChild(hWnd, Reg().focus))) {
          SetFocus(0);
        }
        obj->OnStyleChanged(change.styleOld);
      }
      obj->Changed(WindowChange::Style);
      SendMessageA(hWnd, WM_STYLECHANGED, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(&change));
      return old;
    }
    case GWL_ID:
      obj->id = static_cast<int>(dwNewLong);
      return old;
    case GWLP_USERDATA:
      obj->user_data = dwNewLong;
      return old;
    default:
      return 0;
  }
}

LONG GetWindowLongA(HWND hWnd, int nIndex) {
  return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex));
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
  LONG_PTR value = dwNewLong;
  if (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE) {
    value = static_cast<LONG_PTR>(static_cast<DWORD>(dwNewLong));
  }
  return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, value));
}

// ---------------------------------------------------------------------------------------------
// Text

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (!IsWindow(hWnd)) return FALSE;
  return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : ""))
             ? TRUE
             : FALSE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (lpString == nullptr || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                       reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) {
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetAccessibleName(HWND hWnd, LPCSTR lpName) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return FALSE;
  std::string name = lpName ? lpName : "";
  if (name != obj->accessible_name) {
    obj->accessible_name = std::move(name);
    obj->Changed(WindowChange::Name);
  }
  return TRUE;
}

std::string GetAccessibleName(HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  return obj ? obj->accessible_name : std::string();
}

std::string GetWindowTextString(HWND hWnd) {
  if (!IsWindow(hWnd)) return {};
  // WM_GETTEXTLENGTH of a rich edit counts characters, so ask with room to spare and grow.
  std::size_t room = static_cast<std::size_t>(std::max(0, GetWindowTextLengthA(hWnd))) * 2 + 64;
  for (;;) {
    std::string buffer(room, '\0');
    const int n = GetWindowTextA(hWnd, buffer.data(), static_cast<int>(room));
    if (static_cast<std::size_t>(n) + 1 < room) {
      buffer.resize(static_cast<std::size_t>(std::max(0, n)));
      return buffer;
    }
    room *= 2;
  }
}

// ---------------------------------------------------------------------------------------------
// Geometry

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL /*bRepaint*/) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return FALSE;
  const RECT old = obj->rect;
  SetRect(*obj, X, Y, nWidth, nHeight);
  const RECT& now = obj->rect;
  const bool moved = old.left != now.left || old.top != now.top;
  const bool sized = (old.right - old.left) != (now.right - now.left) ||
                     (old.bottom - old.top) != (now.bottom - now.top);
  if (!moved && !sized) return TRUE;
  if ((obj->style & (WS_MAXIMIZE | WS_MINIMIZE)) == 0) obj->restore_rect = now;
  obj->Changed(WindowChange::Geometry);
  if (moved) {
    const POINT origin = obj->IsTopLevel() ? ClientOrigin(*obj) : POINT{now.left, now.top};
    SendMessageA(hWnd, WM_MOVE, 0,
                 MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
  }
  if (sized && IsWindow(hWnd)) {
    WPARAM kind = SIZE_RESTORED;
    if (obj->style & WS_MAXIMIZE) kind = SIZE_MAXIMIZED;
    SendMessageA(hWnd, WM_SIZE, kind, ClientSizeParam(*obj));
  }
  return TRUE;
}

BOOL GetWindowRect(HWND hWnd, RECT* lpRect) {
  auto obj = FindWindowObject(hWnd);
  if (!obj || lpRect == nullptr) return FALSE;
  if (obj->IsTopLevel()) {
    *lpRect = obj->rect;
    return TRUE;
  }
  POINT origin;
  if (auto parent = FindWindowObject(obj->parent)) origin = ClientOrigin(*parent);
  lpRect->left = obj->rect.left + origin.x;
  lpRect->top = obj->rect.top + origin.y;
  lpRect->right = obj->rect.right + origin.x;
  lpRect->bottom = obj->rect.bottom + origin.y;
  return TRUE;
}

BOOL GetClientRect(HWND hWnd, RECT* lpRect) {
  auto obj = FindWindowObject(hWnd);
  if (!obj || lpRect == nullptr) return FALSE;
  *lpRect = RECT{0, 0, obj->ClientWidth(), obj->ClientHeight()};
  return TRUE;
}

BOOL ClientToScreen(HWND hWnd, POINT* lpPoint) {
  auto obj = FindWindowObject(hWnd);
  if (!obj || lpPoint == nullptr) return FALSE;
  const POINT origin = ClientOrigin(*obj);
  lpPoint->x += origin.x;
  lpPoint->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hWnd, POINT* lpPoint) {
  auto obj = FindWindowObject(hWnd);
  if (!obj || lpPoint == nullptr) return FALSE;
  const POINT origin = ClientOrigin(*obj);
  lpPoint->x -= origin.x;
  lpPoint->y -= origin.y;
  return TRUE;
}

BOOL GetWindowPosition(HWND hWnd, RECT* lpRect) {
  auto obj = FindWindowObject(hWnd);
  if (!obj || lpRect == nullptr) return FALSE;
  *lpRect = obj->rect;
  return TRUE;
}

int GetSystemMetrics(int nIndex) {
  if (nIndex == SM_CXSCREEN) return Reg().screen_width;
  if (nIndex == SM_CYSCREEN) return Reg().screen_height;
  return 0;
}

void SetScreenSize(int width, int height) {
  Reg().screen_width = std::max(1, width);
  Reg().screen_height = std::max(1, height);
}

// ---------------------------------------------------------------------------------------------
// Show state, enabled state, focus

namespace {

enum class ShowTarget { Keep, Normal, Maximised, Minimised, Previous };

ShowTarget TargetOf(int command) {
  switch (command) {
    case SW_SHOWMAXIMIZED:
      return ShowTarget::Maximised;
    case SW_SHOWMINIMIZED:
      return ShowTarget::Minimised;
    case SW_MINIMIZE:
      return ShowTarget::Minimised;
    case SW_SHOWMINNOACTIVE:
      return ShowTarget::Minimised;
    case SW_SHOWNORMAL:
      return ShowTarget::Normal;
    case SW_RESTORE:
      return ShowTarget::Previous;
    default:
      return ShowTarget::Keep;
  }
}

// Only a top-level window changes its size state; restoring goes back from minimised to what
// the window was before, and from maximised to normal.
ShowTarget Resolve(const WindowObject& obj, ShowTarget target) {
  if (!obj.IsTopLevel()) return ShowTarget::Keep;
  if (target != ShowTarget::Previous) return target;
  if (obj.style & WS_MINIMIZE) {
    return obj.restore_to_maximized ? ShowTarget::Maximised : ShowTarget::Normal;
  }
  return (obj.style & WS_MAXIMIZE) ? ShowTarget::Normal : ShowTarget::Keep;
}

// Moves the window to the size state; gives the WM_SIZE kind when the state changed.
std::optional<WPARAM> ApplySizeState(WindowObject& obj, ShowTarget target) {
  const bool maximised = (obj.style & WS_MAXIMIZE) != 0;
  const bool minimised = (obj.style & WS_MINIMIZE) != 0;
  if (target == ShowTarget::Maximised && (!maximised || minimised)) {
    if (!maximised && !minimised) obj.restore_rect = obj.rect;
    obj.style = (obj.style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    SetRect(obj, 0, 0, Reg().screen_width, Reg().screen_height);
    return SIZE_MAXIMIZED;
  }
  if (target == ShowTarget::Minimised && !minimised) {
    if (!maximised) obj.restore_rect = obj.rect;
    obj.restore_to_maximized = maximised;
    obj.style = (obj.style | WS_MINIMIZE) & ~WS_MAXIMIZE;
    return SIZE_MINIMIZED;
  }
  if (target == ShowTarget::Normal && (maximised || minimised)) {
    obj.style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
    obj.restore_to_maximized = false;
    obj.rect = obj.restore_rect;
    return SIZE_RESTORED;
  }
  return std::nullopt;
}

// A hidden window cannot keep the focus, nor can its children.
void DropFocusWithin(HWND hWnd) {
  const HWND focus = Reg().focus;
  if (focus != 0 && (focus == hWnd || IsChild(hWnd, focus))) SetFocus(0);
}

}  // namespace

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return FALSE;
  const bool was_visible = (obj->style & WS_VISIBLE) != 0;
  const DWORD old_style = obj->style;
  if (nCmdShow == SW_HIDE) {
    obj->style &= ~WS_VISIBLE;
  } else {
    obj->style |= WS_VISIBLE;
  }
  const std::optional<WPARAM> size_kind = ApplySizeState(*obj, Resolve(*obj, TargetOf(nCmdShow)));
  const bool now_visible = (obj->style & WS_VISIBLE) != 0;
  if (!now_visible) DropFocusWithin(hWnd);
  if (obj->style != old_style) obj->Changed(WindowChange::Style);
  if (was_visible != now_visible) SendMessageA(hWnd, WM_SHOWWINDOW, now_visible ? TRUE : FALSE, 0);
  if (size_kind && IsWindow(hWnd)) {
    obj->Changed(WindowChange::Geometry);
    SendMessageA(hWnd, WM_SIZE, *size_kind,
                 *size_kind == SIZE_MINIMIZED ? 0 : ClientSizeParam(*obj));
  }
  return was_visible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  while (obj) {
    if ((obj->style & WS_VISIBLE) == 0) return FALSE;
    if (obj->IsTopLevel()) return TRUE;
    obj = FindWindowObject(obj->parent);
  }
  return FALSE;
}

BOOL IsZoomed(HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  return (obj && (obj->style & WS_MAXIMIZE)) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  return (obj && (obj->style & WS_MINIMIZE)) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return FALSE;
  const bool was_disabled = (obj->style & WS_DISABLED) != 0;
  if (was_disabled == !bEnable) return was_disabled ? TRUE : FALSE;
  if (bEnable) {
    obj->style &= ~WS_DISABLED;
  } else {
    obj->style |= WS_DISABLED;
    HWND focus = Reg().focus;
    if (focus != 0 && (focus == hWnd || IsChild(hWnd, focus))) SetFocus(0);
  }
  obj->Changed(WindowChange::Style);
  SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return was_disabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd) {
  auto obj = FindWindowObject(hWnd);
  return (obj && (obj->style & WS_DISABLED) == 0) ? TRUE : FALSE;
}

HWND SetFocus(HWND hWnd) {
  Registry& reg = Reg();
  const HWND old = reg.focus;
  if (hWnd != 0) {
    auto obj = FindWindowObject(hWnd);
    if (!obj || (obj->style & WS_DISABLED)) return 0;
  }
  if (hWnd == old) return old;
  reg.focus = hWnd;
  if (auto o = FindWindowObject(old)) {
    o->Changed(WindowChange::Focus);
    SendMessageA(old, WM_KILLFOCUS, hWnd, 0);
  }
  if (auto n = FindWindowObject(hWnd)) {
    n->Changed(WindowChange::Focus);
    SendMessageA(hWnd, WM_SETFOCUS, old, 0);
  }
  return IsWindow(old) ? old : 0;
}

HWND GetFocus() {
  return IsWindow(Reg().focus) ? Reg().focus : 0;
}

BOOL InvalidateRect(HWND hWnd, const RECT* /*lpRect*/, BOOL /*bErase*/) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return FALSE;
  obj->Changed(WindowChange::Content);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Window procedures

BOOL SetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass,
                       DWORD_PTR dwRefData) {
  auto obj = FindWindowObject(hWnd);
  if (!obj || !pfnSubclass) return FALSE;
  for (auto& sc : obj->subclasses) {
    if (sc.id == uIdSubclass) {
      sc.proc = std::make_shared<const SUBCLASSPROC>(std::move(pfnSubclass));
      sc.ref = dwRefData;
      return TRUE;
    }
  }
  obj->subclasses.push_back(
      {uIdSubclass, dwRefData, std::make_shared<const SUBCLASSPROC>(std::move(pfnSubclass))});
  return TRUE;
}

BOOL RemoveWindowSubclass(HWND hWnd, UINT_PTR uIdSubclass) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return FALSE;
  auto& v = obj->subclasses;
  auto it = std::find_if(v.begin(), v.end(), [&](const auto& sc) { return sc.id == uIdSubclass; });
  if (it == v.end()) return FALSE;
  v.erase(it);
  return TRUE;
}

LRESULT DefSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  Registry& reg = Reg();
  const auto found = reg.windows.find(hWnd);
  if (found == reg.windows.end() || !found->second) return 0;
  const std::shared_ptr<WindowObject> obj = found->second;
  auto& frames = reg.frames;
  std::size_t level = 0;
  for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
    if (it->hwnd == hWnd) {
      level = it->level;
      break;
    }
  }
  if (level == 0) return obj->ClassProc(uMsg, wParam, lParam);
  return CallAtLevel(obj, level - 1, uMsg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return 0;
  switch (Msg) {
    case WM_SETTEXT: {
      std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      if (text != obj->text) {
        obj->text = std::move(text);
        obj->Changed(WindowChange::Text);
      }
      return TRUE;
    }
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return 0;
      char* out = reinterpret_cast<char*>(lParam);
      const std::size_t n = std::min(obj->text.size(), static_cast<std::size_t>(wParam - 1));
      std::memcpy(out, obj->text.data(), n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(obj->text.size());
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MAXIMIZE:
          ShowWindow(hWnd, SW_MAXIMIZE);
          return 0;
        case SC_MINIMIZE:
          ShowWindow(hWnd, SW_MINIMIZE);
          return 0;
        case SC_RESTORE:
          ShowWindow(hWnd, SW_RESTORE);
          return 0;
        case SC_CLOSE:
          SendMessageA(hWnd, WM_CLOSE, 0, 0);
          return 0;
        default:
          return 0;
      }
    case WM_SETFONT:
      obj->font = static_cast<HFONT>(wParam);
      if (lParam) obj->Changed(WindowChange::Content);
      return 0;
    case WM_GETFONT:
      return static_cast<LRESULT>(obj->font);
    case WM_SETREDRAW:
      obj->redraw = wParam != 0;
      if (obj->redraw) obj->Changed(WindowChange::Content);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) return ContextMenuKey(hWnd);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_APPS) return ContextMenuKey(hWnd);
      return 0;
    case WM_CONTEXTMENU:
      return PassContextMenuUp(*obj, wParam, lParam);
    default:
      return 0;
  }
}

LRESULT CallWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return 0;
  return CallAtLevel(obj, 0, Msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto obj = FindWindowObject(hWnd);
  if (!obj) return 0;
  return CallAtLevel(obj, obj->subclasses.size(), Msg, wParam, lParam);
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd != 0 && !IsWindow(hWnd)) return FALSE;
  MSG m;
  m.hwnd = hWnd;
  m.message = Msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = NowMs();
  GetCursorPos(&m.pt);
  Reg().queue.push_back(m);
  return TRUE;
}

void PostQuitMessage(int nExitCode) {
  PostMessageA(0, WM_QUIT, static_cast<WPARAM>(static_cast<std::intptr_t>(nExitCode)), 0);
}

BOOL PeekMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (Host* host = CurrentHost()) host->ProcessEvents();
  return TakeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0)
             ? TRUE
             : FALSE;
}

DWORD GetQueueStatus(UINT flags) {
  if ((flags & QS_POSTMESSAGE) == 0 || Reg().queue.empty()) return 0;
  return (static_cast<DWORD>(QS_POSTMESSAGE) << 16) | QS_POSTMESSAGE;
}

BOOL GetMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  MSG local;
  MSG* out = lpMsg ? lpMsg : &local;
  for (;;) {
    if (TakeMessage(out, hWnd, wMsgFilterMin, wMsgFilterMax, true)) {
      return out->message == WM_QUIT ? 0 : 1;
    }
    Host* host = CurrentHost();
    if (host == nullptr) return -1;
    host->ProcessEvents();
    if (TakeMessage(nullptr, hWnd, wMsgFilterMin, wMsgFilterMax, false)) continue;
    host->WaitForEvents();
  }
}

BOOL TranslateMessage(const MSG* /*lpMsg*/) {
  return FALSE;
}

LRESULT DispatchMessageA(const MSG* lpMsg) {
  if (lpMsg == nullptr || lpMsg->hwnd == 0) return 0;
  return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

std::size_t QueuedMessageCount() {
  return Reg().queue.size();
}

std::size_t LiveWindowCount() {
  return Reg().windows.size();
}

}  // namespace kelmor::platform
