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
