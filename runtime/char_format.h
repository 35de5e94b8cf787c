// CharFormat: the character format record of the rich edit.
#pragma once

#include <cstdint>

#include "platform/commctrl.h"
#include "platform/win_types.h"
#include "runtime/value.h"

namespace kelmor {

inline constexpr std::int32_t kAutomaticColour = static_cast<std::int32_t>(0xFF000000u);

// Effects bits.
inline constexpr std::int32_t kEffectBold = 0x1;
inline constexpr std::int32_t kEffectItalic = 0x2;
inline constexpr std::int32_t kEffectUnderline = 0x4;
inline constexpr std::int32_t kEffectStrikeOut = 0x8;
inline constexpr std::int32_t kEffectProtected = 0x10;

struct CharFormat {
  Text font_name;            // at most 31 bytes reach the control; longer names are cut
  std::int32_t size = 9;     // points
  std::int32_t offset = 0;   // points above (positive) or below the base line
  std::int32_t effects = 0;  // kEffect* bits
  std::int32_t colour = kAutomaticColour;  // 0x00BBGGRR, or kAutomaticColour
};

// The platform's record: size 60, mask 0xF000001F, effects & 0x1F plus CFE_AUTOCOLOR for the
// automatic colour (else the colour), height and offset in twips, the face name, character set
// and pitch 0.
platform::CHARFORMATA ToCharFormatA(const CharFormat& format);

}  // namespace kelmor
