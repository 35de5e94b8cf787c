#include "runtime/variant_commands.h"

#include <cstdint>

#include "runtime/codec.h"

namespace kelmor {

using namespace platform;

void VariantAssign(VARIANT& target, const VARIANT& source) {
  VariantClear(&target);
  VariantCopy(&target, &source);
}

void VariantEmpty(VARIANT& variant) {
  VariantClear(&variant);
}

bool VariantSetType(VARIANT& variant, std::int32_t code) {
  VariantClear(&variant);
  static constexpr VARTYPE kTypes[] = {VT_I4, VT_BSTR, VT_BOOL, VT_DATE, VT_DISPATCH, VT_ERROR};
  VARTYPE vt;
  if (code == 0) return true;
  if (code >= 1 && code <= 6) {
    vt = kTypes[code - 1];
  } else if (code >= 7 && code <= 12) {
    vt = static_cast<VARTYPE>(kTypes[code - 7] | VT_ARRAY);
  } else if (code == 13) {
    vt = static_cast<VARTYPE>(VT_ARRAY | VT_VARIANT);
  } else {
    return false;
  }
  VARIANT empty;
  return VariantChangeType(&variant, &empty, 0, vt) == S_OK;
}

namespace {

// The variant form of one basic value; false for kinds a variant cannot hold.
bool ScalarVariant(const Value& value, VARIANT& out) {
  const Value::Storage& v = value.storage();
  VariantClear(&out);
  switch (v.index()) {
    case 1:
      out.vt = VT_UI1;
      out.intVal = std::get<1>(v);
      return true;
    case 2:
      out.vt = VT_I2;
      out.intVal = std::get<2>(v);
      return true;
    case 3:
      out.vt = VT_I4;
      out.intVal = std::get<3>(v);
      return true;
    case 4:
      out.vt = VT_I4;  // its low 32 bits
      out.intVal = static_cast<std::int32_t>(static_cast<std::uint32_t>(std::get<4>(v)));
      return true;
    case 5:
      out.vt = VT_R4;
      out.dblVal = std::get<5>(v);
      return true;
    case 6:
      out.vt = VT_R8;
      out.dblVal = std::get<6>(v);
      return true;
    case 7:
      out.vt = VT_BOOL;
      out.intVal = std::get<7>(v) ? -1 : 0;
      return true;
    case 8:
      out.vt = VT_DATE;
      out.dblVal = std::get<8>(v).days;
      return true;
    case 9: {
      std::optional<std::u16string> units = GbkToUtf16(std::get<9>(v));
      if (!units) return false;
      out.vt = VT_BSTR;
      out.bstrVal = SysAllocString(units->c_str());
      return true;
    }
    default:
      return false;
  }
}

// A 1-based position over all dimensions, the first varying fastest, as indices from each
// dimension's lower bound.
bool IndicesOf(const SAFEARRAY& array, std::int64_t position, std::vector<LONG>& indices) {
  if (position < 1 || static_cast<std::uint64_t>(position) > array.elements.size()) return false;
  std::uint64_t rest = static_cast<std::uint64_t>(position - 1);
  indices.clear();
  for (const SAFEARRAYBOUND& b : array.bounds) {
    indices.push_back(b.lLbound + static_cast<LONG>(rest % b.cElements));
    rest /= b.cElements;
  }
  return true;
}

}  // namespace

bool VariantSetValue(VARIANT& variant, const Value& value,
                     std::optional<std::int64_t> element_index) {
  if (element_index) {
    if (!(variant.vt & VT_ARRAY) || !variant.parray) return false;
    VARIANT element;
    if (const Bytes* bytes = value.get_if<Bytes>()) {
      if (variant.parray->vt != VT_VARIANT) return false;
      VariantSetValue(element, Value::FromBytes(*bytes));
    } else if (const auto* whole = value.get_if<std::int64_t>();
               whole && (*whole < INT32_MIN || *whole > INT32_MAX)) {
      return false;  // a long's low 32 bits would be stored as another number
    } else if (!ScalarVariant(value, element)) {
      return false;
    }
    std::vector<LONG> indices;
    if (!IndicesOf(*variant.parray, *element_index, indices)) return false;
    return SafeArrayPutElement(variant.parray.get(), indices.data(), element) == S_OK;
  }
  VariantClear(&variant);
  if (const Bytes* bytes = value.get_if<Bytes>()) {
    SAFEARRAYBOUND bound{static_cast<std::uint32_t>(bytes->size()), 0};
    variant.parray = SafeArrayCreate(VT_UI1, 1, &bound);
    for (std::size_t i = 0; i < bytes->size(); ++i) {
      variant.parray->elements[i].intVal = (*bytes)[i];
    }
    variant.vt = VT_ARRAY | VT_UI1;
    return true;
  }
  return ScalarVariant(value, variant);
}

bool VariantSetValue(VARIANT& variant, const Array<std::int32_t>& values) {
  VariantClear(&variant);
  SAFEARRAYBOUND bound{static_cast<std::uint32_t>(values.size()), 0};
  variant.parray = SafeArrayCreate(VT_I4, 1, &bound);
  for (std::size_t i = 0; i < values.size(); ++i) variant.parray->elements[i].intVal = values[i];
  variant.vt = VT_ARRAY | VT_I4;
  return true;
}

}  // namespace kelmor
