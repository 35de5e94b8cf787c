#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace kelmor {

// Local text (GBK, code page 936) to UTF-8: through UTF-16 one unit at a time. Empty in, empty
// out; nullopt when any byte is not GBK (the whole conversion fails).
std::optional<std::string> LocalToUtf8(std::string_view gbk);

// UTF-8 to local text: only 1- to 3-byte sequences are accepted; a bad lead, a bad continuation,
// a truncated sequence or a character that GBK cannot hold fails the whole conversion.
std::optional<Text> Utf8ToLocal(std::string_view utf8);

}  // namespace kelmor
