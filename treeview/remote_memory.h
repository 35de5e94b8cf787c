// RemoteMemory: buffers in the memory of the process that owns a window, for messages whose
// record must lie in that process's address space (the tree view reads and writes the item
// record it is sent at the address it is given). Open the owner, allocate, write, read, free,
// close. On the NT family the buffers come from VirtualAllocEx; elsewhere from views of unnamed
// file mappings, which every process of such a platform can address, so their handles are kept
// in a list until each buffer is freed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"
#include "runtime/array.h"
#include "runtime/value.h"

namespace kelmor {

// Platform families as SystemType reports them.
inline constexpr std::int32_t kFamilyWin32s = 1;
inline constexpr std::int32_t kFamilyWin9x = 2;
inline constexpr std::int32_t kFamilyNt = 3;

class RemoteMemory {
 public:
  // One view handed out by Allocate outside the NT family.
  struct Mapping {
    platform::HANDLE mapping = 0;
    std::uintptr_t view = 0;
  };

  // --- Lifetime ----------------------------------------------------------------------------------
  // The family comes from SystemType.
  RemoteMemory();
  // For tests only: pretends to run on the given family, so that the mapping path can be
  // exercised on an NT-family platform. The program never uses it.
  explicit RemoteMemory(std::int32_t platform_family);
  // A copy has the family and its own copy of the mappings list.
  ~RemoteMemory() = default;
  RemoteMemory(const RemoteMemory&) = default;
  RemoteMemory& operator=(const RemoteMemory&) = default;

  // --- One exchange: open the owner, allocate, write, read, free, close --------------------------
  // Only the tree-view accessor's remote mode uses these, through RemoteExchange; the book never
  // turns that mode on. No result is required to succeed: a failed open gives handle 0, with
  // which the other calls do nothing useful.

  // The process that owns the window, opened with all access; 0 when it cannot be opened.
  platform::HANDLE OpenOwner(platform::HWND window);
  // Closes the process handle and empties the mappings list; nothing happens for handle 0.
  void Close(platform::HANDLE process);
  // A buffer of `size` bytes that the process can address: committed in the process on the NT
  // family, elsewhere a view of a new unnamed mapping (recorded in mappings()).
  std::uintptr_t Allocate(platform::HANDLE process, std::size_t size);
  // Releases a buffer of Allocate; outside the NT family an address it did not hand out is
  // ignored.
  void Free(platform::HANDLE process, std::uintptr_t address);
  // Copies `size` bytes into the process; true when all were written.
  bool Write(platform::HANDLE process, std::uintptr_t remote, const void* local, std::size_t size);
  // `size` bytes from the process, zero-filled where they could not be read.
  Bytes Read(platform::HANDLE process, std::uintptr_t remote, std::size_t size);

  const Array<Mapping>& mappings() const { return mappings_; }
  std::int32_t platform_family() const { return platform_family_; }

 private:
  Array<Mapping> mappings_;
  std::int32_t platform_family_ = 0;
};

}  // namespace kelmor
