#include "app/tree_builder.h"

#include <algorithm>

#include "runtime/tree_content.h"

namespace kelmor {

namespace {

void AppendInt32(Bytes& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 24));
}

}  // namespace

void TreeBuilder::Reserve(std::size_t rows) {
  nodes_.reserve(rows);
  first_with_data_.reserve(rows);
}

void TreeBuilder::AddRow(std::int32_t id, std::string_view name, std::int32_t xm) {
  std::int32_t parent = kNone;
  if (xm != 0) {
    if (auto found = first_with_data_.find(xm); found != first_with_data_.end()) {
      parent = found->second;
    }
  }
  const auto index = static_cast<std::int32_t>(nodes_.size());
  Node node;
  node.text_offset = static_cast<std::uint32_t>(texts_.size());
  node.text_size = static_cast<std::uint32_t>(name.size());
  node.data = id;
  node.parent = parent;
  node.bold = (xm == 0);
  texts_.append(name);
  nodes_.push_back(node);

  if (parent == kNone) {
    if (last_top_ == kNone) {
      first_top_ = index;
    } else {
      nodes_[last_top_].next_sibling = index;
    }
    last_top_ = index;
  } else {
    Node& p = nodes_[parent];
    if (p.last_child == kNone) {
      p.first_child = index;
    } else {
      nodes_[p.last_child].next_sibling = index;
    }
    p.last_child = index;
  }

  // A category table has unique ids, so a second item with the same value is rare; it takes
  // over only when it lands earlier in tree order than the one found so far.
  auto [it, inserted] = first_with_data_.try_emplace(id, index);
  if (!inserted && Precedes(index, it->second)) it->second = index;
}

bool TreeBuilder::Precedes(std::int32_t a, std::int32_t b) const {
  // Root-first chains of ancestors; siblings are in insertion order, so at the first point where
  // the chains part the smaller node number is the earlier sibling.
  auto chain = [this](std::int32_t n) {
    std::vector<std::int32_t> c;
    for (; n != kNone; n = nodes_[n].parent) c.push_back(n);
    std::reverse(c.begin(), c.end());
    return c;
  };
  const std::vector<std::int32_t> ca = chain(a);
  const std::vector<std::int32_t> cb = chain(b);
  const std::size_t common = std::min(ca.size(), cb.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (ca[i] != cb[i]) return ca[i] < cb[i];
  }
  return ca.size() < cb.size();  // an ancestor comes before its descendants
}

Bytes TreeBuilder::Content() const {
  Bytes out;
  out.reserve(texts_.size() + nodes_.size() * (1 + 20));
  // Pre-order without recursion: the chain of categories can be as deep as there are rows.
  std::vector<std::int32_t> open;  // the current node's ancestors, for their next siblings
  std::int32_t n = first_top_;
  while (n != kNone) {
    const Node& node = nodes_[n];
    out.insert(out.end(), texts_.begin() + node.text_offset,
               texts_.begin() + node.text_offset + node.text_size);
    out.push_back(0);
    AppendInt32(out, kImage);
    AppendInt32(out, kSelectedImage);
    AppendInt32(out, node.data);
    AppendInt32(out, node.bold ? kTreeFlagBold : 0);
    AppendInt32(out, static_cast<std::int32_t>(open.size()) + 1);
    if (node.first_child != kNone) {
      open.push_back(n);
      n = node.first_child;
      continue;
    }
    n = node.next_sibling;
    while (n == kNone && !open.empty()) {
      n = nodes_[open.back()].next_sibling;
      open.pop_back();
    }
  }
  return out;
}

}  // namespace kelmor
