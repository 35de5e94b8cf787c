// The book's texts (GBK) as a terminal or a web browser takes them: UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "runtime/value.h"

namespace kelmor::lookup {

// GBK to UTF-8. A byte sequence that is not GBK (a double-byte character cut in half by a
// summary's byte limit) becomes U+FFFD, as the window shows it; nothing else is changed.
std::string ToUtf8(std::string_view gbk);

// A page with "\n" for each of its line breaks (CR LF, or a lone CR or LF), as UTF-8.
std::string PageToUtf8(const Text& page);

// One cell of a tab-separated line: its tabs and line breaks each become one space, so that a
// row stays one line of as many cells as the window shows.
std::string CellToUtf8(const Text& cell);

}  // namespace kelmor::lookup
