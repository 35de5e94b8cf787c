// Writes a kelmor.db of any size with made-up but realistic content, for measuring the program on
// collections far larger than the sample: names of 2 to 4 characters, 功能主治 of about 80
// characters, other fields of 10 to 60. The same sizes and seed always give the same file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "runtime/value.h"

namespace kelmor::tools {

struct GeneratedSize {
  int herbs = 1000;
  int herb_categories = 20;
  int prescriptions = 100;
  int prescription_categories = 5;
  std::uint32_t seed = 1;
};

// Search terms planted in 功能主治 (GBK): kFewHitsTerm in about one herb of 200 (at least one),
// kFirstRowTerm in the first herb only. Neither character occurs anywhere else.
extern const char* const kFewHitsTerm;
extern const char* const kFirstRowTerm;

// Writes a new file (an existing one is replaced): the five tables, the category rows (first
// levels, then one row per entry in shuffled order) and the entry rows. The saved trees in lbsj
// stay empty unless save_trees, which stores both with the program's own tree build.
bool MakeGeneratedDatabase(const std::filesystem::path& target, const GeneratedSize& size,
                           bool save_trees, std::string& error);

}  // namespace kelmor::tools
