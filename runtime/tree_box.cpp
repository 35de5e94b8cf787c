// The tree box over a SysTreeView32.
//
// Items are addressed by pre-order index. Walking the tree by messages for every command would
// make the application's loops over all items quadratic, so the tree box keeps a mirror of the
// item structure (runtime/tree_box_state.h), built by exactly that walk and dropped whenever
// anyone else changes the structure (a subclass watches every insert, delete, sort, collapse
// with reset and children-flag change sent to the tree view). Its own appends update the
// mirror in place, so building a large tree item by item stays linear in practice.
#include "runtime/tree_box.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/commctrl.h"
#include "platform/cursor.h"
#include "platform/font.h"
#include "platform/image_list.h"
#include "platform/window.h"
#include "runtime/tree_box_state.h"
#include "runtime/tree_content.h"
#include "runtime/window_registry.h"

namespace kelmor {
namespace detail {

using platform::HTREEITEM;

namespace {

constexpr platform::UINT_PTR kTreeSubclass = 0x4B54;

// Messages that only read; every other one may change what a Content read returns.
bool OnlyReads(platform::UINT msg) {
  switch (msg) {
    case platform::TVM_GETITEMA:
    case platform::TVM_GETNEXTITEM:
    case platform::TVM_GETCOUNT:
    case platform::TVM_GETITEMRECT:
    case platform::TVM_GETINDENT:
    case platform::TVM_GETIMAGELIST:
    case platform::TVM_GETEDITCONTROL:
    case platform::TVM_GETVISIBLECOUNT:
    case platform::TVM_HITTEST:
    case platform::TVM_GETITEMHEIGHT:
    case platform::TVM_GETBKCOLOR:
    case platform::TVM_GETTEXTCOLOR:
    case platform::TVM_GETLINECOLOR:
    case platform::TVM_GETITEMSTATE:
      return true;
    default:
      return false;
  }
}

bool ChangesStructure(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) {
  switch (msg) {
    case platform::TVM_INSERTITEMA:
    case platform::TVM_DELETEITEM:
    case platform::TVM_SORTCHILDREN:
      return true;
    case platform::TVM_EXPAND:  // a collapse with reset deletes the item's children
      return (wParam & platform::TVE_COLLAPSERESET) != 0;
    case platform::TVM_SETITEMA:
      return lParam != 0 &&
             (reinterpret_cast<const platform::TVITEMA*>(lParam)->mask & platform::TVIF_CHILDREN);
    default:
      return false;
  }
}

platform::LRESULT TreeProc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam, std::weak_ptr<TreeBoxState> weak) {
  auto state = weak.lock();
  if (!state) return platform::DefSubclassProc(hwnd, msg, wParam, lParam);
  const bool own = state->TakeOwn(msg, wParam, lParam);
  // Someone else's structural change drops the mirror, before the message and again after it:
  // a notification sent while it runs may have rebuilt the mirror half-way.
  const bool foreign_structure = !own && ChangesStructure(msg, wParam, lParam);
  if (foreign_structure) state->Invalidate();
  const bool changes = !OnlyReads(msg);
  if (changes) {
    state->content_valid = false;
    if (!own) ++state->foreign_changes;
  }
  if (msg == platform::WM_RBUTTONDOWN) {
    // The right button makes the item under the mouse the current item before anything else.
    platform::TVHITTESTINFO hit;
    hit.pt.x = platform::GET_X_LPARAM(lParam);
    hit.pt.y = platform::GET_Y_LPARAM(lParam);
    platform::SendMessageA(hwnd, platform::TVM_HITTEST, 0,
                           reinterpret_cast<platform::LPARAM>(&hit));
    if ((hit.flags & platform::TVHT_ONITEM) != 0 && hit.hItem != 0) {
      platform::SendMessageA(hwnd, platform::TVM_SELECTITEM, platform::TVGN_CARET,
                             static_cast<platform::LPARAM>(hit.hItem));
    }
  }
  const platform::LRESULT result = platform::DefSubclassProc(hwnd, msg, wParam, lParam);
  if (foreign_structure) state->Invalidate();
  if (msg == platform::WM_RBUTTONUP) {
    if (auto found = LookupHandle(hwnd); found && found->second >= 0) {
      if (WindowState* window = FindWindow(found->first); window && window->loaded) {
        Text source = window->tpl.controls[found->second].name;
        FireEvent(window->id, source, Event::RightButtonReleased, 0);
      }
    }
  }
  // A change from elsewhere is checked at once; the tree box's own writes check when they end.
  if (kCheckTreeBoxState && changes && !own && !state->IsWriting()) state->CheckState();
  return result;
}

// A list of siblings that a Content write is filling: its level, its parent and the item
// inserted last (as handles and as nodes of the mirror).
struct Frame {
  std::int32_t level;
  HTREEITEM parent;
  HTREEITEM last;
  int parent_node;
  int last_node;
};

// The list that a record of `level` goes into: a smaller level ends lists back up to its own,
// a greater one starts the children of the item inserted last (one level down, whatever the
// gap), and the first record's level is that of the top-level list.
Frame& FrameOf(std::vector<Frame>& lists, std::int32_t level) {
  if (lists.empty()) lists.push_back({level, platform::TVI_ROOT, 0, -1, -1});
  while (level < lists.back().level && lists.size() > 1) lists.pop_back();
  const Frame& list = lists.back();
  if (level > list.level && list.last != 0) {
    lists.push_back({level, list.last, 0, list.last_node, -1});
  }
  return lists.back();
}

// Inserts one record as the last child of `parent`. Bold, expanded and the state image go in
// with the item, as a separate TVM_SETITEM of these state bits would set them.
HTREEITEM InsertRecord(TreeBoxState& state, const TreeContentRecord& record, HTREEITEM parent) {
  Text text = record.text;
  platform::TVINSERTSTRUCTA insert;
  insert.hParent = parent;
  insert.hInsertAfter = platform::TVI_LAST;
  insert.item.mask = kRecordMask;
  insert.item.pszText = text.data();
  insert.item.iImage = record.image;
  insert.item.iSelectedImage = record.selected_image;
  insert.item.lParam = record.data;
  insert.item.stateMask = kRecordStateMask;
  insert.item.state = FlagsToState(record.flags);
  return static_cast<HTREEITEM>(
      state.SendOwn(platform::TVM_INSERTITEMA, 0, reinterpret_cast<platform::LPARAM>(&insert)));
}

// The record as a Content read returns it once inserted: the text cut at the limit, the flags
// as the state bits keep them, the level from the item's depth.
TreeContentRecord AsRead(const TreeContentRecord& record, std::int32_t level) {
  TreeContentRecord back;
  back.text = record.text.substr(0, std::min(std::strlen(record.text.c_str()), kTreeTextLimit));
  back.image = record.image;
  back.selected_image = record.selected_image;
  back.data = record.data;
  back.flags = StateToFlags(FlagsToState(record.flags));
  back.level = level;
  return back;
}

// Whether the record reads back byte for byte as it was written at `level`: its text (which
// holds no zero byte, as parsed) within the limit, its flags all kept by the state bits, and its
// level the item's depth.
bool ReadsBackAsWritten(const TreeContentRecord& record, std::int32_t level) {
  return record.level == level && record.text.size() <= kTreeTextLimit &&
         StateToFlags(FlagsToState(record.flags)) == record.flags;
}

// Selecting an item expands every collapsed ancestor, which a read would show: a copy written
// along stays true only when all of them are expanded already.
bool SelectionKeepsCopy(const TreeBoxState& state, HTREEITEM selected) {
  if (selected == 0) return true;
  for (HTREEITEM up = state.Next(platform::TVGN_PARENT, selected); up != 0;
       up = state.Next(platform::TVGN_PARENT, up)) {
    platform::TVITEMA tv;
    tv.mask = platform::TVIF_STATE | platform::TVIF_HANDLE;
    tv.hItem = up;
    tv.stateMask = kAllItemStateBits;
    if (!state.Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv)) ||
        (tv.state & platform::TVIS_EXPANDED) == 0) {
      return false;
    }
  }
  return true;
}

TreeBoxState& StateOf(const Target& target) {
  return *target.control->tree;
}

Target Command(const ControlRef& ref) {
  Target t = ResolveKind(ref, Access::Command, ControlKind::TreeBox);
  t.control->tree->hwnd = t.hwnd;
  return t;
}

}  // namespace

void SetUpTreeBox(WindowState& window, ControlState& control) {
  const ControlTemplate& tpl = window.Template(control);
  auto state = std::make_shared<TreeBoxState>();
  state->hwnd = control.hwnd;
  control.tree = state;
  std::weak_ptr<TreeBoxState> weak = state;
  platform::SetWindowSubclass(
      control.hwnd,
      [weak](platform::HWND h, platform::UINT m, platform::WPARAM w, platform::LPARAM l,
             platform::UINT_PTR, platform::DWORD_PTR) { return TreeProc(h, m, w, l, weak); },
      kTreeSubclass, 0);
  state->Send(platform::TVM_SETTEXTCOLOR, 0, tpl.tree.text_colour);
  state->Send(platform::TVM_SETBKCOLOR, 0, tpl.tree.background);
  if (!tpl.tree.font.name.empty() || tpl.tree.font.char_height > 0) {
    platform::HFONT font =
        platform::CreateFontA(-tpl.tree.font.char_height, 0, 0, 0, platform::FW_NORMAL, 0, 0, 0,
                              static_cast<platform::DWORD>(tpl.tree.font.charset), 0, 0, 0, 0,
                              tpl.tree.font.name.c_str());
    window.fonts.push_back(font);
    state->Send(platform::WM_SETFONT, font, platform::TRUE);
  }
  if (tpl.tree.image_count > 0) {
    platform::HIMAGELIST images = platform::ImageList_Create(
        tpl.tree.image_width, tpl.tree.image_height, platform::ILC_COLOR24 | platform::ILC_MASK,
        tpl.tree.image_count, 0);
    window.image_lists.push_back(images);
    state->Send(platform::TVM_SETIMAGELIST, platform::TVSIL_NORMAL,
                static_cast<platform::LPARAM>(images));
  }
  state->item_height = state->Send(platform::TVM_GETITEMHEIGHT, 0, 0);
}

std::optional<platform::LRESULT> HandleTreeNotify(WindowState& window, ControlState& control,
                                                  const platform::NMHDR& header) {
  if (header.code != platform::TVN_ENDLABELEDITA || !control.tree) return std::nullopt;
  std::shared_ptr<TreeBoxState> state = control.tree;
  const auto& info = reinterpret_cast<const platform::NMTVDISPINFOA&>(header);
  const bool typed = info.item.pszText != nullptr;
  const int index = state->IndexOf(info.item.hItem);
  if (index < 0) return typed ? platform::TRUE : platform::FALSE;
  state->edited_label = typed ? Text(info.item.pszText) : state->ItemText(info.item.hItem);
  const Text source = window.Template(control).name;
  const std::optional<bool> accept = FireEvent(window.id, source, Event::LabelEditFinished, index);
  state->edited_label.clear();
  if (!typed) return platform::FALSE;
  return accept.has_value() && !*accept ? platform::FALSE : platform::TRUE;
}

}  // namespace detail

using detail::Access;
using detail::ResolveKind;
using detail::Target;
using detail::TreeBoxState;
using platform::HTREEITEM;

void SetTreeLabelEditing(const ControlRef& tree, bool allowed) {
  Target t = ResolveKind(tree, Access::WriteOwnProperty, ControlKind::TreeBox);
  TreeBoxState::Writing writing(detail::StateOf(t));
  auto style = static_cast<platform::DWORD>(platform::GetWindowLongA(t.hwnd, platform::GWL_STYLE));
  style = allowed ? style | platform::TVS_EDITLABELS : style & ~platform::TVS_EDITLABELS;
  platform::SetWindowLongA(t.hwnd, platform::GWL_STYLE, static_cast<platform::LONG>(style));
}

int GetCurrentItem(const ControlRef& tree) {
  Target t = ResolveKind(tree, Access::ReadProperty, ControlKind::TreeBox);
  TreeBoxState& state = detail::StateOf(t);
  return state.IndexOf(state.Next(platform::TVGN_CARET, 0));
}

void SetCurrentItem(const ControlRef& tree, int index) {
  Target t = ResolveKind(tree, Access::WriteOwnProperty, ControlKind::TreeBox);
  TreeBoxState& state = detail::StateOf(t);
  TreeBoxState::Writing writing(state);
  state.last_current_item = index;
  state.Send(platform::TVM_SELECTITEM, platform::TVGN_CARET,
             static_cast<platform::LPARAM>(state.ItemAt(index)));
}

Bytes GetTreeContent(const ControlRef& tree) {
  Target t = ResolveKind(tree, Access::ReadProperty, ControlKind::TreeBox);
  TreeBoxState& state = detail::StateOf(t);
  if (state.content_valid) return state.content;
  state.EnsureOrder();
  Bytes content;
  for (HTREEITEM item : state.preorder) {
    const int level = state.nodes[state.node_of.find(item)].depth + 1;
    AppendTreeContentRecord(content, state.ReadRecord(item, level));
  }
  return content;
}

void SetTreeContent(const ControlRef& tree, const Bytes& content) {
  Target t = ResolveKind(tree, Access::WriteOwnProperty, ControlKind::TreeBox);
  TreeBoxState& state = detail::StateOf(t);
  TreeBoxState::Writing writing(state);
  // Read one record at a time: a list of them all would be one more copy of the whole tree.
  TreeContentReader reader(content);

  state.SendOwn(platform::WM_SETREDRAW, platform::FALSE, 0);
  state.SendOwn(platform::TVM_DELETEITEM, 0, static_cast<platform::LPARAM>(platform::TVI_ROOT));
  // The mirror is built along with the items instead of by a walk afterwards: the records come
  // in pre-order and each becomes the last child of its parent, so the order of insertion is
  // the tree's pre-order. Anyone else changing the structure meanwhile drops it (the subclass).
  state.ResetMirror(reader.MostRemaining());
  // So is the read-back: each item as a read would return it. Any message from elsewhere
  // meanwhile, or an item refused, leaves no copy.
  const std::uint64_t foreign_before = state.foreign_changes;
  bool keep_copy = true;
  // While every record reads back as written, the copy is the start of the content itself and
  // is taken in one piece at the end; from the first one that does not, it is built record by
  // record.
  std::size_t same_bytes = 0;
  bool same = true;
  Bytes copy;

  std::vector<detail::Frame> lists;
  std::vector<HTREEITEM> to_expand;
  TreeContentRecord record;
  while (reader.Next(record)) {
    detail::Frame& list = detail::FrameOf(lists, record.level);
    const HTREEITEM item = detail::InsertRecord(state, record, list.parent);
    if (item == 0) {
      keep_copy = false;
      continue;
    }
    list.last = item;
    if (state.model_valid) {
      list.last_node = state.AddNode(item, list.parent_node);
      state.preorder.push_back(item);
      if (keep_copy) {
        const std::int32_t level = state.nodes[list.last_node].depth + 1;
        if (same && detail::ReadsBackAsWritten(record, level)) {
          same_bytes += record.text.size() + 1 + kTreeContentNumbersSize;
        } else {
          if (same) {
            copy.reserve(content.size());
            copy.assign(content.begin(), content.begin() + same_bytes);
            same = false;
          }
          AppendTreeContentRecord(copy, detail::AsRead(record, level));
        }
      }
    } else {
      keep_copy = false;
    }
    if (record.flags & kTreeFlagExpanded) to_expand.push_back(item);
  }
  if (state.model_valid) state.FinishMirror();
  if (keep_copy && same) copy.assign(content.begin(), content.begin() + same_bytes);

  for (HTREEITEM item : to_expand) {
    state.SendOwn(platform::TVM_EXPAND, platform::TVE_EXPAND, static_cast<platform::LPARAM>(item));
  }
  state.SendOwn(platform::TVM_SETITEMHEIGHT, static_cast<platform::WPARAM>(state.item_height), 0);
  state.SendOwn(platform::WM_SETREDRAW, platform::TRUE, 0);
  const HTREEITEM selected = state.ItemAt(state.last_current_item);
  keep_copy = keep_copy && detail::SelectionKeepsCopy(state, selected);
  state.SendOwn(platform::TVM_SELECTITEM, platform::TVGN_CARET,
                static_cast<platform::LPARAM>(selected));
  if (keep_copy && state.foreign_changes == foreign_before) {
    state.content = std::move(copy);
    state.content_valid = true;
  }
}

Text GetEditedLabel(const ControlRef& tree) {
  Target t = ResolveKind(tree, Access::ReadProperty, ControlKind::TreeBox);
  return detail::StateOf(t).edited_label;
}

int GetTreeItemCount(const ControlRef& tree) {
  Target t = detail::Command(tree);
  return static_cast<int>(detail::StateOf(t).Send(platform::TVM_GETCOUNT, 0, 0));
}

int AddTreeItem(const ControlRef& tree, std::optional<int> parent, const Text& text,
                std::optional<int> image, std::optional<int> selected_image,
                std::optional<int> data, std::optional<bool> bold, std::optional<int> state_image) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  TreeBoxState::Writing writing(state);
  const HTREEITEM parent_item = parent ? state.ItemAt(*parent) : 0;

  Text label = text;
  platform::TVINSERTSTRUCTA insert;
  insert.hParent = parent_item != 0 ? parent_item : platform::TVI_ROOT;
  insert.hInsertAfter = platform::TVI_LAST;
  insert.item.mask = platform::TVIF_TEXT | platform::TVIF_IMAGE | platform::TVIF_PARAM |
                     platform::TVIF_SELECTEDIMAGE;
  insert.item.pszText = label.data();
  insert.item.iImage = image && *image >= 0 ? *image : 0;
  insert.item.iSelectedImage =
      selected_image && *selected_image >= 0 ? *selected_image : insert.item.iImage;
  insert.item.lParam = data.value_or(0);
  if (bold || state_image) {
    insert.item.mask |= platform::TVIF_STATE;
    insert.item.stateMask = platform::TVIS_STATEIMAGEMASK | platform::TVIS_BOLD;
    insert.item.state =
        (bold.value_or(false) ? platform::TVIS_BOLD : 0u) |
        (state_image
             ? platform::INDEXTOSTATEIMAGEMASK(static_cast<platform::UINT>(*state_image + 1))
             : 0u);
  }

  // Keep the mirror up to date across our own append when it is complete before it.
  state.EnsureModel();
  const int parent_node = parent_item != 0 ? state.node_of.find(parent_item) : -1;
  const auto item = static_cast<HTREEITEM>(
      state.SendOwn(platform::TVM_INSERTITEMA, 0, reinterpret_cast<platform::LPARAM>(&insert)));
  if (item == 0) return -1;
  if (!state.model_valid) return state.IndexOf(item);

  const int index = parent_node < 0
                        ? static_cast<int>(state.nodes.size())
                        : state.IndexOfNode(parent_node) + state.nodes[parent_node].size;
  const bool at_end = index == static_cast<int>(state.nodes.size());
  state.AddNode(item, parent_node);
  for (int p = parent_node; p >= 0; p = state.nodes[p].parent) state.nodes[p].size += 1;
  if (!at_end) state.ids_in_preorder = false;
  if (state.order_valid && at_end) {
    state.index_of.emplace(item, index);
    state.preorder.push_back(item);
  } else {
    state.order_valid = false;
  }
  return index;
}

bool SetTreeItemImage(const ControlRef& tree, int index, int image) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  TreeBoxState::Writing writing(state);
  const HTREEITEM item = state.ItemAt(index);
  if (item == 0) return false;
  platform::TVITEMA tv;
  tv.mask = platform::TVIF_IMAGE | platform::TVIF_SELECTEDIMAGE | platform::TVIF_HANDLE;
  tv.hItem = item;
  if (!state.Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv))) {
    return false;
  }
  tv.mask = platform::TVIF_IMAGE | platform::TVIF_SELECTEDIMAGE;
  tv.iImage = image;
  return state.Send(platform::TVM_SETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv)) != 0;
}

Text GetTreeItemText(const ControlRef& tree, int index) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  const HTREEITEM item = state.ItemAt(index);
  return item == 0 ? Text() : state.ItemText(item);
}

bool SetTreeItemText(const ControlRef& tree, int index, const Text& text) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  TreeBoxState::Writing writing(state);
  const HTREEITEM item = state.ItemAt(index);
  if (item == 0) return false;
  Text label = text;
  platform::TVITEMA tv;
  tv.mask = platform::TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = label.data();
  return state.Send(platform::TVM_SETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv)) != 0;
}

int EnsureItemVisible(const ControlRef& tree, int index) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  TreeBoxState::Writing writing(state);  // it may expand ancestors
  const HTREEITEM item = state.ItemAt(index);
  if (item == 0) return 0;
  return static_cast<int>(
      state.Send(platform::TVM_ENSUREVISIBLE, 0, static_cast<platform::LPARAM>(item)));
}

int GetParentItem(const ControlRef& tree, int index) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  const HTREEITEM item = state.ItemAt(index);
  if (item == 0) return -1;
  return state.IndexOf(state.Next(platform::TVGN_PARENT, item));
}

bool HasChildItems(const ControlRef& tree, int index) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  const HTREEITEM item = state.ItemAt(index);
  if (item == 0) return false;
  platform::TVITEMA tv;
  tv.mask = platform::TVIF_CHILDREN;
  tv.hItem = item;
  if (!state.Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv))) {
    return false;
  }
  return tv.cChildren != 0;
}

int TreeItemAtMouse(const ControlRef& tree) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  platform::TVHITTESTINFO hit;
  if (!platform::GetCursorPos(&hit.pt) || !platform::ScreenToClient(t.hwnd, &hit.pt)) return -1;
  state.Send(platform::TVM_HITTEST, 0, reinterpret_cast<platform::LPARAM>(&hit));
  // The row as a left click selects it: the label, its images and the space right of it.
  if ((hit.flags & (platform::TVHT_ONITEM | platform::TVHT_ONITEMRIGHT)) == 0) return -1;
  return state.IndexOf(hit.hItem);
}

platform::HANDLE TreeItemHandle(const ControlRef& tree, int index) {
  Target t = detail::Command(tree);
  return detail::StateOf(t).ItemAt(index);
}

int TreeItemIndex(const ControlRef& tree, platform::HANDLE item) {
  Target t = detail::Command(tree);
  return detail::StateOf(t).IndexOf(item);
}

std::string TreeBoxStateDisagreement(const ControlRef& tree) {
  Target t = detail::Command(tree);
  return detail::StateOf(t).Disagreement();
}

}  // namespace kelmor
