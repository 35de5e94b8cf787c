// Packing: the zlib-compressed form in which the saved trees are stored. Uses zlib (`compress`
// at the default level, `uncompress`) and the run-time error path, which a failed allocation
// of the packing buffer takes (the process ends).
//
// Every byte string returned is a fresh copy owned by the caller; nothing is kept between calls.
// `between` is called on the caller's thread, between slices, and must not touch `data`.
#pragma once

#include <cstdint>
#include <functional>

#include "runtime/value.h"

namespace kelmor {

// The packed form stored in the database: magic 0D 0F 3E 03, the unpacked length (uint32,
// little-endian), then the zlib stream of `compress` at the default level (absent for length 0).
inline constexpr std::uint32_t kPackMagic = 0x033E0F0D;

// The packed form of data; the empty byte string when zlib fails.
Bytes CompressBytes(const Bytes& data);
// The same bytes, deflated a slice at a time with `between` called after each slice, so that a
// long packing can let events through.
Bytes CompressBytes(const Bytes& data, const std::function<void()>& between);
// The unpacked bytes; empty for a value shorter than 8 bytes, another magic, length 0, or a
// stream that does not inflate.
Bytes DecompressBytes(const Bytes& packed);

}  // namespace kelmor
