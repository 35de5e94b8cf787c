// CopyFileA: copying a file under GBK names, which are converted to the operating system's
// UTF-8 (a name that is not GBK fails the copy). Uses POSIX files and glibc iconv; no state.
//
// REQUIRES: both names are zero-terminated GBK texts. The copy is made in a temporary file
// beside the target, owned by the call and removed when it fails.
#pragma once

#include "platform/win_types.h"

namespace kelmor::platform {

// Copies a file (GBK names). With failIfExists false an existing target is overwritten. The copy
// is written beside the target and renamed over it, so a failed copy never leaves a half-written
// target. FALSE on any failure.
BOOL CopyFileA(const char* existingFileName, const char* newFileName, BOOL failIfExists);

}  // namespace kelmor::platform
