// Builds the category tree of one collection from its category-table rows, in memory, and
// serialises it as the tree box content. The result is the content the tree box would hold after
// adding the rows one by one as items (each row appended after the existing children of its
// parent), so one Content write replaces one insertion per row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/value.h"

namespace kelmor {

class TreeBuilder {
 public:
  // Images of every item made from a category row.
  static constexpr std::int32_t kImage = 1;
  static constexpr std::int32_t kSelectedImage = 0;

  void Reserve(std::size_t rows);

  // One row with a non-empty name: xm 0 gives a bold top-level item; otherwise the item goes
  // under the first item (in tree order) whose data value is xm, not bold, or to the top level,
  // not bold, when no item has that value.
  void AddRow(std::int32_t id, std::string_view name, std::int32_t xm);

  std::size_t size() const { return nodes_.size(); }

  // The tree box content: records in pre-order, levels from 1.
  Bytes Content() const;

 private:
  static constexpr std::int32_t kNone = -1;

  struct Node {
    std::uint32_t text_offset = 0;
    std::uint32_t text_size = 0;
    std::int32_t data = 0;
    std::int32_t parent = kNone;
    std::int32_t first_child = kNone;
    std::int32_t last_child = kNone;
    std::int32_t next_sibling = kNone;
    bool bold = false;
  };

  // Whether node a comes before node b in pre-order.
  bool Precedes(std::int32_t a, std::int32_t b) const;

  std::vector<Node> nodes_;
  std::string texts_;  // every item text, back to back
  std::int32_t first_top_ = kNone;
  std::int32_t last_top_ = kNone;
  // Data value -> the first node in tree order with that value.
  std::unordered_map<std::int32_t, std::int32_t> first_with_data_;
};

}  // namespace kelmor
