// make_database CONTENT_DIR PROGRAM_DIR: writes PROGRAM_DIR/kelmor.db from the sample content
// when the folder has none (an existing database is left alone) and creates PROGRAM_DIR/bak.
// With --warn-only (the build's own run) a failure is reported but does not fail the build.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/delivered_database.h"

int main(int argc, char** argv) {
  bool warn_only = false;
  if (argc == 4 && std::string(argv[1]) == "--warn-only") {
    warn_only = true;
    ++argv;
    --argc;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_database [--warn-only] CONTENT_DIR PROGRAM_DIR\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path program = argv[2];
  std::error_code ec;
  fs::create_directories(program / "bak", ec);
  const fs::path target = program / "kelmor.db";
  if (fs::exists(target, ec)) return 0;
  std::string error;
  if (!kelmor::tools::MakeDeliveredDatabase(argv[1], target, error)) {
    std::fprintf(stderr, "make_database: %s\n", error.c_str());
    return warn_only ? 0 : 1;
  }
  return 0;
}
