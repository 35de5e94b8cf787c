// GetVersionExA: the version query, with the record it fills. No state; uses nothing but the
// platform's types.
//
// REQUIRES: info points to a record owned by the caller.
#pragma once

#include "platform/win_types.h"

namespace kelmor::platform {

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char szCSDVersion[128] = {};
};

// This platform reports itself as of the NT family (every window's memory is addressable
// through the process-memory calls).
BOOL GetVersionExA(OSVERSIONINFOA* info);

}  // namespace kelmor::platform
