#include "fuzz/targets.h"

#include <cstdio>
#include <cstdlib>

namespace kelmor::fuzz {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property violated: %s\n", what);
  std::abort();
}

}  // namespace kelmor::fuzz
