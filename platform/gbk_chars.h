// Splitting GBK bytes into characters: a byte 0x81..0xFE followed by a second byte 0x40..0xFE
// (not 0x7F) is one double-byte character, held as lead << 8 | trail; any other byte is a
// character of its own, 0x80 too (the euro sign of code page 936).
//
// IsGbkLead is the one answer to "does this byte start a double-byte character" for every
// layer that walks GBK bytes; header only and free of window code, so the data core may use it
// as well (CMake target gbk_chars).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelmor::platform {

using GbkChar = std::uint16_t;

constexpr bool IsGbkLead(unsigned char b) {
  return b >= 0x81 && b <= 0xFE;
}
constexpr bool IsGbkTrail(unsigned char b) {
  return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

inline std::vector<GbkChar> DecodeGbkChars(const std::string& bytes) {
  std::vector<GbkChar> out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (IsGbkLead(b) && i + 1 < bytes.size() &&
        IsGbkTrail(static_cast<unsigned char>(bytes[i + 1]))) {
      out.push_back(static_cast<GbkChar>(b << 8 | static_cast<unsigned char>(bytes[i + 1])));
      ++i;
    } else {
      out.push_back(b);
    }
  }
  return out;
}

inline void AppendGbkChar(std::string& out, GbkChar c) {
  if (c > 0xFF) out.push_back(static_cast<char>(c >> 8));
  out.push_back(static_cast<char>(c & 0xFF));
}

// Byte offset where the character before byte offset pos starts.
inline std::size_t PreviousCharStart(const std::string& bytes, std::size_t pos) {
  std::size_t i = 0;
  std::size_t last = 0;
  while (i < pos && i < bytes.size()) {
    last = i;
    const auto b = static_cast<unsigned char>(bytes[i]);
    const bool pair = IsGbkLead(b) && i + 1 < bytes.size() &&
                      IsGbkTrail(static_cast<unsigned char>(bytes[i + 1]));
    i += pair ? 2 : 1;
  }
  return last;
}

// Byte length of the character starting at byte offset pos.
inline std::size_t CharLengthAt(const std::string& bytes, std::size_t pos) {
  if (pos >= bytes.size()) return 0;
  const auto b = static_cast<unsigned char>(bytes[pos]);
  return (IsGbkLead(b) && pos + 1 < bytes.size() &&
          IsGbkTrail(static_cast<unsigned char>(bytes[pos + 1])))
             ? 2
             : 1;
}

}  // namespace kelmor::platform
