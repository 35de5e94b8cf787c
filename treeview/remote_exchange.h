// RemoteExchange: one exchange with the process that owns a window, as a scope. Creating it
// opens the owner; each Allocate places a buffer in that process; the end of the scope frees
// the buffers, the last one first, and closes the owner, on every way out. An exchange holds at
// most two buffers (an item record and its text).
// REQUIRES: the RemoteMemory outlives the exchange. User-interface thread only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"
#include "runtime/value.h"
#include "treeview/remote_memory.h"

namespace kelmor {

class RemoteExchange {
 public:
  RemoteExchange(RemoteMemory& memory, platform::HWND window)
      : memory_(memory), process_(memory.OpenOwner(window)) {}
  ~RemoteExchange();
  RemoteExchange(const RemoteExchange&) = delete;
  RemoteExchange& operator=(const RemoteExchange&) = delete;

  // False when the owner could not be opened; nothing can be placed then.
  bool is_open() const { return process_ != 0; }
  // The address of a new buffer of `size` bytes in the owner; 0 when none could be had.
  std::uintptr_t Allocate(std::size_t size);
  bool Write(std::uintptr_t remote, const void* local, std::size_t size) {
    return memory_.Write(process_, remote, local, size);
  }
  // `size` bytes from the owner, zero-filled where they could not be read.
  Bytes Read(std::uintptr_t remote, std::size_t size) {
    return memory_.Read(process_, remote, size);
  }

 private:
  static constexpr std::size_t kMaxBuffers = 2;

  RemoteMemory& memory_;
  platform::HANDLE process_;
  std::array<std::uintptr_t, kMaxBuffers> buffers_{};
  std::size_t buffer_count_ = 0;
};

}  // namespace kelmor
