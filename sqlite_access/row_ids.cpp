#include "sqlite_access/row_ids.h"

#include <algorithm>
#include <charconv>

namespace kelmor::sqlite {

std::optional<std::int64_t> ParseCanonicalInteger(std::string_view text) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::size_t digits = text[0] == '-' ? 1 : 0;
  if (digits == text.size()) return std::nullopt;
  if (text[digits] == '0' && text.size() > digits + 1) return std::nullopt;
  if (text == "-0") return std::nullopt;
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

void RowIds::Clear() {
  numeric_ = true;
  count_ = 0;
  numbers_.clear();
  texts_.clear();
}

void RowIds::Append(const char* text) {
  const std::string_view t = text ? std::string_view(text) : std::string_view();
  ++count_;
  if (numeric_) {
    std::optional<std::int64_t> n = ParseCanonicalInteger(t);
    if (n && (numbers_.empty() || *n >= numbers_.back())) {
      numbers_.push_back(*n);
      return;
    }
    // From here on the ids are kept as texts.
    numeric_ = false;
    texts_.reserve(numbers_.size() + 1);
    for (std::int64_t v : numbers_) texts_.push_back(std::to_string(v));
    numbers_.clear();
    numbers_.shrink_to_fit();
  }
  texts_.emplace_back(t);
}

void RowIds::Finish() {
  numbers_.shrink_to_fit();
  texts_.shrink_to_fit();
}

std::int32_t RowIds::Find(std::string_view text) const {
  if (numeric_) {
    std::optional<std::int64_t> n = ParseCanonicalInteger(text);
    if (!n) return 0;  // no plain integer equals a text that is not one
    auto it = std::lower_bound(numbers_.begin(), numbers_.end(), *n);
    if (it == numbers_.end() || *it != *n) return 0;
    return static_cast<std::int32_t>(it - numbers_.begin()) + 1;
  }
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    if (texts_[i] == text) return static_cast<std::int32_t>(i) + 1;
  }
  return 0;
}

std::string RowIds::TextAt(std::int32_t position) const {
  if (numeric_) return std::to_string(numbers_[position - 1]);
  return texts_[position - 1];
}

}  // namespace kelmor::sqlite
