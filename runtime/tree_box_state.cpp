#include "runtime/tree_box_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "platform/window.h"

namespace kelmor::detail {

using platform::HTREEITEM;

// Bold, expanded and state image 3 survive the way into the state bits and back.
static_assert(FlagsToState(static_cast<std::int32_t>(0x30000000u) | kTreeFlagBold |
                           kTreeFlagExpanded) ==
              (platform::TVIS_BOLD | platform::TVIS_EXPANDED | platform::INDEXTOSTATEIMAGEMASK(3)));
static_assert(StateToFlags(platform::TVIS_BOLD | platform::TVIS_EXPANDED | platform::TVIS_SELECTED |
                           platform::INDEXTOSTATEIMAGEMASK(3)) ==
              (static_cast<std::int32_t>(0x30000000u) | kTreeFlagBold | kTreeFlagExpanded));

HTREEITEM TreeBoxState::Next(platform::WPARAM relation, HTREEITEM item) const {
  return static_cast<HTREEITEM>(
      Send(platform::TVM_GETNEXTITEM, relation, static_cast<platform::LPARAM>(item)));
}

bool TreeBoxState::ChildrenFlag(HTREEITEM item) const {
  platform::TVITEMA tv;
  tv.mask = platform::TVIF_CHILDREN | platform::TVIF_HANDLE;
  tv.hItem = item;
  if (!Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv))) return false;
  return tv.cChildren != 0;
}

Text TreeBoxState::ItemText(HTREEITEM item) const {
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

TreeContentRecord TreeBoxState::ReadRecord(HTREEITEM item, std::int32_t level) const {
  char text[kTreeTextLimit + 1];
  platform::TVITEMA tv;
  tv.mask = kRecordMask;
  tv.hItem = item;
  tv.stateMask = kAllItemStateBits;
  tv.pszText = text;
  tv.cchTextMax = sizeof text;
  text[0] = 0;
  Send(platform::TVM_GETITEMA, 0, reinterpret_cast<platform::LPARAM>(&tv));
  text[sizeof text - 1] = 0;
  TreeContentRecord record;
  record.text = text;
  record.image = tv.iImage;
  record.selected_image = tv.iSelectedImage;
  record.data = static_cast<std::int32_t>(tv.lParam);
  record.flags = StateToFlags(tv.state);
  record.level = level;
  return record;
}

void TreeBoxState::ResetMirror(std::size_t expected) {
  Invalidate();
  nodes.clear();
  roots.clear();
  node_of.clear();
  preorder.clear();
  index_of.clear();
  nodes.reserve(expected);
  node_of.reserve(expected);
  preorder.reserve(expected);
  model_valid = Send(platform::TVM_GETCOUNT, 0, 0) == 0;
}

void TreeBoxState::SumSubtreeSizes() {
  // Nodes are in pre-order, so every subtree is complete before its root is reached from the
  // end.
  for (std::size_t i = nodes.size(); i-- > 0;) {
    const int parent = nodes[i].parent;
    if (parent >= 0) nodes[parent].size += nodes[i].size;
  }
}

void TreeBoxState::FinishMirror() {
  SumSubtreeSizes();
  ids_in_preorder = true;
  order_valid = true;
}

template <class Visit>
void TreeBoxState::Walk(Visit visit) const {
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
    if (item == 0) break;
    const int id = visit(item, parent);
    if (id == kStopWalk) break;
    const HTREEITEM next = Next(platform::TVGN_NEXT, item);
    const HTREEITEM child = ChildrenFlag(item) ? Next(platform::TVGN_CHILD, item) : 0;
    if (child != 0) {
      stack.push_back({next, parent});
      item = child;
      parent = id;
    } else {
      item = next;
    }
  }
}

void TreeBoxState::EnsureModel() {
  if (model_valid) return;
  nodes.clear();
  roots.clear();
  node_of.clear();
  // An item met twice would make the walk endless: it ends there.
  Walk([this](HTREEITEM item, int parent) {
    return node_of.find(item) >= 0 ? kStopWalk : AddNode(item, parent);
  });
  SumSubtreeSizes();
  model_valid = true;
  ids_in_preorder = true;
  order_valid = false;
}

void TreeBoxState::EnsureOrder() {
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

HTREEITEM TreeBoxState::ItemAt(int index) {
  if (index < 0) return 0;
  EnsureOrder();
  return static_cast<std::size_t>(index) < preorder.size() ? preorder[index] : 0;
}

int TreeBoxState::IndexOfNode(int id) const {
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

int TreeBoxState::IndexOf(HTREEITEM item) {
  if (item == 0) return -1;
  EnsureModel();
  const int id = node_of.find(item);
  return id < 0 ? -1 : IndexOfNode(id);
}

// One item of a walk of the tree view: its handle, its parent's position in the walk (-1 at
// the top level), its depth and the size of its subtree.
struct TreeBoxState::Walked {
  HTREEITEM handle;
  int parent;
  int depth;
  int size;
};

std::string TreeBoxState::MirrorDisagreement(const std::vector<Walked>& walked) const {
  const auto at = [](std::size_t i, const char* what) {
    return "item " + std::to_string(i) + ": the mirror's " + what + " differs from the tree view";
  };
  if (nodes.size() != walked.size()) {
    return "the mirror holds " + std::to_string(nodes.size()) + " items, the tree view " +
           std::to_string(walked.size());
  }
  // The mirror's own pre-order, from its lists of children; a list naming a node twice would
  // make it longer than the mirror.
  std::vector<int> order;
  std::vector<std::pair<const std::vector<int>*, std::size_t>> stack{{&roots, 0}};
  while (!stack.empty() && order.size() <= nodes.size()) {
    auto& [list, position] = stack.back();
    if (position == list->size()) {
      stack.pop_back();
      continue;
    }
    const int id = (*list)[position++];
    if (id < 0 || static_cast<std::size_t>(id) >= nodes.size()) return "a list names no node";
    order.push_back(id);
    if (!nodes[id].children.empty()) stack.push_back({&nodes[id].children, 0});
  }
  if (order.size() != walked.size()) return "the mirror's lists do not hold every node once";
  for (std::size_t i = 0; i < walked.size(); ++i) {
    const Walked& w = walked[i];
    const Node& node = nodes[order[i]];
    if (node.handle != w.handle) return at(i, "handle");
    if (node.parent != (w.parent < 0 ? -1 : order[w.parent])) return at(i, "parent");
    if (node.depth != w.depth) return at(i, "depth");
    if (node.size != w.size) return at(i, "subtree size");
    if (node_of.find(w.handle) != order[i]) return at(i, "node by handle");
    if (ids_in_preorder && order[i] != static_cast<int>(i)) return at(i, "node id");
  }
  if (!order_valid) return {};
  if (preorder.size() != walked.size()) return "the order list has the wrong length";
  for (std::size_t i = 0; i < walked.size(); ++i) {
    if (preorder[i] != walked[i].handle) return at(i, "order list");
  }
  for (const auto& [handle, index] : index_of) {
    if (index < 0 || static_cast<std::size_t>(index) >= walked.size() ||
        walked[index].handle != handle) {
      return "the index by handle names a wrong item";
    }
  }
  if (!ids_in_preorder && index_of.size() != walked.size()) {
    return "the index by handle misses items";
  }
  return {};
}

std::string TreeBoxState::Disagreement() const {
  std::vector<Walked> walked;
  std::unordered_set<HTREEITEM> seen;
  Walk([&](HTREEITEM item, int parent) {
    if (!seen.insert(item).second) return kStopWalk;
    walked.push_back({item, parent, parent < 0 ? 0 : walked[parent].depth + 1, 1});
    return static_cast<int>(walked.size()) - 1;
  });
  for (std::size_t i = walked.size(); i-- > 0;) {
    if (walked[i].parent >= 0) walked[walked[i].parent].size += walked[i].size;
  }
  if (model_valid) {
    if (std::string problem = MirrorDisagreement(walked); !problem.empty()) return problem;
  }
  if (content_valid) {
    Bytes fresh;
    fresh.reserve(content.size());
    for (const Walked& w : walked)
      AppendTreeContentRecord(fresh, ReadRecord(w.handle, w.depth + 1));
    if (fresh != content) {
      return "the kept Content copy (" + std::to_string(content.size()) +
             " bytes) differs from a read of the items (" + std::to_string(fresh.size()) +
             " bytes)";
    }
  }
  return {};
}

void TreeBoxState::CheckState() const {
  if (!platform::IsWindow(hwnd)) return;
  const std::string problem = Disagreement();
  if (problem.empty()) return;
  std::fprintf(stderr, "tree box state: %s\n", problem.c_str());
  std::abort();
}

}  // namespace kelmor::detail
