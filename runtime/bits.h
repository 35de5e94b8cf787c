#pragma once

#include <cstdint>

namespace kelmor {

inline std::int32_t BitNot(std::int32_t v) {
  return ~v;
}

template <class... Rest>
std::int32_t BitAnd(std::int32_t first, Rest... rest) {
  return (first & ... & static_cast<std::int32_t>(rest));
}
template <class... Rest>
std::int32_t BitOr(std::int32_t first, Rest... rest) {
  return (first | ... | static_cast<std::int32_t>(rest));
}
// Left to right.
template <class... Rest>
std::int32_t BitXor(std::int32_t first, Rest... rest) {
  return (first ^ ... ^ static_cast<std::int32_t>(rest));
}

}  // namespace kelmor
