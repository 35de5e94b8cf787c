// The platform layer: a small, plain C++ stand-in for the part of the Windows API that the
// program calls (windows and messages, native controls, message boxes, cursors, process
// memory, file copy, version query, OLE variants). It keeps the Windows names, message
// numbers, flags and record layouts (pointer-sized fields widened to 64 bits) and builds on
// Linux and the C++ standard library only: no Qt, no display. Nothing above may bypass it.
#pragma once

#include <cstdint>

namespace kelmor::platform {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = std::int32_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HANDLE = std::uintptr_t;  // opaque; 0 is "no handle"
using HWND = std::uintptr_t;    // opaque window handle; 0 is "no window"
using COLORREF = std::uint32_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;
inline constexpr HANDLE INVALID_HANDLE_VALUE = static_cast<HANDLE>(-1);

}  // namespace kelmor::platform
