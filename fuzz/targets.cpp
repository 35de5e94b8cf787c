#include "fuzz/targets.h"

#include <array>

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

}  // namespace kelmor::fuzz
