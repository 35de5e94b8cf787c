// The file commands the book calls: copying a file and the program folder. Names are GBK texts;
// they are converted for the operating system by the platform's CopyFileA and by the codec.
// Uses the platform's file copy, the codec and POSIX (readlink of /proc/self/exe).
//
// Every text returned is a fresh copy owned by the caller. No state is kept between calls.
#pragma once

#include "runtime/value.h"

namespace kelmor {

// Copies a file, overwriting an existing target; false on failure.
bool FileCopy(const Text& source, const Text& target);

// The folder of the running executable, without a trailing separator; empty when its path
// holds a character GBK cannot represent (or cannot be read).
Text ProgramDirectory();

// A file name inside the program folder: ProgramDirectory() + "/" + name; empty without one.
Text ProgramFile(const Text& name);

}  // namespace kelmor
