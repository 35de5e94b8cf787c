// Key codes as a key-pressed handler receives them (OnKeyPressed in window_framework.h): the
// virtual-key codes of the keys the book reacts to. Constants only; no state.
#pragma once

namespace kelmor {

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;

}  // namespace kelmor
