// TreeContent: a tree box's items serialised as one byte string, in pre-order, no header, no
// count. Each record: the text and one zero byte; then little-endian int32 image, selected
// image, item data, flags (bit 0 bold, bit 1 expanded, bits 28-31 state image index) and level
// (1 for a top-level item; a child has its parent's level + 1).
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/value.h"

namespace kelmor {

struct TreeContentRecord {
  Text text;
  std::int32_t image = 0;
  std::int32_t selected_image = 0;
  std::int32_t data = 0;
  std::int32_t flags = 0;
  std::int32_t level = 1;
  friend bool operator==(const TreeContentRecord&, const TreeContentRecord&) = default;
};

// The longest item text (in bytes) that a tree box's Content keeps whole; longer texts are cut.
inline constexpr std::size_t kTreeTextLimit = 510;

// The five int32 after each record's zero byte.
inline constexpr std::size_t kTreeContentNumbersSize = 20;

inline constexpr std::int32_t kTreeFlagBold = 0x1;
inline constexpr std::int32_t kTreeFlagExpanded = 0x2;

// The whole records of `content` one at a time, into one record whose text keeps its buffer;
// a record cut short at the end is dropped, and nothing is read past the end.
class TreeContentReader {
 public:
  explicit TreeContentReader(const Bytes& content) : content_(content) {}
  // False once no whole record is left.
  bool Next(TreeContentRecord& record);
  // At most this many records remain.
  std::size_t MostRemaining() const {
    return (content_.size() - pos_) / (kTreeContentNumbersSize + 1);
  }

 private:
  const Bytes& content_;
  std::size_t pos_ = 0;
};

// The whole records of `content`, as a TreeContentReader reads them.
std::vector<TreeContentRecord> ParseTreeContent(const Bytes& content);

Bytes SerializeTreeContent(const std::vector<TreeContentRecord>& records);
void AppendTreeContentRecord(Bytes& content, const TreeContentRecord& record);

}  // namespace kelmor
