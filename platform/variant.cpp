#include "platform/variant.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace kelmor::platform {

VARIANT::VARIANT(const VARIANT& other) {
  VariantCopy(this, &other);
}

VARIANT& VARIANT::operator=(const VARIANT& other) {
  if (this != &other) VariantCopy(this, &other);
  return *this;
}

VARIANT::~VARIANT() = default;

void VariantInit(VARIANT* v) {
  if (!v) return;
  *v = VARIANT();
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  v->vt = VT_EMPTY;
  v->intVal = 0;
  v->dblVal = 0;
  v->bstrVal.clear();
  v->parray.reset();
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  VARIANT copy;
  copy.vt = src->vt;
  copy.intVal = src->intVal;
  copy.dblVal = src->dblVal;
  copy.bstrVal = src->bstrVal;
  if (src->parray) copy.parray = std::make_unique<SAFEARRAY>(*src->parray);
  *dest = std::move(copy);
  return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
  return VariantCopy(dest, src);
}

namespace {

bool IsNumeric(VARTYPE vt) {
  return vt == VT_I2 || vt == VT_I4 || vt == VT_UI1 || vt == VT_BOOL || vt == VT_ERROR;
}
bool IsReal(VARTYPE vt) {
  return vt == VT_R4 || vt == VT_R8 || vt == VT_DATE;
}

std::u16string ToUtf16(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

HRESULT Deliver(VARIANT* dest, VARIANT& out) {
  *dest = std::move(out);
  return S_OK;
}

// An array converts only from Empty (to an empty array) or from an array of the same type.
HRESULT ChangeToArray(VARIANT* dest, const VARIANT* src, VARTYPE vt) {
  VARIANT out;
  out.vt = vt;
  if (src->vt == VT_EMPTY) {
    out.parray = SafeArrayCreate(static_cast<VARTYPE>(vt & ~VT_ARRAY), 0, nullptr);
  } else if (src->vt == vt && src->parray) {
    out.parray = std::make_unique<SAFEARRAY>(*src->parray);
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  return Deliver(dest, out);
}

// Kinds that convert through a number: Empty (zero), the whole and real numbers, and text.
bool IsScalar(VARTYPE vt) {
  return vt == VT_EMPTY || IsNumeric(vt) || IsReal(vt) || vt == VT_BSTR;
}

struct Number {
  double real = 0;
  std::int64_t whole = 0;
};

// False when a text is not a number as a whole.
bool ReadNumber(const VARIANT& src, Number& n) {
  if (IsNumeric(src.vt)) {
    n.whole = src.intVal;
    n.real = static_cast<double>(n.whole);
  } else if (IsReal(src.vt)) {
    n.real = src.dblVal;
    n.whole = static_cast<std::int64_t>(std::llround(n.real));
  } else if (src.vt == VT_BSTR) {
    std::string ascii(src.bstrVal.begin(), src.bstrVal.end());
    char* end = nullptr;
    n.real = std::strtod(ascii.c_str(), &end);
    if (ascii.empty() || *end != '\0') return false;
    n.whole = static_cast<std::int64_t>(std::llround(n.real));
  }
  return true;
}

// Whether a number fits a whole type's range; the real part is looked at first, as a real too
// large for 64 bits has no meaningful rounded whole.
bool Fits(const Number& n, std::int64_t low, std::int64_t high) {
  if (!(n.real >= static_cast<double>(low) - 1.0 && n.real <= static_cast<double>(high) + 1.0)) {
    return false;
  }
  return n.whole >= low && n.whole <= high;
}

HRESULT StoreWhole(VARIANT& out, const Number& n, std::int64_t low, std::int64_t high) {
  if (!Fits(n, low, high)) return DISP_E_OVERFLOW;
  out.intVal = n.whole;
  return S_OK;
}

HRESULT StoreNumber(VARIANT& out, const Number& n, VARTYPE from) {
  constexpr std::int64_t kInt32Low = -2147483648LL;
  constexpr std::int64_t kInt32High = 2147483647LL;
  switch (out.vt) {
    case VT_EMPTY:
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return S_OK;
    case VT_I2:
      return StoreWhole(out, n, -32768, 32767);
    case VT_UI1:
      return StoreWhole(out, n, 0, 255);
    case VT_I4:
    case VT_ERROR:
      return StoreWhole(out, n, kInt32Low, kInt32High);
    case VT_BOOL:
      out.intVal = (n.whole != 0 || n.real != 0) ? -1 : 0;
      return S_OK;
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      out.dblVal = n.real;
      return S_OK;
    case VT_BSTR:
      out.bstrVal = from == VT_EMPTY ? BSTR()
                    : IsReal(from)   ? ToUtf16(std::to_string(n.real))
                                     : ToUtf16(std::to_string(n.whole));
      return S_OK;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t, VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  if (vt & VT_ARRAY) return ChangeToArray(dest, src, vt);
  VARIANT out;
  out.vt = vt;
  if (src->vt == VT_BSTR && vt == VT_BSTR) {
    out.bstrVal = src->bstrVal;
    return Deliver(dest, out);
  }
  if (!IsScalar(src->vt)) {
    if (src->vt != vt) return DISP_E_TYPEMISMATCH;
    VariantCopy(&out, src);
    return Deliver(dest, out);
  }
  Number n;
  if (!ReadNumber(*src, n)) return DISP_E_TYPEMISMATCH;
  const HRESULT hr = StoreNumber(out, n, src->vt);
  return hr == S_OK ? Deliver(dest, out) : hr;
}

BSTR SysAllocString(const char16_t* text) {
  return text ? BSTR(text) : BSTR();
}

std::uint32_t SysStringLen(const BSTR& text) {
  return static_cast<std::uint32_t>(text.size());
}

std::unique_ptr<SAFEARRAY> SafeArrayCreate(VARTYPE vt, std::uint32_t dims,
                                           const SAFEARRAYBOUND* bounds) {
  auto array = std::make_unique<SAFEARRAY>();
  array->vt = vt;
  std::size_t count = dims == 0 ? 0 : 1;
  for (std::uint32_t d = 0; d < dims; ++d) {
    array->bounds.push_back(bounds[d]);
    count *= bounds[d].cElements;
  }
  VARIANT empty;
  empty.vt = vt;
  array->elements.assign(count, empty);
  return array;
}

namespace {

bool Offset(const SAFEARRAY* array, const LONG* indices, std::size_t& offset) {
  if (!array || !indices) return false;
  offset = 0;
  std::size_t stride = 1;
  for (std::size_t d = 0; d < array->bounds.size(); ++d) {
    std::int64_t i = static_cast<std::int64_t>(indices[d]) - array->bounds[d].lLbound;
    if (i < 0 || i >= array->bounds[d].cElements) return false;
    offset += static_cast<std::size_t>(i) * stride;
    stride *= array->bounds[d].cElements;
  }
  return offset < array->elements.size();
}

}  // namespace

HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, const VARIANT& value) {
  std::size_t offset;
  if (!Offset(array, indices, offset)) return DISP_E_BADINDEX;
  if (array->vt == VT_VARIANT) {
    array->elements[offset] = value;
    return S_OK;
  }
  VARIANT converted;
  HRESULT hr = VariantChangeType(&converted, &value, 0, array->vt);
  if (hr != S_OK) return hr;
  array->elements[offset] = std::move(converted);
  return S_OK;
}

HRESULT SafeArrayGetElement(const SAFEARRAY* array, const LONG* indices, VARIANT* value) {
  std::size_t offset;
  if (!value || !Offset(array, indices, offset)) return DISP_E_BADINDEX;
  return VariantCopy(value, &array->elements[offset]);
}

std::uint32_t SafeArrayGetDim(const SAFEARRAY* array) {
  return array ? static_cast<std::uint32_t>(array->bounds.size()) : 0;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* array, std::uint32_t dim, LONG* bound) {
  if (!array || !bound || dim < 1 || dim > array->bounds.size()) return DISP_E_BADINDEX;
  *bound = array->bounds[dim - 1].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* array, std::uint32_t dim, LONG* bound) {
  if (!array || !bound || dim < 1 || dim > array->bounds.size()) return DISP_E_BADINDEX;
  *bound = array->bounds[dim - 1].lLbound + static_cast<LONG>(array->bounds[dim - 1].cElements) - 1;
  return S_OK;
}

}  // namespace kelmor::platform
