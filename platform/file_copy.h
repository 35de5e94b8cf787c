#pragma once

#include "platform/win_types.h"

namespace kelmor::platform {

// Copies a file (GBK names). With failIfExists false an existing target is overwritten. The copy
// is written beside the target and renamed over it, so a failed copy never leaves a half-written
// target. FALSE on any failure.
BOOL CopyFileA(const char* existingFileName, const char* newFileName, BOOL failIfExists);

}  // namespace kelmor::platform
