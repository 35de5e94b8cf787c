#pragma once

#include <cstdint>

namespace kelmor {

// 1 Win32s, 2 the 95 family, 3 the NT family, 0 otherwise (from GetVersionExA).
std::int32_t SystemType();

}  // namespace kelmor
