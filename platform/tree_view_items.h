// TreeViewItems: the items of one tree view by handle. Handles come from a counter shared by
// every tree view and only grow, so a tree view's items are kept in blocks in the order they
// were inserted (an item never moves: items link to each other by address) and an item is found
// by its distance from the first handle while no other tree view took handles in between, and
// by a binary search over the handles otherwise. Building and dropping a tree of many items
// costs one allocation per block instead of one per item.
//
// A deleted item leaves its slot empty until the tree view is emptied. Internal to
// platform/tree_view.cpp; Item is default-constructible and has a `handle` member (0 when
// empty). UI thread only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/commctrl.h"

namespace kelmor::platform {

template <class Item>
class TreeViewItems {
 public:
  // Null for a handle that is not a live item here.
  Item* Find(HTREEITEM h) const {
    if (h == 0 || count_ == 0) return nullptr;
    std::size_t slot;
    if (dense_) {
      if (h < base_ || h - base_ >= count_) return nullptr;
      slot = static_cast<std::size_t>(h - base_);
    } else {
      const auto it = std::lower_bound(handles_.begin(), handles_.end(), h);
      if (it == handles_.end() || *it != h) return nullptr;
      slot = static_cast<std::size_t>(it - handles_.begin());
    }
    Item& item = At(slot);
    return item.handle == h ? &item : nullptr;
  }

  // A new empty item with handle `h`, which is greater than every handle added before.
  Item* Add(HTREEITEM h) {
    if (count_ == 0) {
      base_ = h;
      dense_ = true;
      handles_.clear();
    } else if (dense_ && h != base_ + count_) {
      dense_ = false;
      handles_.reserve(count_ + 1);
      for (std::size_t i = 0; i < count_; ++i) handles_.push_back(base_ + i);
    }
    if (!dense_) handles_.push_back(h);
    if (count_ == blocks_.size() * kBlock) blocks_.push_back(std::make_unique<Item[]>(kBlock));
    Item& item = At(count_++);
    item.handle = h;
    ++live_;
    return &item;
  }

  // Empties the item's slot (its handle is never found again).
  void Erase(Item* item) {
    *item = Item();
    if (--live_ == 0) Clear();
  }

  void Clear() {
    blocks_.clear();
    handles_.clear();
    count_ = 0;
    live_ = 0;
    dense_ = true;
  }

  std::size_t size() const { return live_; }

 private:
  static constexpr std::size_t kBlock = 256;
  Item& At(std::size_t slot) const { return blocks_[slot / kBlock][slot % kBlock]; }

  std::vector<std::unique_ptr<Item[]>> blocks_;
  std::size_t count_ = 0;  // slots used, live or empty
  std::size_t live_ = 0;
  HTREEITEM base_ = 0;
  bool dense_ = true;               // slot i holds handle base_ + i
  std::vector<HTREEITEM> handles_;  // otherwise the handle of each slot, ascending
};

}  // namespace kelmor::platform
