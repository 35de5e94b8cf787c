#include "runtime/text_commands.h"

#include <vector>

#include "platform/gbk_chars.h"

namespace kelmor {

namespace {

using platform::IsGbkLead;

// One character of a text: its start and its length in bytes (1, or 2 for a double-byte
// character; a lead byte at the very end counts as one byte).
struct Char {
  std::size_t start, size;
  bool IsSpace(const Text& t) const {
    if (size == 1) return t[start] == ' ';
    return static_cast<unsigned char>(t[start]) == 0xA1 &&
           static_cast<unsigned char>(t[start + 1]) == 0xA1;
  }
};

std::vector<Char> Chars(const Text& t) {
  std::vector<Char> chars;
  chars.reserve(t.size());
  for (std::size_t i = 0; i < t.size();) {
    std::size_t n = IsGbkLead(static_cast<unsigned char>(t[i])) && i + 1 < t.size() ? 2 : 1;
    chars.push_back({i, n});
    i += n;
  }
  return chars;
}

template <class Map>
Text MapAscii(const Text& text, Map map) {
  Text out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsGbkLead(c)) {
      ++i;  // the second byte of a double-byte character is never a letter to change
    } else {
      out[i] = map(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace

std::int32_t TextLength(const Text& text) {
  return static_cast<std::int32_t>(text.size());
}

Text LeftText(const Text& text, std::int32_t count) {
  if (count <= 0) return Text();
  return text.substr(0, static_cast<std::size_t>(count));
}

Text ToUpper(const Text& text) {
  return MapAscii(text,
                  [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
}

Text ToLower(const Text& text) {
  return MapAscii(text,
                  [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
}

Text TrimSpaces(const Text& text) {
  std::vector<Char> chars = Chars(text);
  std::size_t first = 0, last = chars.size();
  while (first < last && chars[first].IsSpace(text)) ++first;
  while (last > first && chars[last - 1].IsSpace(text)) --last;
  if (first == last) return Text();
  std::size_t begin = chars[first].start;
  std::size_t end = chars[last - 1].start + chars[last - 1].size;
  return text.substr(begin, end - begin);
}

Text RemoveSpaces(const Text& text) {
  Text out;
  out.reserve(text.size());
  for (const Char& c : Chars(text)) {
    if (!c.IsSpace(text)) out.append(text, c.start, c.size);
  }
  return out;
}

Text SpaceText(std::int32_t count) {
  return count < 1 ? Text() : Text(static_cast<std::size_t>(count), ' ');
}

}  // namespace kelmor
