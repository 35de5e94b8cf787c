// Process memory: opening a process, allocating, reading and writing memory in it, and unnamed
// file mappings. Every platform window belongs to this process, so "another process" is always
// this one; the calls still go through the operating system's cross-process interface where it
// is permitted (process_vm_readv / process_vm_writev against the process id) and fall back to a
// plain copy inside this process when the kernel refuses it (see ProcessMemoryPath).
//
// Handles (process handles and mapping handles) come from one table, are opaque, are never
// reused while the process lives, and are counted so that tests can check that none is left
// open. GetWindowThreadProcessId is in platform/window.h.
#pragma once

#include <cstddef>

#include "platform/win_types.h"
#include "platform/winuser.h"

namespace kelmor::platform {

using LPVOID = void*;
using LPCVOID = const void*;
using SIZE_T = std::size_t;

inline constexpr DWORD PROCESS_VM_OPERATION = 0x0008;
inline constexpr DWORD PROCESS_VM_READ = 0x0010;
inline constexpr DWORD PROCESS_VM_WRITE = 0x0020;
inline constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;
inline constexpr DWORD PROCESS_ALL_ACCESS = 0x1F0FFF;

inline constexpr DWORD MEM_COMMIT = 0x1000;
inline constexpr DWORD MEM_RESERVE = 0x2000;
inline constexpr DWORD MEM_DECOMMIT = 0x4000;
inline constexpr DWORD MEM_RELEASE = 0x8000;

inline constexpr DWORD PAGE_NOACCESS = 0x01;
inline constexpr DWORD PAGE_READONLY = 0x02;
inline constexpr DWORD PAGE_READWRITE = 0x04;

inline constexpr DWORD FILE_MAP_WRITE = 0x0002;
inline constexpr DWORD FILE_MAP_READ = 0x0004;
inline constexpr DWORD FILE_MAP_ALL_ACCESS = 0xF001F;

struct SECURITY_ATTRIBUTES;  // accepted as null only

// Opens this process (dwProcessId = getpid()); any other id gives 0. The handle must be closed.
HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);
HANDLE GetCurrentProcess();  // a pseudo handle, not counted, needs no closing
DWORD GetCurrentProcessId();
DWORD GetCurrentThreadId();
// Closes a process or mapping handle. FALSE for 0, INVALID_HANDLE_VALUE or a handle that is
// not open (closing twice is refused, not a crash).
BOOL CloseHandle(HANDLE hObject);

// Commits dwSize bytes (rounded up to pages, zero-filled) in the process; lpAddress must be
// null. MEM_COMMIT and/or MEM_RESERVE with PAGE_READWRITE; null on failure or a bad handle.
LPVOID VirtualAllocEx(HANDLE hProcess, LPVOID lpAddress, SIZE_T dwSize, DWORD flAllocationType,
                      DWORD flProtect);
// MEM_RELEASE with dwSize 0 frees a whole block handed out by VirtualAllocEx; anything else
// (an address it did not hand out, MEM_DECOMMIT) is refused.
BOOL VirtualFreeEx(HANDLE hProcess, LPVOID lpAddress, SIZE_T dwSize, DWORD dwFreeType);

// Copies between this process and the opened process. *lpNumberOf... (may be null) receives
// the bytes copied. FALSE for a bad handle, or for an address range that is refused: by the
// kernel on the cross-process path, and on the in-process copy path every range of the other
// side that does not lie inside a block handed out by VirtualAllocEx or MapViewOfFile.
BOOL ReadProcessMemory(HANDLE hProcess, LPCVOID lpBaseAddress, LPVOID lpBuffer, SIZE_T nSize,
                       SIZE_T* lpNumberOfBytesRead);
BOOL WriteProcessMemory(HANDLE hProcess, LPVOID lpBaseAddress, LPCVOID lpBuffer, SIZE_T nSize,
                        SIZE_T* lpNumberOfBytesWritten);

// An unnamed mapping of dwMaximumSizeLow bytes backed by memory (hFile must be
// INVALID_HANDLE_VALUE, flProtect PAGE_READWRITE, lpName null, the high size 0); 0 on failure.
HANDLE CreateFileMappingA(HANDLE hFile, SECURITY_ATTRIBUTES* lpAttributes, DWORD flProtect,
                          DWORD dwMaximumSizeHigh, DWORD dwMaximumSizeLow, LPCSTR lpName);
// Maps the whole mapping (offsets 0, size 0 or the mapping's size); null on failure. Views of
// one mapping share their bytes. A view stays valid after its mapping handle is closed.
LPVOID MapViewOfFile(HANDLE hFileMappingObject, DWORD dwDesiredAccess, DWORD dwFileOffsetHigh,
                     DWORD dwFileOffsetLow, SIZE_T dwNumberOfBytesToMap);
BOOL UnmapViewOfFile(LPCVOID lpBaseAddress);

// Which way ReadProcessMemory / WriteProcessMemory copy. Decided once, on first use, by trying
// process_vm_readv on this process; tests may force either.
enum class ProcessMemoryPath { Syscall, InProcessCopy };
ProcessMemoryPath CurrentProcessMemoryPath();
void ForceProcessMemoryPath(ProcessMemoryPath path);
bool CrossProcessSyscallPermitted();  // what the probe found

// For tests: what is open or allocated now.
std::size_t OpenHandleCount();         // process and mapping handles
std::size_t VirtualAllocationCount();  // blocks from VirtualAllocEx not yet freed
std::size_t MappedViewCount();         // views from MapViewOfFile not yet unmapped

}  // namespace kelmor::platform
