// The text commands the book calls: byte lengths and cuts, ASCII case, spaces. Texts are GBK
// bytes; where a command says "double-byte aware" it never splits a double-byte character.
// Pure functions on the runtime's values; every text returned is a fresh copy.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace kelmor {

// Length in bytes; a double-byte character counts 2.
std::int32_t TextLength(const Text& text);
// The first min(count, length) bytes; counts bytes, so it can cut a double-byte character.
Text LeftText(const Text& text, std::int32_t count);
// ASCII letters only; both bytes of a double-byte character stay as they are.
Text ToUpper(const Text& text);
Text ToLower(const Text& text);
// Half-width (0x20) and full-width (A1 A1) spaces, double-byte aware.
Text TrimSpaces(const Text& text);
Text RemoveSpaces(const Text& text);
Text SpaceText(std::int32_t count);

}  // namespace kelmor
