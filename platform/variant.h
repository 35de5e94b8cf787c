// OLE Automation variants, BSTRs and safe arrays, with the few functions the variant commands
// call, under their Windows names and result codes. Plain C++: a VARIANT is a value type that
// owns what it holds (a BSTR is a u16string, a SAFEARRAY a unique_ptr), so copying copies,
// assigning clears what was there and destruction frees everything; there is no reference
// counting and no allocator to pair.
//
// REQUIRES: pointer arguments point to objects owned by the caller (null gives E_INVALIDARG
// where the Windows function does). No state; any thread, one object at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace kelmor::platform {

using VARTYPE = std::uint16_t;
using HRESULT = std::int32_t;
using BSTR = std::u16string;  // owned UTF-16 text; its length is the BSTR length

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
inline constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
inline constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000A);

enum : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_UI1 = 17,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
};

struct SAFEARRAYBOUND {
  std::uint32_t cElements = 0;
  LONG lLbound = 0;
};

struct SAFEARRAY;

// An OLE variant with value semantics: copying copies (VariantCopy), destruction clears.
struct VARIANT {
  VARTYPE vt = VT_EMPTY;
  std::int64_t intVal = 0;            // VT_I2, VT_I4, VT_BOOL (-1/0), VT_UI1, VT_ERROR
  double dblVal = 0;                  // VT_R4, VT_R8, VT_DATE
  BSTR bstrVal;                       // VT_BSTR
  std::unique_ptr<SAFEARRAY> parray;  // VT_ARRAY | element type

  VARIANT() = default;
  VARIANT(const VARIANT& other);
  VARIANT& operator=(const VARIANT& other);
  VARIANT(VARIANT&&) noexcept = default;
  VARIANT& operator=(VARIANT&&) noexcept = default;
  ~VARIANT();
};

struct SAFEARRAY {
  VARTYPE vt = VT_EMPTY;               // element type
  std::vector<SAFEARRAYBOUND> bounds;  // first dimension first
  std::vector<VARIANT> elements;       // the first dimension varies fastest
};

void VariantInit(VARIANT* v);
HRESULT VariantClear(VARIANT* v);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
// Converts between the scalar types used here (I2, I4, R4, R8, DATE, BOOL, UI1, BSTR, ERROR) and
// turns an empty variant into an empty value or an empty array of any type.
// A number that the target type cannot hold (70000 as VT_UI1) gives DISP_E_OVERFLOW and leaves
// dest as it was.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t flags, VARTYPE vt);

BSTR SysAllocString(const char16_t* text);
std::uint32_t SysStringLen(const BSTR& text);

std::unique_ptr<SAFEARRAY> SafeArrayCreate(VARTYPE vt, std::uint32_t dims,
                                           const SAFEARRAYBOUND* bounds);
// indices: one per dimension, each from its lower bound. value must convert to the element type.
HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, const VARIANT& value);
HRESULT SafeArrayGetElement(const SAFEARRAY* array, const LONG* indices, VARIANT* value);
std::uint32_t SafeArrayGetDim(const SAFEARRAY* array);
HRESULT SafeArrayGetLBound(const SAFEARRAY* array, std::uint32_t dim, LONG* bound);
HRESULT SafeArrayGetUBound(const SAFEARRAY* array, std::uint32_t dim, LONG* bound);

}  // namespace kelmor::platform
