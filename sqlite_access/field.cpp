#include "sqlite_access/field.h"

#include <cmath>
#include <type_traits>
#include <variant>

#include "platform/gbk_chars.h"

namespace kelmor {

Field::Field(Text name) {
  if (!name.empty()) {
    kind_ = Kind::Name;
    name_ = std::move(name);
  }
}

Field Field::FromValue(const Value& value) {
  return std::visit(
      [](const auto& v) -> Field {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Text>) {
          return Field(v);
        } else if constexpr (std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t> ||
                             std::is_same_v<T, std::int32_t>) {
          return Field(static_cast<int>(v));
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          // Cut to 32 bits, 2^32 + 1 would select column 1.
          if (v < INT32_MIN || v > INT32_MAX) return Field();
          return Field(static_cast<int>(v));
        } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
          // Out of the 32-bit range (or not a number) there is no sensible column number.
          const double d = std::trunc(static_cast<double>(v));
          if (!(d >= -2147483648.0 && d <= 2147483647.0)) return Field();
          return Field(static_cast<int>(d));
        } else {
          return Field();
        }
      },
      value.storage());
}

namespace sqlite {
namespace {

// Folds name in place-free fashion: calls emit(byte) for every byte of the folded name.
template <class Emit>
void Fold(std::string_view name, Emit emit) {
  bool keep_next = false;
  for (unsigned char c : name) {
    if (keep_next) {
      keep_next = false;
      emit(c);
    } else if (platform::IsGbkLead(c)) {
      keep_next = true;
      emit(c);
    } else {
      emit(c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c);
    }
  }
}

}  // namespace

std::string FoldName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  Fold(name, [&](unsigned char c) { out.push_back(static_cast<char>(c)); });
  return out;
}

bool NamesEqualFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // Folding keeps the length, so the folded names are compared byte by byte as they are made.
  bool keep_a = false, keep_b = false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (keep_a) {
      keep_a = false;
    } else if (platform::IsGbkLead(x)) {
      keep_a = true;
    } else if (x >= 'a' && x <= 'z') {
      x = static_cast<unsigned char>(x - 'a' + 'A');
    }
    if (keep_b) {
      keep_b = false;
    } else if (platform::IsGbkLead(y)) {
      keep_b = true;
    } else if (y >= 'a' && y <= 'z') {
      y = static_cast<unsigned char>(y - 'a' + 'A');
    }
    if (x != y) return false;
  }
  return true;
}

}  // namespace sqlite
}  // namespace kelmor
