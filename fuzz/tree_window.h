// A loaded window holding one tree box, made once per process for the tree targets.
#pragma once

#include "runtime/window_framework.h"

namespace kelmor::fuzz {

ControlRef FuzzTree();
// The control number of the tree box in its window (for TreeViewAccessor::Bind).
inline constexpr int kFuzzTreeControl = 0;

}  // namespace kelmor::fuzz
