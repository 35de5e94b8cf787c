// The bit commands on 32-bit integers: BitNot, and BitAnd, BitOr, BitXor over any number of
// operands, left to right. Header only, pure functions; uses nothing but <cstdint>.
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
