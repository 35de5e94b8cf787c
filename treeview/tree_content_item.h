// One item of a tree box content (TreeContent): the item's text and the 20 bytes that follow it
// in the content (image, selected image, item data, flags, level: five little-endian int32),
// kept raw so that they are written back exactly as they were read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/value.h"

namespace kelmor {

inline constexpr std::size_t kTreeContentTailSize = 20;

struct TreeContentItem {
  Text text;  // GBK, without the terminating zero byte
  std::array<std::uint8_t, kTreeContentTailSize> tail{};

  friend bool operator==(const TreeContentItem&, const TreeContentItem&) = default;
};

}  // namespace kelmor
