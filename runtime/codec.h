// The one text converter of the program: GBK (code page 936) to and from UTF-16 through glibc
// iconv, with the UTF-8 step done by hand. Every boundary (SQLite, what is shown and typed,
// file names) goes through here so that they all agree on what GBK is. Part of runtime_core.
//
// Each thread keeps its own two iconv converters, opened on first use and closed when the thread
// ends, so any thread may convert. Every result is a fresh copy owned by the caller.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace kelmor {

// Local text (GBK, code page 936) to UTF-8: through UTF-16 one unit at a time. Empty in, empty
// out; nullopt when any byte is not GBK (the whole conversion fails). The text ends at its
// first zero byte, as a C string does.
std::optional<std::string> LocalToUtf8(std::string_view gbk);

// UTF-8 to local text: only 1- to 3-byte sequences in their shortest form are accepted; a bad
// lead, an overlong form, a bad continuation, a truncated sequence or a character that GBK cannot
// hold fails the whole conversion.
std::optional<Text> Utf8ToLocal(std::string_view utf8);

// Strict GBK to UTF-16: nullopt when any byte sequence is not GBK.
std::optional<std::u16string> GbkToUtf16(std::string_view gbk);

// For the display: never fails. A byte sequence that is not GBK (a double-byte character cut
// in half, a stray byte) becomes one U+FFFD and decoding goes on after it.
std::u16string GbkToUtf16Lenient(std::string_view gbk);

// UTF-16 to GBK: nullopt when any unit (a lone surrogate, a character outside GBK) cannot be
// represented, so that nothing is silently changed.
std::optional<Text> Utf16ToGbk(std::u16string_view utf16);

}  // namespace kelmor
