#include "runtime/system_type.h"

#include "platform/system_info.h"

namespace kelmor {

std::int32_t SystemType() {
  platform::OSVERSIONINFOA info;
  if (!platform::GetVersionExA(&info)) return 0;
  switch (info.dwPlatformId) {
    case platform::VER_PLATFORM_WIN32s:
      return 1;
    case platform::VER_PLATFORM_WIN32_WINDOWS:
      return 2;
    case platform::VER_PLATFORM_WIN32_NT:
      return 3;
    default:
      return 0;
  }
}

}  // namespace kelmor
