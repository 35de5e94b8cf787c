// The field selector of record sets and tables: a non-empty text selects a column by name
// (ASCII letters compared without case), a number of at least 1 selects it by 1-based position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace kelmor {

class Field {
 public:
  Field(const char* name) : Field(Text(name ? name : "")) {}  // NOLINT: implicit on purpose
  Field(Text name);                                           // NOLINT
  Field(int number) : kind_(number >= 1 ? Kind::Number : Kind::None), number_(number) {}  // NOLINT

  // A selector from a runtime value: text selects by name; byte, short, integer, long, float
  // and double by number (fractions cut off; a number beyond 32 bits selects nothing); anything
  // else selects nothing.
  static Field FromValue(const Value& value);

  bool by_name() const { return kind_ == Kind::Name; }
  bool by_number() const { return kind_ == Kind::Number; }
  const Text& name() const { return name_; }
  int number() const { return number_; }

 private:
  enum class Kind { None, Name, Number };
  Field() = default;
  Kind kind_ = Kind::None;
  Text name_;
  int number_ = 0;
};

namespace sqlite {

// Compares two names with ASCII letters folded to upper case on both sides. A GBK lead byte
// (0x81..0xFE) and the byte after it are compared unchanged (the second byte of a double-byte
// character may be an ASCII letter).
bool NamesEqualFolded(std::string_view a, std::string_view b);

// The same folding applied to one name, for names compared many times.
std::string FoldName(std::string_view name);

}  // namespace sqlite
}  // namespace kelmor
