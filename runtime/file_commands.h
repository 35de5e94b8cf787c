#pragma once

#include "runtime/value.h"

namespace kelmor {

// Copies a file, overwriting an existing target; false on failure.
bool FileCopy(const Text& source, const Text& target);

// The folder of the running executable, without a trailing separator.
Text ProgramDirectory();

// A file name inside the program folder: ProgramDirectory() + "/" + name.
Text ProgramFile(const Text& name);

}  // namespace kelmor
