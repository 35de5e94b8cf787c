#include "fuzz/targets.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace kelmor::fuzz {

std::span<const Target> Targets() {
  static constexpr std::array<Target, 7> kTargets = {{
      {"pack", FuzzPack},
      {"tree_content", FuzzTreeContent},
      {"parse_content", FuzzParseContent},
      {"codec", FuzzCodec},
      {"memory_file", FuzzMemoryFile},
      {"table_find", FuzzTableFind},
      {"entry_view", FuzzEntryView},
  }};
  return kTargets;
}

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property violated: %s\n", what);
  std::abort();
}

}  // namespace kelmor::fuzz
