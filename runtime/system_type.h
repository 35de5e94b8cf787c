// SystemType: which family of the operating system the program runs on, as the platform's
// GetVersionExA reports it (this platform always answers the NT family). Uses the platform's
// system information only; no state.
#pragma once

#include <cstdint>

namespace kelmor {

// 1 Win32s, 2 the 95 family, 3 the NT family, 0 otherwise (from GetVersionExA).
std::int32_t SystemType();

}  // namespace kelmor
