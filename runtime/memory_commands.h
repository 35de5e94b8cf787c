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
