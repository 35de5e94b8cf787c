#include "runtime/memory_commands.h"

#include <cstring>

namespace kelmor {

Bytes ZeroBytes(std::int32_t count) {
  return count <= 0 ? Bytes() : Bytes(static_cast<std::size_t>(count), 0);
}

Bytes PointerToBytes(std::uintptr_t address, std::int32_t length) {
  if (length <= 0 || address == 0) return Bytes();
  Bytes out(static_cast<std::size_t>(length));
  std::memcpy(out.data(), reinterpret_cast<const void*>(address), out.size());
  return out;
}

void WriteMemory(const Bytes& data, std::uintptr_t address,
                 std::optional<std::int32_t> maximum_length) {
  std::size_t n = data.size();
  if (maximum_length && *maximum_length >= 0 && static_cast<std::size_t>(*maximum_length) < n) {
    n = static_cast<std::size_t>(*maximum_length);
  }
  if (n == 0 || address == 0) return;
  std::memcpy(reinterpret_cast<void*>(address), data.data(), n);
}

}  // namespace kelmor
