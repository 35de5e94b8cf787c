// The tree box over a SysTreeView32.
//
// Items are addressed by pre-order index. Walking the tree by messages for every command would
// make the application's loops over all items quadratic, so the tree box keeps a mirror of the
// item structure, built by exactly that walk and dropped whenever anyone changes the structure
// (a subclass watches every insert, delete, sort and children-flag change sent to the tree
// view). Its own appends update the mirror in place, so building a large tree item by item
// stays linear in practice.
#include "runtime/tree_box.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/commctrl.h"
#include "platform/font.h"
#include "platform/image_list.h"
#include "platform/window.h"
#include "runtime/tree_content.h"
#include "runtime/window_registry.h"

namespace kelmor {
namespace detail {

using platform::HTREEITEM;

// Node id by item handle. The tree view hands out consecutive handles, so the items of one
// Content write or walk mostly form one run: those are found by subtraction, the rest in a map.
class HandleIndex {
 public:
  void clear() {
    base_ = 0;
    run_ = 0;
    others_.clear();
  }
  void reserve(std::size_t n) { others_.reserve(std::min<std::size_t>(n, 64)); }
  void emplace(HTREEITEM handle, int id) {
    if (find(handle) >= 0) return;
    if (others_.empty() && id >= 0 && static_cast<std::size_t>(id) == run_ &&
        (run_ == 0 || handle == base_ + run_)) {
      if (run_ == 0) base_ = handle;
      ++run_;
      return;
    }
    others_.emplace(handle, id);
  }
  // -1 when the handle is not indexed.
  int find(HTREEITEM handle) const {
    if (run_ > 0 && handle >= base_ && handle - base_ < run_) {
      return static_cast<int>(handle - base_);
    }
    auto it = others_.find(handle);
    return it == others_.end() ? -1 : it->second;
  }

 private:
  HTREEITEM base_ = 0;
  std::size_t run_ = 0;  // ids 0 .. run_-1 have the handles base_ .. base_+run_-1
  std::unordered_map<HTREEITEM, int> others_;
};

struct TreeBoxState {
  platform::HWND hwnd = 0;
  int last_current_item = -1;  // the index written last to CurrentItem
  Text edited_label;           // property 21 while LabelEditFinished runs
  platform::LRESULT item_height = -1;
  int own_changes = 0;  // structural messages of our own in flight: the mirror is kept up

  struct Node {
    HTREEITEM handle = 0;
    int parent = -1;
    int depth = 0;
    int size = 1;  // the node and everything below it
    std::vector<int> children;
  };
  bool model_valid = false;
  // Node ids are the pre-order indices (true after a walk or a Content write, and kept by
  // appends at the end): then no index map is needed.
  bool ids_in_preorder = false;
  std::vector<Node> nodes;
  std::vector<int> roots;
  HandleIndex node_of;

  bool order_valid = false;
  std::vector<HTREEITEM> preorder;
  std::unordered_map<HTREEITEM, int> index_of;

  // What a Content read returns, kept from the last Content write until any message that may
  // change an item reaches the tree view: reading 20,000 items back by message costs more than
  // writing them. `changes` counts those messages, so a write can tell whether anyone else's
  // (a notification handler's) came in between its own.
  bool content_valid = false;
  Bytes content;
  std::uint64_t changes = 0;

  void Invalidate() {
    model_valid = false;
    order_valid = false;
  }

  platform::LRESULT Send(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) const {
    return platform::SendMessageA(hwnd, msg, w, l);
  }

  HTREEITEM Next(platform::WPARAM relation, HTREEITEM item) const {
    return static_cast<HTREEITEM>(
        Send(platform::TVM_GETNEXTITEM, relation, static_cast<platform::LPARAM>(item)));
  }

  bool ChildrenFlag(HTREEITEM item) const {
    platform::TVITEMA tv;
    tv.mask = platform::TVIF_CHILDREN | platform::TVIF_HANDLE;
    tv.hItem = item;
    if (!Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv))) return false;
    return tv.cChildren != 0;
  }

  int AddNode(HTREEITEM handle, int parent) {
    Node node;
    node.handle = handle;
    node.parent = parent;
    node.depth = parent < 0 ? 0 : nodes[parent].depth + 1;
    const int id = static_cast<int>(nodes.size());
    nodes.push_back(std::move(node));
    node_of.emplace(handle, id);
    (parent < 0 ? roots : nodes[parent].children).push_back(id);
    return id;
  }

  // The walk: root, then at each item its children when it reports any, then its next sibling.
  void EnsureModel() {
    if (model_valid) return;
    nodes.clear();
    roots.clear();
    node_of.clear();
    struct Pending {
      HTREEITEM item;
      int parent;
    };
    std::vector<Pending> stack;
    HTREEITEM item = Next(platform::TVGN_ROOT, 0);
    int parent = -1;
    while (true) {
      while (item == 0 && !stack.empty()) {
        item = stack.back().item;
        parent = stack.back().parent;
        stack.pop_back();
      }
      if (item == 0 || node_of.find(item) >= 0) break;
      const int id = AddNode(item, parent);
      const HTREEITEM next = Next(platform::TVGN_NEXT, item);
      HTREEITEM child = ChildrenFlag(item) ? Next(platform::TVGN_CHILD, item) : 0;
      if (child != 0) {
        stack.push_back({next, parent});
        item = child;
        parent = id;
      } else {
        item = next;
      }
    }
    // Nodes were added in pre-order, so each subtree follows its root.
    for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; --i) {
      if (nodes[i].parent >= 0) nodes[nodes[i].parent].size += nodes[i].size;
    }
    model_valid = true;
    ids_in_preorder = true;
    order_valid = false;
  }

  void EnsureOrder() {
    EnsureModel();
    if (order_valid) return;
    preorder.clear();
    index_of.clear();
    preorder.reserve(nodes.size());
    std::vector<std::pair<const std::vector<int>*, std::size_t>> stack;
    stack.push_back({&roots, 0});
    while (!stack.empty()) {
      auto& [list, position] = stack.back();
      if (position == list->size()) {
        stack.pop_back();
        continue;
      }
      const int id = (*list)[position++];
      index_of.emplace(nodes[id].handle, static_cast<int>(preorder.size()));
      preorder.push_back(nodes[id].handle);
      if (!nodes[id].children.empty()) stack.push_back({&nodes[id].children, 0});
    }
    order_valid = true;
  }

  HTREEITEM ItemAt(int index) {
    if (index < 0) return 0;
    EnsureOrder();
    return static_cast<std::size_t>(index) < preorder.size() ? preorder[index] : 0;
  }

  // Index of a node of the mirror, from the subtree sizes when the order list is stale.
  int IndexOfNode(int id) const {
    if (ids_in_preorder) return id;
    if (order_valid) return index_of.at(nodes[id].handle);
    int index = 0;
    while (id >= 0) {
      const int parent = nodes[id].parent;
      for (int sibling : parent < 0 ? roots : nodes[parent].children) {
        if (sibling == id) break;
        index += nodes[sibling].size;
      }
      if (parent >= 0) index += 1;
      id = parent;
    }
    return index;
  }

  int IndexOf(HTREEITEM item) {
    if (item == 0) return -1;
    EnsureModel();
    const int id = node_of.find(item);
    return id < 0 ? -1 : IndexOfNode(id);
  }

  Text ItemText(HTREEITEM item) const {
    std::vector<char> buffer(256);
    while (true) {
      platform::TVITEMA tv;
      tv.mask = platform::TVIF_TEXT | platform::TVIF_HANDLE;
      tv.hItem = item;
      tv.pszText = buffer.data();
      tv.cchTextMax = static_cast<int>(buffer.size());
      buffer[0] = 0;
      if (!Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv))) return {};
      buffer.back() = 0;
      const std::size_t length = std::strlen(buffer.data());
      if (length + 1 < buffer.size()) return Text(buffer.data(), length);
      buffer.resize(buffer.size() * 2);
    }
  }
};

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
  // Someone else's structural change drops the mirror, before the message and again after it:
  // a notification sent while it runs may have rebuilt the mirror half-way.
  const bool foreign_structure = ChangesStructure(msg, wParam, lParam) && state->own_changes == 0;
  if (foreign_structure) state->Invalidate();
  if (!OnlyReads(msg)) {
    state->content_valid = false;
    ++state->changes;
  }
  if (msg == platform::WM_RBUTTONDOWN) {
    // The right button makes the item under the mouse the current item before anything else.
    platform::TVHITTESTINFO hit;
    hit.pt.x = platform::GET_X_LPARAM(lParam);
    hit.pt.y = platform::GET_Y_LPARAM(lParam);
    platform::SendMessageA(hwnd, platform::TVM_HITTEST, 0,
                           reinterpret_cast<platform::LPARAM>(&hit));
    if ((hit.flags & 0x46) != 0 && hit.hItem != 0) {
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
  return result;
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
  char text[kTreeTextLimit + 1];
  for (HTREEITEM item : state.preorder) {
    platform::TVITEMA tv;
    tv.mask = 0x2F;
    tv.hItem = item;
    tv.stateMask = 0xFFFF;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    text[0] = 0;
    state.Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv));
    text[sizeof text - 1] = 0;
    TreeContentRecord record;
    record.text = text;
    record.image = tv.iImage;
    record.selected_image = tv.iSelectedImage;
    record.data = static_cast<std::int32_t>(tv.lParam);
    record.flags = static_cast<std::int32_t>(((tv.state >> 12) << 28) | ((tv.state >> 4) & 3));
    record.level = state.nodes[state.node_of.find(item)].depth + 1;
    AppendTreeContentRecord(content, record);
  }
  return content;
}

void SetTreeContent(const ControlRef& tree, const Bytes& content) {
  Target t = ResolveKind(tree, Access::WriteOwnProperty, ControlKind::TreeBox);
  TreeBoxState& state = detail::StateOf(t);
  const std::vector<TreeContentRecord> records = ParseTreeContent(content);

  state.Send(platform::WM_SETREDRAW, platform::FALSE, 0);
  state.Send(platform::TVM_DELETEITEM, 0, static_cast<platform::LPARAM>(platform::TVI_ROOT));
  state.Invalidate();
  // The read-back is built along: each item as a read would return it (text cut at the limit,
  // level from the item's depth). Any message from elsewhere meanwhile, or an item refused,
  // leaves no copy.
  const std::uint64_t changes_before = state.changes;
  std::uint64_t own_messages = 0;
  bool keep_copy = true;
  Bytes copy;
  copy.reserve(content.size());

  // The mirror is built along with the items instead of by a walk afterwards: the records come
  // in pre-order and each becomes the last child of its parent, so the order of insertion is
  // the tree's pre-order. Anyone else changing the structure meanwhile drops it (the subclass).
  state.nodes.clear();
  state.roots.clear();
  state.node_of.clear();
  state.preorder.clear();
  state.index_of.clear();
  state.nodes.reserve(records.size());
  state.node_of.reserve(records.size());
  state.preorder.reserve(records.size());
  state.model_valid = state.Send(platform::TVM_GETCOUNT, 0, 0) == 0;

  // Each list of siblings is one frame: its level, its parent and the item inserted last.
  struct Frame {
    std::int32_t level;
    HTREEITEM parent;
    HTREEITEM last;
    int parent_node;
    int last_node;
  };
  std::vector<Frame> lists;
  std::vector<HTREEITEM> to_expand;
  for (const auto& record : records) {
    if (lists.empty()) lists.push_back({record.level, platform::TVI_ROOT, 0, -1, -1});
    while (true) {
      Frame& list = lists.back();
      if (record.level > list.level && list.last != 0) {
        // one level down, whatever the gap
        lists.push_back({record.level, list.last, 0, list.last_node, -1});
        break;
      }
      if (record.level < list.level && lists.size() > 1) {
        lists.pop_back();
        continue;
      }
      break;  // same level, or a smaller level at the top: a sibling in this list
    }
    Frame& list = lists.back();
    Text text = record.text;
    const auto flags = static_cast<std::uint32_t>(record.flags);
    platform::TVINSERTSTRUCTA insert;
    insert.hParent = list.parent;
    insert.hInsertAfter = platform::TVI_LAST;
    insert.item.mask = 0x2F;
    insert.item.pszText = text.data();
    insert.item.iImage = record.image;
    insert.item.iSelectedImage = record.selected_image;
    insert.item.lParam = record.data;
    // Bold, expanded and the state image go in with the item, as a separate TVM_SETITEM of
    // these state bits would set them.
    insert.item.stateMask = 0xF030;
    insert.item.state = (flags & 3) * 16 | ((flags >> 16) & 0xF000);
    ++state.own_changes;
    ++own_messages;
    const auto item = static_cast<HTREEITEM>(
        state.Send(platform::TVM_INSERTITEMA, 0, reinterpret_cast<platform::LPARAM>(&insert)));
    --state.own_changes;
    if (item == 0) {
      keep_copy = false;
      continue;
    }
    list.last = item;
    if (state.model_valid) {
      list.last_node = state.AddNode(item, list.parent_node);
      state.preorder.push_back(item);
      if (keep_copy) {
        TreeContentRecord back;
        back.text = record.text.substr(0, std::min(std::strlen(record.text.c_str()), kTreeTextLimit));
        back.image = record.image;
        back.selected_image = record.selected_image;
        back.data = record.data;
        back.flags = static_cast<std::int32_t>((((insert.item.state >> 12) & 0xF) << 28) |
                                               ((insert.item.state >> 4) & 3));
        back.level = state.nodes[list.last_node].depth + 1;
        AppendTreeContentRecord(copy, back);
      }
    } else {
      keep_copy = false;
    }
    if (flags & kTreeFlagExpanded) to_expand.push_back(item);
  }
  if (state.model_valid) {
    // Nodes are in pre-order, so every subtree is complete before its root is reached from the
    // end.
    for (std::size_t i = state.nodes.size(); i-- > 0;) {
      const int parent = state.nodes[i].parent;
      if (parent >= 0) state.nodes[parent].size += state.nodes[i].size;
    }
    state.ids_in_preorder = true;
    state.order_valid = true;
  }
  for (HTREEITEM item : to_expand) {
    state.Send(platform::TVM_EXPAND, platform::TVE_EXPAND, static_cast<platform::LPARAM>(item));
  }
  state.Send(platform::TVM_SETITEMHEIGHT, static_cast<platform::WPARAM>(state.item_height), 0);
  state.Send(platform::WM_SETREDRAW, platform::TRUE, 0);
  own_messages += to_expand.size() + 2;
  const HTREEITEM selected = state.ItemAt(state.last_current_item);
  // Selecting expands every collapsed ancestor, which a read would show: no copy then.
  if (selected != 0) {
    for (HTREEITEM up = state.Next(platform::TVGN_PARENT, selected); up != 0;
         up = state.Next(platform::TVGN_PARENT, up)) {
      platform::TVITEMA tv;
      tv.mask = platform::TVIF_STATE | platform::TVIF_HANDLE;
      tv.hItem = up;
      tv.stateMask = 0xFFFF;
      if (!state.Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv)) ||
          (tv.state & platform::TVIS_EXPANDED) == 0) {
        keep_copy = false;
        break;
      }
    }
  }
  state.Send(platform::TVM_SELECTITEM, platform::TVGN_CARET,
             static_cast<platform::LPARAM>(selected));
  ++own_messages;
  if (keep_copy && state.changes - changes_before == own_messages) {
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
  const HTREEITEM parent_item = parent ? state.ItemAt(*parent) : 0;

  Text label = text;
  platform::TVINSERTSTRUCTA insert;
  insert.hParent = parent_item != 0 ? parent_item : platform::TVI_ROOT;
  insert.hInsertAfter = platform::TVI_LAST;
  insert.item.mask = 0x27;
  insert.item.pszText = label.data();
  insert.item.iImage = image && *image >= 0 ? *image : 0;
  insert.item.iSelectedImage =
      selected_image && *selected_image >= 0 ? *selected_image : insert.item.iImage;
  insert.item.lParam = data.value_or(0);
  if (bold || state_image) {
    insert.item.mask |= platform::TVIF_STATE;
    insert.item.stateMask = 0xF010;
    insert.item.state = (bold.value_or(false) ? 0x10u : 0u) |
                        (state_image ? static_cast<platform::UINT>(*state_image + 1) << 12 : 0u);
  }

  // Keep the mirror up to date across our own append when it is complete before it.
  state.EnsureModel();
  const int parent_node = parent_item != 0 ? state.node_of.find(parent_item) : -1;
  ++state.own_changes;
  const auto item = static_cast<HTREEITEM>(
      state.Send(platform::TVM_INSERTITEMA, 0, reinterpret_cast<platform::LPARAM>(&insert)));
  --state.own_changes;
  if (item == 0) return -1;
  if (!state.model_valid) return state.IndexOf(item);

  const int index = parent_node < 0
                        ? static_cast<int>(state.nodes.size())
                        : state.IndexOfNode(parent_node) + state.nodes[parent_node].size;
  const bool at_end = index == static_cast<int>(state.nodes.size());
  const int id = state.AddNode(item, parent_node);
  for (int p = parent_node; p >= 0; p = state.nodes[p].parent) state.nodes[p].size += 1;
  if (!at_end) state.ids_in_preorder = false;
  if (state.order_valid && at_end) {
    state.index_of.emplace(item, index);
    state.preorder.push_back(item);
  } else {
    state.order_valid = false;
  }
  (void)id;
  return index;
}

bool SetTreeItemImage(const ControlRef& tree, int index, int image) {
  Target t = detail::Command(tree);
  TreeBoxState& state = detail::StateOf(t);
  const HTREEITEM item = state.ItemAt(index);
  if (item == 0) return false;
  platform::TVITEMA tv;
  tv.mask = platform::TVIF_IMAGE | platform::TVIF_SELECTEDIMAGE | platform::TVIF_HANDLE;
  tv.hItem = item;
  if (!state.Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv))) {
    return false;
  }
  tv.mask = 0x22;
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
  tv.mask = 64;
  tv.hItem = item;
  if (!state.Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv))) {
    return false;
  }
  return tv.cChildren != 0;
}

platform::HANDLE TreeItemHandle(const ControlRef& tree, int index) {
  Target t = detail::Command(tree);
  return detail::StateOf(t).ItemAt(index);
}

int TreeItemIndex(const ControlRef& tree, platform::HANDLE item) {
  Target t = detail::Command(tree);
  return detail::StateOf(t).IndexOf(item);
}

}  // namespace kelmor
