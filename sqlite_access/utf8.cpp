#include "sqlite_access/utf8.h"

#include "runtime/codec.h"

namespace kelmor::sqlite {
namespace {

bool IsAscii(std::string_view s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> ToUtf8(std::string_view local) {
  if (IsAscii(local)) return std::string(local);
  return LocalToUtf8(local);
}

std::optional<Text> ToLocal(std::string_view utf8) {
  if (IsAscii(utf8)) return Text(utf8);
  return Utf8ToLocal(utf8);
}

Text ToLocalOrEmpty(const char* utf8) {
  if (!utf8) return Text();
  std::optional<Text> local = ToLocal(utf8);
  return local ? std::move(*local) : Text();
}

}  // namespace kelmor::sqlite
