#include "lookup/terminal_text.h"

#include "runtime/codec.h"

namespace kelmor::lookup {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Each line break of `text` (CR LF, CR, LF) replaced by `with`.
Text ReplaceLineBreaks(const Text& text, std::string_view with) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += with;
    } else if (text[i] == '\n') {
      out += with;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string ToUtf8(std::string_view gbk) {
  const std::u16string units = GbkToUtf16Lenient(gbk);
  std::string out;
  out.reserve(units.size() * 3);
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone half of a pair
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string PageToUtf8(const Text& page) {
  return ToUtf8(ReplaceLineBreaks(page, "\n"));
}

std::string CellToUtf8(const Text& cell) {
  Text flat = ReplaceLineBreaks(cell, " ");
  for (char& c : flat) {
    if (c == '\t') c = ' ';
  }
  return ToUtf8(flat);
}

}  // namespace kelmor::lookup
