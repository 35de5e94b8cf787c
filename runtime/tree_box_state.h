// What a tree box keeps beside its SysTreeView32: a mirror of the item structure, so that a
// pre-order index needs no walk by messages per command, and the Content copy kept from the
// last Content write. Both are kept up by the tree box's own writes and dropped by anyone
// else's messages (the subclass in tree_box.cpp watches every message to the tree view); the
// invariant check compares them with the tree view itself.
//
// Internal to runtime/ (tree_box.cpp). May use platform/ and the runtime values. One state per
// loaded tree box, owned by its ControlState; the subclass holds it weakly. UI thread only.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/commctrl.h"
#include "platform/win_types.h"
#include "platform/window.h"
#include "runtime/tree_content.h"
#include "runtime/value.h"

namespace kelmor::detail {

// Debug and sanitizer builds check the tree box's state after every write.
#ifdef KELMOR_CHECK_INVARIANTS
inline constexpr bool kCheckTreeBoxState = true;
#else
inline constexpr bool kCheckTreeBoxState = false;
#endif

// Asks for every state bit of an item.
inline constexpr platform::UINT kAllItemStateBits = 0xFFFF;
// What a Content record is written and read with: text, images, item data, state; and the
// state bits that its flags carry.
inline constexpr platform::UINT kRecordMask = platform::TVIF_TEXT | platform::TVIF_IMAGE |
                                              platform::TVIF_PARAM | platform::TVIF_STATE |
                                              platform::TVIF_SELECTEDIMAGE;
inline constexpr platform::UINT kRecordStateMask =
    platform::TVIS_STATEIMAGEMASK | platform::TVIS_EXPANDED | platform::TVIS_BOLD;

// The Content flags of an item's state and back: bold and expanded are flag bits 0-1 and state
// bits 4-5, the state image index flag bits 28-31 and state bits 12-15.
constexpr std::int32_t StateToFlags(platform::UINT state) {
  return static_cast<std::int32_t>(
      ((state & platform::TVIS_STATEIMAGEMASK) << 16) |
      ((state & (platform::TVIS_BOLD | platform::TVIS_EXPANDED)) >> 4));
}
constexpr platform::UINT FlagsToState(std::int32_t flags) {
  const auto bits = static_cast<std::uint32_t>(flags);
  return ((bits & static_cast<std::uint32_t>(kTreeFlagBold | kTreeFlagExpanded)) << 4) |
         ((bits >> 16) & platform::TVIS_STATEIMAGEMASK);
}

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
  void emplace(platform::HTREEITEM handle, int id) {
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
  int find(platform::HTREEITEM handle) const {
    if (run_ > 0 && handle >= base_ && handle - base_ < run_) {
      return static_cast<int>(handle - base_);
    }
    auto it = others_.find(handle);
    return it == others_.end() ? -1 : it->second;
  }

 private:
  platform::HTREEITEM base_ = 0;
  std::size_t run_ = 0;  // ids 0 .. run_-1 have the handles base_ .. base_+run_-1
  std::unordered_map<platform::HTREEITEM, int> others_;
};

struct TreeBoxState {
  platform::HWND hwnd = 0;
  int last_current_item = -1;  // the index written last to CurrentItem
  Text edited_label;           // the edited-label property while LabelEditFinished runs
  platform::LRESULT item_height = -1;

  struct Node {
    platform::HTREEITEM handle = 0;
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
  std::vector<platform::HTREEITEM> preorder;
  std::unordered_map<platform::HTREEITEM, int> index_of;

  // What a Content read returns, kept from the last Content write until any message that may
  // change an item reaches the tree view: reading 20,000 items back by message costs more than
  // writing them. `foreign_changes` counts such messages that are not the tree box's own, so a
  // write can tell whether anyone else's (a notification handler's) came in between its own.
  bool content_valid = false;
  Bytes content;
  std::uint64_t foreign_changes = 0;

  // Held by every tree box command that writes. While one runs the subclass checks nothing
  // (the writer is bringing the mirror up to date); when the outermost one ends, debug and
  // sanitizer builds check the state.
  class Writing {
   public:
    explicit Writing(TreeBoxState& state) : state_(state) { ++state_.writing_; }
    ~Writing() {
      if (--state_.writing_ == 0 && kCheckTreeBoxState) state_.CheckState();
    }
    Writing(const Writing&) = delete;
    Writing& operator=(const Writing&) = delete;

   private:
    TreeBoxState& state_;
  };
  bool IsWriting() const { return writing_ > 0; }

  void Invalidate() {
    model_valid = false;
    order_valid = false;
  }

  platform::LRESULT Send(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) const {
    return platform::SendMessageA(hwnd, msg, w, l);
  }
  // Sends a message as the tree box's own: the subclass leaves the mirror to the sender and
  // does not count it as someone else's change. Messages that a notification handler sends
  // while it runs are not own.
  platform::LRESULT SendOwn(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) {
    // Cleared however the message ends, also when it never reaches the subclass.
    struct Pending {
      PendingMessage& own;
      ~Pending() { own.pending = false; }
    } pending{own_};
    own_ = PendingMessage{true, msg, w, l};
    return Send(msg, w, l);
  }
  // For the subclass: whether the message reaching the tree view is the one SendOwn is
  // sending (it is then no longer pending).
  bool TakeOwn(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) {
    if (!own_.pending || own_.msg != msg || own_.w != w || own_.l != l) return false;
    own_.pending = false;
    return true;
  }

  platform::HTREEITEM Next(platform::WPARAM relation, platform::HTREEITEM item) const;
  bool ChildrenFlag(platform::HTREEITEM item) const;
  Text ItemText(platform::HTREEITEM item) const;
  // The item as a Content read returns it, at the given level.
  TreeContentRecord ReadRecord(platform::HTREEITEM item, std::int32_t level) const;

  // The mirror, emptied for a Content write of `expected` items; valid when the tree view is
  // empty, so that the write can build it along.
  void ResetMirror(std::size_t expected);
  int AddNode(platform::HTREEITEM handle, int parent) {
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
  // Once every node is in, in pre-order: subtree sizes, ids as indices, the order list.
  void FinishMirror();
  void EnsureModel();
  void EnsureOrder();

  platform::HTREEITEM ItemAt(int index);
  // Index of a node of the mirror, from the subtree sizes when the order list is stale.
  int IndexOfNode(int id) const;
  int IndexOf(platform::HTREEITEM item);

  // The first disagreement of the mirror or the kept Content copy with the tree view, empty
  // when there is none.
  std::string Disagreement() const;
  // Ends the process with the disagreement on standard error, if there is one.
  void CheckState() const;

 private:
  struct Walked;
  // The walk every index is defined by: root, then at each item its children when it reports
  // any, then its next sibling. visit(item, parent) gets what it returned for the item's parent
  // (-1 at the top level) and returns the item's own value, or kStopWalk to end the walk.
  static constexpr int kStopWalk = -2;
  template <class Visit>
  void Walk(Visit visit) const;
  void SumSubtreeSizes();
  std::string MirrorDisagreement(const std::vector<Walked>& walked) const;

  struct PendingMessage {
    bool pending = false;
    platform::UINT msg = 0;
    platform::WPARAM w = 0;
    platform::LPARAM l = 0;
  };
  PendingMessage own_;
  int writing_ = 0;
};

}  // namespace kelmor::detail
