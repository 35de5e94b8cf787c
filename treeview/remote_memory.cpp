#include "treeview/remote_memory.h"

#include "platform/process_memory.h"
#include "platform/window.h"
#include "runtime/system_type.h"

namespace kelmor {

namespace {

void* AsPointer(std::uintptr_t address) {
  return reinterpret_cast<void*>(address);
}
std::uintptr_t AsAddress(const void* pointer) {
  return reinterpret_cast<std::uintptr_t>(pointer);
}

std::int32_t FamilyOfSystem() {
  switch (SystemType()) {
    case 1:
      return kFamilyWin32s;
    case 2:
      return kFamilyWin9x;
    case 3:
      return kFamilyNt;
    default:
      return 0;
  }
}

}  // namespace

RemoteMemory::RemoteMemory() : platform_family_(FamilyOfSystem()) {}

RemoteMemory::RemoteMemory(std::int32_t platform_family) : platform_family_(platform_family) {}

platform::HANDLE RemoteMemory::OpenOwner(platform::HWND window) {
  platform::DWORD pid = 0;
  platform::GetWindowThreadProcessId(window, &pid);
  return platform::OpenProcess(platform::PROCESS_ALL_ACCESS, platform::FALSE, pid);
}

bool RemoteMemory::Write(platform::HANDLE process, std::uintptr_t remote, const void* local,
                         std::size_t size) {
  return platform::WriteProcessMemory(process, AsPointer(remote), local, size, nullptr) !=
         platform::FALSE;
}

void RemoteMemory::Close(platform::HANDLE process) {
  if (process == 0) return;
  platform::CloseHandle(process);
  mappings_.clear();
}

Bytes RemoteMemory::Read(platform::HANDLE process, std::uintptr_t remote, std::size_t size) {
  Bytes buffer(size, 0);
  platform::ReadProcessMemory(process, AsPointer(remote), buffer.data(), size, nullptr);
  return buffer;
}

std::uintptr_t RemoteMemory::Allocate(platform::HANDLE process, std::size_t size) {
  if (platform_family_ == kFamilyNt) {
    return AsAddress(platform::VirtualAllocEx(process, nullptr, size, platform::MEM_COMMIT,
                                              platform::PAGE_READWRITE));
  }
  // Views of unnamed mappings lie where every process of these platforms can reach them, so the
  // process handle plays no part here.
  platform::HANDLE mapping = platform::CreateFileMappingA(
      platform::INVALID_HANDLE_VALUE, nullptr, platform::PAGE_READWRITE, 0,
      static_cast<platform::DWORD>(size), nullptr);
  std::uintptr_t view =
      AsAddress(platform::MapViewOfFile(mapping, platform::FILE_MAP_ALL_ACCESS, 0, 0, 0));
  mappings_.push_back(Mapping{mapping, view});
  return view;
}

void RemoteMemory::Free(platform::HANDLE process, std::uintptr_t address) {
  if (platform_family_ == kFamilyNt) {
    platform::VirtualFreeEx(process, AsPointer(address), 0, platform::MEM_RELEASE);
    return;
  }
  for (std::size_t i = 0; i < mappings_.size(); ++i) {
    if (mappings_[i].view != address) continue;
    platform::UnmapViewOfFile(AsPointer(mappings_[i].view));
    platform::CloseHandle(mappings_[i].mapping);
    mappings_.erase(i);
    return;
  }
}

}  // namespace kelmor
