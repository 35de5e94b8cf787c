// The memory commands of the tree-view module: zero-filled byte strings and copies between byte
// strings and raw addresses of this process. Uses only the C++ standard library.
//
// REQUIRES: an address given with a length (or with data to write) is valid for that many
// bytes in this process; address 0 is accepted and gives nothing (or writes nothing). The
// caller owns the memory at the address; a returned byte string is a fresh copy.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/value.h"

namespace kelmor {

// count zero bytes; count <= 0 gives the empty byte string.
Bytes ZeroBytes(std::int32_t count);
// Copies length bytes from an address of this process; length <= 0 gives the empty byte string.
Bytes PointerToBytes(std::uintptr_t address, std::int32_t length);
// Copies data to an address; with a maximum length >= 0 smaller than the data, only that many.
void WriteMemory(const Bytes& data, std::uintptr_t address,
                 std::optional<std::int32_t> maximum_length = std::nullopt);

}  // namespace kelmor
