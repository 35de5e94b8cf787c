// make_database CONTENT_DIR PROGRAM_DIR: writes PROGRAM_DIR/kelmor.db from the sample content
// when the folder has none (an existing database is left alone) and creates PROGRAM_DIR/bak.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/delivered_database.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_database CONTENT_DIR PROGRAM_DIR\n");
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
    return 1;
  }
  return 0;
}
