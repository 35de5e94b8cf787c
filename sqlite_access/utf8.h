// The text boundary of the library: every text going into SQLite is converted from local text
// (GBK) to UTF-8, every text coming out is converted back, through the runtime's codec.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace kelmor::sqlite {

// Local text to UTF-8; nullopt when the text cannot be converted. Plain ASCII is the same in
// both encodings and is passed through without a round trip through the codec.
std::optional<std::string> ToUtf8(std::string_view local);

// UTF-8 to local text; nullopt when the bytes do not decode or GBK cannot hold a character.
std::optional<Text> ToLocal(std::string_view utf8);

// UTF-8 to local text where a failed conversion reads as the empty text (column values, names).
Text ToLocalOrEmpty(const char* utf8);

}  // namespace kelmor::sqlite
