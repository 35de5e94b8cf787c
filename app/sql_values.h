// A value placed between single quotes in SQL has each quote doubled, so it can never end the
// literal early. In GBK a second byte is never 0x27, so a plain byte replacement is exact.
#pragma once

#include "runtime/value.h"

namespace kelmor {

inline Text DoubleQuotes(const Text& value) {
  Text out;
  out.reserve(value.size());
  for (char c : value) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

}  // namespace kelmor
