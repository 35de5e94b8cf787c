// Array values: elements in one block with one or more dimensions and 1-based subscripts, and
// ChooseByIndex. A bad subscript, dimension or index is a run-time error (runtime/fatal.h): the
// process ends, nothing is returned. Header only; uses the C++ standard library and the
// run-time error path.
//
// An Array owns its elements and copies like a value. REQUIRES for operator[]: an index below
// size() that the caller has checked; At() checks for itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "runtime/fatal.h"

namespace kelmor {

// The run-time error codes that arrays raise.
inline constexpr int kErrorSubscriptOutOfRange = 1;
inline constexpr int kErrorSubscriptBelowOne = 4;
inline constexpr int kErrorChoiceIndex = 9;
inline constexpr int kErrorBadDimension = 10;

// An array value: elements in one block, one or more dimensions, 1-based subscripts through
// At(). operator[] is the 0-based internal access for code that has checked its index.
template <class T>
class Array {
 public:
  Array() : dims_{0} {}
  explicit Array(std::size_t n, const T& value = T())
      : dims_{static_cast<std::int32_t>(n)}, elems_(n, value) {}

  // Several dimensions; the first varies fastest. A negative size is run-time error 10, as is
  // a zero size when there is more than one dimension.
  static Array WithDimensions(const std::vector<std::int32_t>& dims) {
    std::size_t count = dims.empty() ? 0 : 1;
    for (std::int32_t d : dims) {
      if (d < 0 || (d == 0 && dims.size() > 1)) RaiseRuntimeError(kErrorBadDimension);
      count *= static_cast<std::size_t>(d);
    }
    Array a;
    a.dims_ = dims;
    a.elems_.resize(count);
    return a;
  }

  const std::vector<std::int32_t>& dimensions() const { return dims_; }
  std::size_t size() const { return elems_.size(); }
  bool empty() const { return elems_.empty(); }

  // 1-based: subscript 0 (or below) is error 4, past the end error 1, checked in that order.
  T& At(std::int64_t i) { return elems_[Checked(i)]; }
  const T& At(std::int64_t i) const { return elems_[Checked(i)]; }

  T& operator[](std::size_t i) { return elems_[i]; }
  const T& operator[](std::size_t i) const { return elems_[i]; }

  // Changes a one-dimensional size; negative is run-time error 10.
  void Resize(std::int64_t n) {
    if (n < 0) RaiseRuntimeError(kErrorBadDimension);
    elems_.resize(static_cast<std::size_t>(n));
    dims_ = {static_cast<std::int32_t>(n)};
  }
  void push_back(T value) {
    elems_.push_back(std::move(value));
    dims_ = {static_cast<std::int32_t>(elems_.size())};
  }
  void erase(std::size_t i) {
    elems_.erase(elems_.begin() + static_cast<std::ptrdiff_t>(i));
    dims_ = {static_cast<std::int32_t>(elems_.size())};
  }
  void clear() {
    elems_.clear();
    dims_ = {0};
  }
  void assign(std::size_t n, const T& value) {
    elems_.assign(n, value);
    dims_ = {static_cast<std::int32_t>(n)};
  }
  void reserve(std::size_t n) { elems_.reserve(n); }

  auto begin() { return elems_.begin(); }
  auto end() { return elems_.end(); }
  auto begin() const { return elems_.begin(); }
  auto end() const { return elems_.end(); }
  const std::vector<T>& elements() const { return elems_; }

  friend bool operator==(const Array&, const Array&) = default;

 private:
  std::size_t Checked(std::int64_t i) const {
    if (i - 1 < 0) RaiseRuntimeError(kErrorSubscriptBelowOne);
    if (static_cast<std::uint64_t>(i - 1) >= elems_.size())
      RaiseRuntimeError(kErrorSubscriptOutOfRange);
    return static_cast<std::size_t>(i - 1);
  }

  std::vector<std::int32_t> dims_;
  std::vector<T> elems_;
};

// Chooses one of the given values by a 1-based index; outside 1 .. n is run-time error 9.
template <class T>
const T& ChooseByIndex(std::int64_t index, const std::vector<T>& choices) {
  if (index < 1 || static_cast<std::uint64_t>(index) > choices.size()) {
    RaiseRuntimeError(kErrorChoiceIndex);
  }
  return choices[static_cast<std::size_t>(index - 1)];
}

}  // namespace kelmor
