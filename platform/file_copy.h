// Writing files under GBK names, which are converted to the operating system's UTF-8 (a name
// that is not GBK fails): CopyFileA, and WriteFileReplacingA, through which every file the
// program writes whole is made. Uses POSIX files and glibc iconv; no state.
//
// REQUIRES: names are zero-terminated GBK texts. Each file is made in a temporary file beside
// the target, owned by the call, renamed over the target only when it is complete and removed
// when it is not.
#pragma once

#include <functional>
#include <string>

#include "platform/win_types.h"

namespace kelmor::platform {

// Copies a file (GBK names). With failIfExists false an existing target is overwritten. The copy
// is written beside the target and renamed over it, so a failed copy never leaves a half-written
// target. FALSE on any failure.
BOOL CopyFileA(const char* existingFileName, const char* newFileName, BOOL failIfExists);

// Fills a temporary file beside `fileName` and renames it over `fileName`. `write` is given the
// temporary's name (UTF-8, for the operating system) and fills it; false, with `reason` set,
// when it could not. The file gets the permissions a new file gets (0666 less the umask).
// FALSE on any failure, with `reason` (GBK; the system's error text where it has one): the
// target is then as it was before and no temporary is left.
using FileWriter = std::function<bool(const std::string& temporary_utf8, std::string& reason)>;
BOOL WriteFileReplacingA(const char* fileName, const FileWriter& write, std::string* reason);

}  // namespace kelmor::platform
