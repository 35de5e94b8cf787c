// Writing a file whole or not at all: into a temporary file in the same folder, then renamed
// over the target, so that a reader or a failure never meets a half-written file.
#pragma once

#include <string>
#include <string_view>

namespace kelmor::lookup {

// False with `error` (the operating system's reason) when the file could not be written; no
// temporary file is left behind then, and an existing target is kept as it was.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace kelmor::lookup
