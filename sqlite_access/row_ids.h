// The row ids of a table, loaded once in ascending order as SQLite renders them. When every id is
// a plain decimal integer (the normal case) they are kept as numbers, so that looking one up is a
// binary search and reading by row id can bind the number; otherwise they are kept as texts and
// compared byte by byte. Either way a lookup gives the first equal entry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor::sqlite {

class RowIds {
 public:
  void Clear();
  // Appends the next id as SQLite rendered it (null for a NULL cell).
  void Append(const char* text);
  // Called once after the last Append.
  void Finish();

  std::int32_t size() const { return static_cast<std::int32_t>(count_); }
  bool numeric() const { return numeric_; }
  // The 1-based position of the first id equal to text, 0 when there is none.
  std::int32_t Find(std::string_view text) const;
  // The text of the id at a 1-based position (valid positions only).
  std::string TextAt(std::int32_t position) const;
  // The number of the id at a 1-based position; only when numeric().
  std::int64_t NumberAt(std::int32_t position) const { return numbers_[position - 1]; }

 private:
  bool numeric_ = true;
  std::size_t count_ = 0;
  std::vector<std::int64_t> numbers_;
  std::vector<std::string> texts_;  // filled only once an id is not a plain integer
};

// The value of a decimal integer written exactly as SQLite renders one (optional '-', no leading
// zeros, no '+', within 64 bits); nullopt for any other text.
std::optional<std::int64_t> ParseCanonicalInteger(std::string_view text);

}  // namespace kelmor::sqlite
