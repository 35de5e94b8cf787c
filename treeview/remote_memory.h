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

  // The family comes from SystemType.
  RemoteMemory();
  // For tests only: pretends to run on the given family, so that the mapping path can be
  // exercised on an NT-family platform. The program never uses it.
  explicit RemoteMemory(std::int32_t platform_family);

  // Operations, in the order of the object's operation table.
  ~RemoteMemory();                          // 0 destroy: releases the mappings list
  RemoteMemory(const RemoteMemory& other);  // 1 copy: the list element by element
  RemoteMemory& operator=(const RemoteMemory& other);
  platform::HANDLE OpenOwner(platform::HWND window);  // 2
  bool Write(platform::HANDLE process, std::uintptr_t remote, const void* local,
             std::size_t size);                                                   // 3
  void Close(platform::HANDLE process);                                           // 4
  Bytes Read(platform::HANDLE process, std::uintptr_t remote, std::size_t size);  // 5
  std::uintptr_t Allocate(platform::HANDLE process, std::size_t size);            // 6
  void Free(platform::HANDLE process, std::uintptr_t address);                    // 7

  const Array<Mapping>& mappings() const { return mappings_; }
  std::int32_t platform_family() const { return platform_family_; }

 private:
  Array<Mapping> mappings_;
  std::int32_t platform_family_ = 0;
};

}  // namespace kelmor
