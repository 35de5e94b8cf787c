#include "platform/process_memory.h"

#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <optional>

namespace kelmor::platform {
namespace {

enum class Kind { Process, Mapping };

struct Handle {
  Kind kind = Kind::Process;
  int fd = -1;           // a mapping's memory file
  std::size_t size = 0;  // a mapping's size
};

struct Table {
  std::map<HANDLE, Handle> handles;
  HANDLE next = 0x30000;
  std::map<std::uintptr_t, std::size_t> blocks;  // VirtualAllocEx
  std::map<std::uintptr_t, std::size_t> views;   // MapViewOfFile
  std::optional<ProcessMemoryPath> path;
  std::optional<bool> syscall_ok;
};

Table& T() {
  static Table table;
  return table;
}

constexpr HANDLE kCurrentProcess = static_cast<HANDLE>(-1);  // as GetCurrentProcess on Windows

std::size_t PageRound(std::size_t n) {
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return (n + page - 1) / page * page;
}

bool IsProcess(HANDLE h) {
  if (h == kCurrentProcess) return true;
  auto it = T().handles.find(h);
  return it != T().handles.end() && it->second.kind == Kind::Process;
}

bool Probe() {
  int source = 42;
  int target = 0;
  iovec local{&target, sizeof target};
  iovec remote{&source, sizeof source};
  const ssize_t n = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
  return n == static_cast<ssize_t>(sizeof target) && target == 42;
}

// Whether [address, address + size) lies inside one block or view.
bool Known(const void* address, std::size_t size) {
  const auto a = reinterpret_cast<std::uintptr_t>(address);
  for (const auto* m : {&T().blocks, &T().views}) {
    auto it = m->upper_bound(a);
    if (it == m->begin()) continue;
    --it;
    if (a >= it->first && a + size >= a && a + size <= it->first + it->second) return true;
  }
  return false;
}

BOOL Copy(HANDLE process, void* local, const void* remote, std::size_t size, bool read,
          SIZE_T* done) {
  if (done) *done = 0;
  if (!IsProcess(process) || local == nullptr || remote == nullptr) return FALSE;
  if (size == 0) return TRUE;
  if (CurrentProcessMemoryPath() == ProcessMemoryPath::Syscall) {
    iovec l{local, size};
    iovec r{const_cast<void*>(remote), size};
    const ssize_t n = read ? ::process_vm_readv(::getpid(), &l, 1, &r, 1, 0)
                           : ::process_vm_writev(::getpid(), &l, 1, &r, 1, 0);
    if (n < 0) return FALSE;
    if (done) *done = static_cast<SIZE_T>(n);
    return static_cast<std::size_t>(n) == size ? TRUE : FALSE;
  }
  if (!Known(remote, size)) return FALSE;
  if (read) {
    std::memmove(local, remote, size);
  } else {
    std::memmove(const_cast<void*>(remote), local, size);
  }
  if (done) *done = size;
  return TRUE;
}

}  // namespace

bool CrossProcessSyscallPermitted() {
  if (!T().syscall_ok) T().syscall_ok = Probe();
  return *T().syscall_ok;
}

ProcessMemoryPath CurrentProcessMemoryPath() {
  if (!T().path) {
    T().path = CrossProcessSyscallPermitted() ? ProcessMemoryPath::Syscall
                                              : ProcessMemoryPath::InProcessCopy;
  }
  return *T().path;
}

void ForceProcessMemoryPath(ProcessMemoryPath path) {
  T().path = path;
}

HANDLE OpenProcess(DWORD /*dwDesiredAccess*/, BOOL /*bInheritHandle*/, DWORD dwProcessId) {
  if (dwProcessId != GetCurrentProcessId()) return 0;
  const HANDLE h = T().next;
  T().next += 4;
  T().handles[h] = Handle{Kind::Process};
  return h;
}

HANDLE GetCurrentProcess() {
  return kCurrentProcess;
}

DWORD GetCurrentProcessId() {
  return static_cast<DWORD>(::getpid());
}

DWORD GetCurrentThreadId() {
  return static_cast<DWORD>(::syscall(SYS_gettid));
}

BOOL CloseHandle(HANDLE hObject) {
  auto it = T().handles.find(hObject);
  if (it == T().handles.end()) return FALSE;
  if (it->second.fd >= 0) ::close(it->second.fd);
  T().handles.erase(it);
  return TRUE;
}

LPVOID VirtualAllocEx(HANDLE hProcess, LPVOID lpAddress, SIZE_T dwSize, DWORD flAllocationType,
                      DWORD flProtect) {
  if (!IsProcess(hProcess) || lpAddress != nullptr || dwSize == 0 ||
      (flAllocationType & (MEM_COMMIT | MEM_RESERVE)) == 0 || flProtect != PAGE_READWRITE) {
    return nullptr;
  }
  const std::size_t size = PageRound(dwSize);
  void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  T().blocks[reinterpret_cast<std::uintptr_t>(p)] = size;
  return p;
}

BOOL VirtualFreeEx(HANDLE hProcess, LPVOID lpAddress, SIZE_T dwSize, DWORD dwFreeType) {
  if (!IsProcess(hProcess) || dwFreeType != MEM_RELEASE || dwSize != 0) return FALSE;
  auto it = T().blocks.find(reinterpret_cast<std::uintptr_t>(lpAddress));
  if (it == T().blocks.end()) return FALSE;
  ::munmap(lpAddress, it->second);
  T().blocks.erase(it);
  return TRUE;
}

BOOL ReadProcessMemory(HANDLE hProcess, LPCVOID lpBaseAddress, LPVOID lpBuffer, SIZE_T nSize,
                       SIZE_T* lpNumberOfBytesRead) {
  return Copy(hProcess, lpBuffer, lpBaseAddress, nSize, true, lpNumberOfBytesRead);
}

BOOL WriteProcessMemory(HANDLE hProcess, LPVOID lpBaseAddress, LPCVOID lpBuffer, SIZE_T nSize,
                        SIZE_T* lpNumberOfBytesWritten) {
  return Copy(hProcess, const_cast<void*>(lpBuffer), lpBaseAddress, nSize, false,
              lpNumberOfBytesWritten);
}

HANDLE CreateFileMappingA(HANDLE hFile, SECURITY_ATTRIBUTES* lpAttributes, DWORD flProtect,
                          DWORD dwMaximumSizeHigh, DWORD dwMaximumSizeLow, LPCSTR lpName) {
  if (hFile != INVALID_HANDLE_VALUE || lpAttributes != nullptr || flProtect != PAGE_READWRITE ||
      dwMaximumSizeHigh != 0 || dwMaximumSizeLow == 0 || lpName != nullptr) {
    return 0;
  }
  const int fd = ::memfd_create("kelmor-mapping", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (::ftruncate(fd, static_cast<off_t>(dwMaximumSizeLow)) != 0) {
    ::close(fd);
    return 0;
  }
  const HANDLE h = T().next;
  T().next += 4;
  T().handles[h] = Handle{Kind::Mapping, fd, dwMaximumSizeLow};
  return h;
}

LPVOID MapViewOfFile(HANDLE hFileMappingObject, DWORD /*dwDesiredAccess*/, DWORD dwFileOffsetHigh,
                     DWORD dwFileOffsetLow, SIZE_T dwNumberOfBytesToMap) {
  auto it = T().handles.find(hFileMappingObject);
  if (it == T().handles.end() || it->second.kind != Kind::Mapping) return nullptr;
  const std::size_t size = it->second.size;
  if (dwFileOffsetHigh != 0 || dwFileOffsetLow != 0 ||
      (dwNumberOfBytesToMap != 0 && dwNumberOfBytesToMap != size)) {
    return nullptr;
  }
  void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, it->second.fd, 0);
  if (p == MAP_FAILED) return nullptr;
  T().views[reinterpret_cast<std::uintptr_t>(p)] = size;
  return p;
}

BOOL UnmapViewOfFile(LPCVOID lpBaseAddress) {
  auto it = T().views.find(reinterpret_cast<std::uintptr_t>(lpBaseAddress));
  if (it == T().views.end()) return FALSE;
  ::munmap(const_cast<void*>(lpBaseAddress), it->second);
  T().views.erase(it);
  return TRUE;
}

std::size_t OpenHandleCount() {
  return T().handles.size();
}
std::size_t VirtualAllocationCount() {
  return T().blocks.size();
}
std::size_t MappedViewCount() {
  return T().views.size();
}

}  // namespace kelmor::platform
