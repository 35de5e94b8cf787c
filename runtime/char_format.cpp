#include "runtime/char_format.h"

#include <algorithm>
#include <cstring>

#include "platform/gbk_chars.h"

namespace kelmor {

platform::CHARFORMATA ToCharFormatA(const CharFormat& format) {
  platform::CHARFORMATA record;
  record.cbSize = sizeof(platform::CHARFORMATA);
  record.dwMask = 0xF000001F;
  record.dwEffects = static_cast<platform::DWORD>(format.effects) & 0x1F;
  if (format.colour == kAutomaticColour) {
    record.dwEffects |= platform::CFE_AUTOCOLOR;
  } else {
    record.crTextColor = static_cast<platform::COLORREF>(format.colour);
  }
  record.yHeight = format.size * 20;
  record.yOffset = format.offset * 20;
  // At most 31 bytes fit; a double-byte character is never cut in half.
  std::size_t length = 0;
  const std::size_t limit =
      std::min<std::size_t>(format.font_name.size(), platform::LF_FACESIZE - 1);
  while (length < limit) {
    const auto byte = static_cast<unsigned char>(format.font_name[length]);
    if (byte == 0) break;
    const std::size_t width = platform::IsGbkLead(byte) ? 2 : 1;
    if (length + width > limit) break;
    length += width;
  }
  std::memcpy(record.szFaceName, format.font_name.data(), length);
  record.szFaceName[length] = 0;
  record.bCharSet = 0;
  record.bPitchAndFamily = 0;
  return record;
}

}  // namespace kelmor
