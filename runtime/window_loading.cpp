// Loading and unloading windows: platform windows for every control of a template, the
// procedures that turn control notifications into the application's events, the modal and
// main loops.
#include <algorithm>
#include <cstring>

#include "platform/commctrl.h"
#include "platform/font.h"
#include "platform/image_list.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "runtime/window_registry.h"

namespace kelmor {
namespace detail {
namespace {

using namespace platform;

constexpr int kFirstControlId = 1000;
constexpr UINT_PTR kRouterSubclass = 0x4B52;  // "KR"
constexpr UINT_PTR kEditSubclass = 0x4B45;

// The page area of a tab control: below the row of tabs, inside a thin border.
constexpr int kTabHeaderHeight = 20;
constexpr int kTabBorder = 2;

void Remember(HWND hwnd, WindowId window, int control) {
  TheRegistry().by_hwnd[hwnd] = {window, control};
}

// Escape anywhere in the window (the dialog keys send IDCANCEL): the window's KeyPressed.
LRESULT EscapePressed(WindowState& window) {
  FireEvent(window.id, {}, Event::KeyPressed, static_cast<int>(VK_ESCAPE));
  return 0;
}

LRESULT KeyNotified(WindowState& window, const Text& source, const NMHDR& header) {
  const auto& key = reinterpret_cast<const NMKEYDOWN&>(header);
  FireEvent(window.id, source, Event::KeyPressed, key.wVKey);
  return 0;
}

// The middle of the tree's current item in screen coordinates (of its client area's corner
// when there is none).
POINT CurrentItemPoint(HWND tree) {
  const auto item = static_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  POINT p{0, 0};
  RECT r;
  std::memcpy(static_cast<void*>(&r), &item, sizeof item);
  if (item != 0 && SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) {
    p = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  ClientToScreen(tree, &p);
  return p;
}

// Shift+F10 or the Menu key on a tree box (WM_CONTEXTMENU at no mouse position).
std::optional<LRESULT> MenuKey(WindowState& window, HWND source, LPARAM lParam) {
  auto found = LookupHandle(source);
  if (lParam != -1 || !found || found->first != window.id || found->second < 0) return std::nullopt;
  const ControlTemplate& tpl = window.tpl.controls[found->second];
  if (tpl.kind != ControlKind::TreeBox) return std::nullopt;
  const Text name = tpl.name;
  TheRegistry().popup_anchor = CurrentItemPoint(source);
  FireEvent(window.id, name, Event::MenuKeyPressed, 0);
  TheRegistry().popup_anchor.reset();
  return 0;
}

LRESULT HandleCommand(WindowState& window, WPARAM wParam, LPARAM lParam) {
  const WORD code = HIWORD(wParam);
  if (lParam == 0 && LOWORD(wParam) == IDCANCEL) return EscapePressed(window);
  if (lParam == 0) {
    // A menu item chosen in a popup menu.
    const UINT id = LOWORD(wParam);
    for (const auto& [name, menu] : window.menus) {
      if (menu.id == id) {
        Text source = name;
        FireEvent(window.id, source, Event::Clicked, 0);
        break;
      }
    }
    return 0;
  }
  auto found = LookupHandle(static_cast<HWND>(lParam));
  if (!found || found->first != window.id || found->second < 0) return 0;
  const ControlTemplate& tpl = window.tpl.controls[found->second];
  if ((tpl.kind == ControlKind::Button || tpl.kind == ControlKind::CheckBox) &&
      code == BN_CLICKED) {
    Text source = tpl.name;
    FireEvent(window.id, source, Event::Clicked, 0);
  }
  if (tpl.kind == ControlKind::RichEdit && (code == EN_PRINTPAGE || code == EN_EXPORTPDF)) {
    Text source = tpl.name;
    FireEvent(window.id, source,
              code == EN_PRINTPAGE ? Event::PrintRequested : Event::PdfExportRequested, 0);
  }
  return 0;
}

std::optional<LRESULT> HandleNotify(WindowState& window, const NMHDR& header) {
  auto found = LookupHandle(header.hwndFrom);
  if (!found || found->first != window.id || found->second < 0) return std::nullopt;
  ControlState& control = window.controls[found->second];
  const ControlTemplate& tpl = window.Template(control);
  const Text source = tpl.name;
  switch (tpl.kind) {
    case ControlKind::TreeBox:
      if (header.code == NM_DBLCLK) {
        FireEvent(window.id, source, Event::DoubleClicked, 0);
        return 0;
      }
      if (header.code == TVN_KEYDOWN) return KeyNotified(window, source, header);
      return HandleTreeNotify(window, control, header);
    case ControlKind::ListView:
      if (header.code == NM_DBLCLK) {
        FireEvent(window.id, source, Event::DoubleClicked, 0);
        return 0;
      }
      if (header.code == LVN_KEYDOWN) return KeyNotified(window, source, header);
      return std::nullopt;
    case ControlKind::SplitterBar:
      if (header.code == SPN_MOVED) {
        const auto& moved = reinterpret_cast<const NMSPLITTER&>(header);
        FireEvent(window.id, source, Event::SplitterMoved, moved.pos);
        return 0;
      }
      return std::nullopt;
    case ControlKind::TabControl:
      if (header.code == TCN_SELCHANGE) {
        ShowTabPage(control);
        return 0;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// Installed on the window and on every container: notifications of the controls inside
// become events; the window's own size, close and private close message are handled here.
LRESULT RouterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
  WindowState* window = FindWindow(static_cast<WindowId>(ref));
  if (window == nullptr || !window->loaded) return DefSubclassProc(hwnd, msg, wParam, lParam);
  const bool is_frame = hwnd == window->hwnd;
  switch (msg) {
    case WM_COMMAND:
      return HandleCommand(*window, wParam, lParam);
    case WM_NOTIFY:
      if (lParam != 0) {
        if (auto result = HandleNotify(*window, *reinterpret_cast<const NMHDR*>(lParam))) {
          return *result;
        }
      }
      break;
    case WM_CONTEXTMENU:
      if (auto result = MenuKey(*window, static_cast<HWND>(wParam), lParam)) return *result;
      break;
    case WM_SIZE:
      if (is_frame) {
        LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
        if (window->size_events) FireEvent(window->id, {}, Event::SizeChanged, 0);
        return result;
      }
      break;
    case WM_CLOSE:
    case kCloseWindowMessage:
      if (is_frame) {
        // The application may keep the window for now (a command it runs still needs it).
        if (FireEvent(window->id, {}, Event::CloseRequested, 0).value_or(true)) {
          UnloadWindow(*window);
        }
        return 0;
      }
      break;
    case WM_DESTROY:
      if (is_frame && !window->unloading) {
        // Destroyed from outside (its owner went): forget it as if it had been unloaded.
        LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
        UnloadWindow(*window);
        return result;
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (msg == WM_KEYDOWN) {
    if (auto found = LookupHandle(hwnd)) {
      WindowState* window = FindWindow(found->first);
      if (window != nullptr && window->loaded && found->second >= 0) {
        Text source = window->tpl.controls[found->second].name;
        FireEvent(window->id, source, Event::KeyPressed, static_cast<int>(wParam));
        if (!IsWindow(hwnd)) return 0;
      }
    }
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void Route(WindowState& window, HWND hwnd) {
  SetWindowSubclass(hwnd, RouterProc, kRouterSubclass, static_cast<DWORD_PTR>(window.id));
}

DWORD FrameStyle(const WindowTemplate& tpl) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  if (tpl.close_box) style |= WS_SYSMENU;
  if (tpl.resizable) style |= WS_THICKFRAME;
  if (tpl.maximise_button) style |= WS_MAXIMIZEBOX;
  if (tpl.minimise_button) style |= WS_MINIMIZEBOX;
  return style;
}

HWND ParentFor(WindowState& window, const ControlTemplate& tpl) {
  if (tpl.parent.empty()) return window.hwnd;
  auto it = window.control_by_name.find(tpl.parent);
  if (it == window.control_by_name.end()) return window.hwnd;
  ControlState& parent = window.controls[it->second];
  if (parent.hwnd == 0) return window.hwnd;  // listed after its child: use the window
  if (window.Template(parent).kind == ControlKind::TabControl && !parent.pages.empty()) {
    const int page = std::clamp(tpl.tab_page, 0, static_cast<int>(parent.pages.size()) - 1);
    return parent.pages[page];
  }
  return parent.hwnd;
}

struct ClassAndStyle {
  const char* class_name;
  DWORD style;
  DWORD ex_style = 0;
};

ClassAndStyle ClassFor(const ControlTemplate& tpl) {
  switch (tpl.kind) {
    case ControlKind::EditBox: {
      DWORD style = WS_TABSTOP | ES_LEFT;
      if (tpl.edit.multi_line) {
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
      } else {
        style |= ES_AUTOHSCROLL;
      }
      if (tpl.edit.horizontal_scroll_bar) style |= WS_HSCROLL;
      if (tpl.edit.vertical_scroll_bar) style |= WS_VSCROLL;
      if (tpl.edit.read_only) style |= ES_READONLY;
      if (tpl.edit.password) style |= ES_PASSWORD;
      return {WC_EDITA, style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::PictureBox:
      return {CONTAINER_CLASSA, WS_CLIPCHILDREN};
    case ControlKind::GroupBox:
      return {WC_BUTTONA, BS_GROUPBOX};
    case ControlKind::Label:
      return {WC_STATICA, SS_LEFT};
    case ControlKind::Button:
      return {WC_BUTTONA, WS_TABSTOP | BS_PUSHBUTTON};
    case ControlKind::CheckBox:
      return {WC_BUTTONA, WS_TABSTOP | BS_AUTOCHECKBOX};
    case ControlKind::ComboBox:
      return {WC_COMBOBOXA, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    case ControlKind::TabControl: {
      // Without a caption there are no tabs to choose: the pages are the program's choice.
      const bool captions = std::any_of(tpl.tab_captions.begin(), tpl.tab_captions.end(),
                                        [](const Text& c) { return !c.empty(); });
      return {WC_TABCONTROLA, (captions ? WS_TABSTOP : 0) | WS_CLIPCHILDREN};
    }
    case ControlKind::TreeBox: {
      DWORD style = WS_TABSTOP;
      if (tpl.tree.lines) style |= TVS_HASLINES;
      if (tpl.tree.buttons) style |= TVS_HASBUTTONS;
      if (tpl.tree.lines_at_root) style |= TVS_LINESATROOT;
      if (tpl.tree.show_selection_always) style |= TVS_SHOWSELALWAYS;
      if (tpl.tree.label_editing) style |= TVS_EDITLABELS;
      if (tpl.tree.check_boxes) style |= TVS_CHECKBOXES;
      return {WC_TREEVIEWA, style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::ListView: {
      DWORD style = WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
      if (!tpl.list.show_header) style |= LVS_NOCOLUMNHEADER;
      return {WC_LISTVIEWA, style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::SplitterBar:
      return {SPLITTER_CLASSA, tpl.width > tpl.height ? SPS_HORZ : SPS_VERT};
    case ControlKind::RichEdit: {
      DWORD style = WS_TABSTOP | ES_MULTILINE;
      if (tpl.rich.read_only) style |= ES_READONLY;
      if (tpl.rich.vertical_scroll_bar) style |= WS_VSCROLL | ES_AUTOVSCROLL;
      if (!tpl.rich.word_wrap) style |= WS_HSCROLL | ES_AUTOHSCROLL;
      return {RICHEDIT_CLASSA, style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::Window:
    case ControlKind::Menu:
      break;
  }
  return {CONTAINER_CLASSA, 0};
}

void SetUpListView(ControlState& control, const ControlTemplate& tpl) {
  DWORD ex = 0;
  if (tpl.list.grid_lines) ex |= LVS_EX_GRIDLINES;
  if (tpl.list.full_row_select) ex |= LVS_EX_FULLROWSELECT;
  if (tpl.list.header_drag_drop) ex |= LVS_EX_HEADERDRAGDROP;
  SendMessageA(control.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP, ex);
  SendMessageA(control.hwnd, LVM_SETTEXTCOLOR, 0, tpl.list.text_colour);
  SendMessageA(control.hwnd, LVM_SETBKCOLOR, 0, tpl.list.background);
  SendMessageA(control.hwnd, LVM_SETTEXTBKCOLOR, 0, tpl.list.background);
  for (std::size_t i = 0; i < tpl.list.columns.size(); ++i) {
    Text caption = tpl.list.columns[i].caption;
    LVCOLUMNA column;
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = tpl.list.columns[i].width;
    column.pszText = caption.data();
    column.iSubItem = static_cast<int>(i);
    SendMessageA(control.hwnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void SetUpTabControl(WindowState& window, ControlState& control, const ControlTemplate& tpl) {
  for (int page = 0; page < tpl.tab_pages; ++page) {
    Text caption =
        static_cast<std::size_t>(page) < tpl.tab_captions.size() ? tpl.tab_captions[page] : Text();
    TCITEMA item;
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageA(control.hwnd, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&item));
    HWND container = CreateWindowExA(
        0, CONTAINER_CLASSA, "", WS_CHILD | WS_CLIPCHILDREN | (page == 0 ? WS_VISIBLE : 0),
        kTabBorder, kTabHeaderHeight, std::max(0, tpl.width - 2 * kTabBorder),
        std::max(0, tpl.height - kTabHeaderHeight - kTabBorder), control.hwnd, 0);
    control.pages.push_back(container);
    Remember(container, window.id, control.index);
    Route(window, container);
  }
  if (tpl.tab_pages > 0) SendMessageA(control.hwnd, TCM_SETCURSEL, 0, 0);
}

bool CreateControl(WindowState& window, ControlState& control) {
  const ControlTemplate& tpl = window.Template(control);
  const HWND parent = ParentFor(window, tpl);
  ClassAndStyle cs = ClassFor(tpl);
  DWORD style = WS_CHILD | cs.style;
  if (tpl.visible) style |= WS_VISIBLE;
  if (!tpl.enabled) style |= WS_DISABLED;
  control.hwnd = CreateWindowExA(cs.ex_style, cs.class_name, tpl.caption.c_str(), style, tpl.left,
                                 tpl.top, tpl.width, tpl.height, parent,
                                 static_cast<HMENU>(kFirstControlId + control.index));
  if (control.hwnd == 0) return false;
  Remember(control.hwnd, window.id, control.index);
  if (!tpl.accessible_name.empty()) SetAccessibleName(control.hwnd, tpl.accessible_name.c_str());
  control.rich_selection_start = 0;
  control.rich_selection_length = 0;
  switch (tpl.kind) {
    case ControlKind::EditBox:
      SetWindowSubclass(control.hwnd, EditProc, kEditSubclass, 0);
      break;
    case ControlKind::PictureBox:
    case ControlKind::GroupBox:
      Route(window, control.hwnd);
      break;
    case ControlKind::CheckBox:
      SendMessageA(control.hwnd, BM_SETCHECK, tpl.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::TabControl:
      Route(window, control.hwnd);
      SetUpTabControl(window, control, tpl);
      break;
    case ControlKind::TreeBox:
      SetUpTreeBox(window, control);
      break;
    case ControlKind::ListView:
      SetUpListView(control, tpl);
      break;
    case ControlKind::RichEdit:
      SendMessageA(control.hwnd, EM_SETBKGNDCOLOR, tpl.rich.system_background ? TRUE : FALSE,
                   0xFFFFFF);
      SendMessageA(control.hwnd, EM_SETTARGETDEVICE, 0, tpl.rich.word_wrap ? 0 : 1);
      break;
    default:
      break;
  }
  return true;
}

void ForgetHandles(WindowState& window) {
  auto& map = TheRegistry().by_hwnd;
  map.erase(window.hwnd);
  for (auto& control : window.controls) {
    map.erase(control.hwnd);
    for (HWND page : control.pages) map.erase(page);
    control.hwnd = 0;
    control.pages.clear();
    control.tree.reset();
  }
  window.hwnd = 0;
}

// Creates the frame and every control, hidden; false (and nothing left behind) on failure.
bool CreateWindowFromTemplate(WindowState& window, HWND owner, bool modal) {
  const WindowTemplate& tpl = window.tpl;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - tpl.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - tpl.height) / 2;
  window.hwnd = CreateWindowExA(modal ? WS_EX_DLGMODALFRAME : 0, FRAME_CLASSA, tpl.title.c_str(),
                                FrameStyle(tpl), x, y, tpl.width, tpl.height, owner, 0);
  if (window.hwnd == 0) return false;
  Remember(window.hwnd, window.id, -1);
  window.loaded = true;
  window.closing = false;
  window.size_events = false;
  ++window.generation;
  for (auto& [name, menu] : window.menus) {
    menu.visible = menu.item->visible;
    menu.enabled = menu.item->enabled;
  }
  Route(window, window.hwnd);
  for (auto& control : window.controls) {
    if (!CreateControl(window, control)) {
      HWND frame = window.hwnd;
      window.loaded = false;
      ForgetHandles(window);
      DestroyWindow(frame);
      return false;
    }
  }
  return true;
}

}  // namespace

void FocusFirstControl(HWND window) {
  const HWND focus = GetFocus();
  if (focus != 0 && (focus == window || IsChild(window, focus))) return;
  if (const HWND first = GetNextDlgTabItem(window, window, FALSE)) SetFocus(first);
}

void ShowTabPage(ControlState& control) {
  const LRESULT current = SendMessageA(control.hwnd, TCM_GETCURSEL, 0, 0);
  for (std::size_t i = 0; i < control.pages.size(); ++i) {
    ShowWindow(control.pages[i], static_cast<LRESULT>(i) == current ? SW_SHOW : SW_HIDE);
  }
}

void UnloadWindow(WindowState& window) {
  if (!window.loaded || window.unloading) return;
  window.unloading = true;
  FireEvent(window.id, {}, Event::Closing, 0);
  if (window.disabled_owner != 0) {
    EnableWindow(window.disabled_owner, TRUE);
    window.disabled_owner = 0;
  }
  const HWND frame = window.hwnd;
  window.loaded = false;
  window.closing = false;
  window.size_events = false;
  ForgetHandles(window);
  DestroyWindow(frame);
  for (HANDLE font : window.fonts) DeleteObject(font);
  for (HANDLE list : window.image_lists) ImageList_Destroy(list);
  window.fonts.clear();
  window.image_lists.clear();
  window.unloading = false;
}

}  // namespace detail

using namespace detail;

bool LoadWindow(WindowId id, std::optional<WindowId> parent, std::optional<bool> modal) {
  WindowState* window = FindWindow(id);
  if (window == nullptr) return false;
  platform::HWND owner = 0;
  if (parent) {
    WindowState* parent_window = FindWindow(*parent);
    if (parent_window == nullptr || !parent_window->loaded) return false;
    owner = parent_window->hwnd;
  }
  if (window->loaded) {
    platform::ShowWindow(window->hwnd, platform::SW_SHOW);
    return true;
  }
  const bool is_modal = modal.value_or(false);
  if (owner == 0 && is_modal) owner = DefaultOwner(id);
  const platform::HWND focus_before = platform::GetFocus();
  if (!CreateWindowFromTemplate(*window, owner, is_modal)) return false;
  const int generation = window->generation;
  auto still_loaded = [window, generation] {
    return window->loaded && window->generation == generation;
  };

  FireEvent(id, {}, Event::Created, 0);
  if (!still_loaded()) return true;
  FireEvent(id, {}, Event::SizeChanged, 0);
  if (!still_loaded()) return true;
  platform::ShowWindow(window->hwnd, platform::SW_SHOW);
  FocusFirstControl(window->hwnd);
  window->size_events = true;

  if (is_modal) {
    if (owner != 0 && platform::IsWindowEnabled(owner)) {
      platform::EnableWindow(owner, platform::FALSE);
      window->disabled_owner = owner;
    }
    const platform::HWND hwnd = window->hwnd;
    RunModalLoop(
        hwnd, [&] { return !still_loaded(); },
        [&] {
          if (still_loaded()) UnloadWindow(*window);
        });
    // The focus goes back where it was, unless the window's handlers put it somewhere.
    if (platform::GetFocus() == 0 && platform::IsWindow(focus_before)) {
      platform::SetFocus(focus_before);
    }
  }
  return true;
}

bool RunMainWindow(WindowId main) {
  if (!LoadWindow(main)) return false;
  WindowState* window = FindWindow(main);
  const int generation = window->generation;
  auto still_loaded = [window, generation] {
    return window->loaded && window->generation == generation;
  };
  while (still_loaded()) {
    platform::MSG msg;
    if (platform::PeekMessageA(&msg, 0, 0, 0, platform::PM_REMOVE)) {
      if (msg.message == platform::WM_QUIT) break;
      platform::DispatchMessageA(&msg);
      continue;
    }
    platform::Host* host = platform::CurrentHost();
    if (host == nullptr) break;
    host->WaitForEvents();
  }
  if (still_loaded()) UnloadWindow(*window);
  return true;
}

void CloseWindow(WindowId id) {
  WindowState* window = FindWindow(id);
  if (window == nullptr || !window->loaded) return;
  window->closing = true;
  platform::PostMessageA(window->hwnd, kCloseWindowMessage, 0, 0);
}

}  // namespace kelmor
