// The variant commands of the tree-view module: assigning, emptying, retyping and filling OLE
// variants (platform/variant.h) from the runtime's values and arrays. Texts cross to the
// variant's UTF-16 through the codec. Uses the platform's variants, the codec and arrays.
//
// The caller owns every VARIANT passed in; a command changes it in place, and what it replaces
// is cleared (the variant owns all it holds, so nothing leaks). No state between calls.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/variant.h"
#include "runtime/array.h"
#include "runtime/value.h"

namespace kelmor {

// target := a copy of source.
void VariantAssign(platform::VARIANT& target, const platform::VARIANT& source);
// Cleared and empty.
void VariantEmpty(platform::VARIANT& variant);
// Cleared, then converted to the type of the code: 0 empty, 1 I4, 2 BSTR, 3 BOOL, 4 DATE,
// 5 DISPATCH, 6 ERROR, 7-12 those as arrays, 13 an array of variants; other codes false.
bool VariantSetType(platform::VARIANT& variant, std::int32_t code);
// Without an element index: the variant becomes the value (a byte string becomes a UI1 array).
// With one: the value is stored at that 1-based position over all dimensions of the array that
// the variant holds; false when it holds none or the position is outside it.
bool VariantSetValue(platform::VARIANT& variant, const Value& value,
                     std::optional<std::int64_t> element_index = std::nullopt);
// An array of 32-bit integers becomes a one-dimensional I4 array.
bool VariantSetValue(platform::VARIANT& variant, const Array<std::int32_t>& values);

}  // namespace kelmor
