// kelmor-lookup: the book read from a terminal -- an entry's page, a search, the saved tree, the
// whole book as HTML. It opens the book read-only and never writes it.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "runtime/value.h"

namespace kelmor::lookup {

// Exit statuses.
inline constexpr int kExitFound = 0;    // found, or written
inline constexpr int kExitNothing = 1;  // nothing matched
inline constexpr int kExitBadUse = 2;   // a bad command line, or a book that cannot be read

// Runs one command line (without the program's own name). `program_folder` is where the book
// lies without --db (empty when its path cannot be held as text). Results go to `out`, messages
// to `err`, both UTF-8.
int RunLookup(std::span<const std::string> args, const Text& program_folder, std::ostream& out,
              std::ostream& err);

}  // namespace kelmor::lookup
