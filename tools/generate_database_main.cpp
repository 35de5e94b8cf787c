// generate_database HERBS CATEGORIES TARGET: writes TARGET (replacing it) with that many made-up
// herbs in that many categories, a tenth as many prescriptions, and both saved trees.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/generated_database.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: generate_database HERBS CATEGORIES TARGET\n");
    return 2;
  }
  kelmor::tools::GeneratedSize size;
  size.herbs = std::atoi(argv[1]);
  size.herb_categories = std::atoi(argv[2]);
  size.prescriptions = size.herbs / 10;
  size.prescription_categories = size.herb_categories / 10 + 1;
  if (size.herbs < 0 || size.herb_categories < 1) {
    std::fprintf(stderr, "generate_database: HERBS >= 0 and CATEGORIES >= 1\n");
    return 2;
  }
  std::string error;
  if (!kelmor::tools::MakeGeneratedDatabase(argv[3], size, true, error)) {
    std::fprintf(stderr, "generate_database: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
