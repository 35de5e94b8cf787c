#include <string>

#include "fuzz/targets.h"
#include "runtime/codec.h"

namespace kelmor::fuzz {

void FuzzCodec(Input input) {
  const std::string_view bytes(reinterpret_cast<const char*>(input.data()), input.size());

  // GBK in: strict and lenient agree where strict succeeds, and what converts comes back.
  const std::optional<std::u16string> units = GbkToUtf16(bytes);
  const std::u16string lenient = GbkToUtf16Lenient(bytes);
  if (units) {
    Require(lenient == *units, "lenient equals strict on GBK");
    const std::optional<Text> back = Utf16ToGbk(*units);
    Require(back && *back == bytes, "GBK -> UTF-16 -> GBK");
  }
  Require(lenient.size() <= bytes.size(), "at most one unit per byte");

  // The SQLite boundary: a local text that converts reads back as it was (up to a zero byte).
  const std::string_view local = bytes.substr(0, bytes.find('\0'));
  if (const std::optional<std::string> utf8 = LocalToUtf8(bytes)) {
    const std::optional<Text> back = Utf8ToLocal(*utf8);
    Require(back && *back == local, "local -> UTF-8 -> local");
  }

  // UTF-8 in: what converts is what a strict UTF-8 reader would read.
  if (const std::optional<Text> from_utf8 = Utf8ToLocal(bytes)) {
    const std::optional<std::string> again = LocalToUtf8(*from_utf8);
    Require(again && *again == local, "UTF-8 -> local -> UTF-8");
  }

  // UTF-16 in: units that convert come back unchanged.
  std::u16string wide(input.size() / 2, u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(input[2 * i] | input[2 * i + 1] << 8);
  }
  if (const std::optional<Text> gbk = Utf16ToGbk(wide)) {
    const std::optional<std::u16string> back = GbkToUtf16(*gbk);
    Require(back && *back == wide, "UTF-16 -> GBK -> UTF-16");
  }
}

}  // namespace kelmor::fuzz
