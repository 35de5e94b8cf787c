// kelmor-lookup: the book read from a terminal, beside the program.
#include <iostream>
#include <string>
#include <vector>

#include "lookup/lookup.h"
#include "runtime/fatal.h"
#include "runtime/file_commands.h"

int main(int argc, char** argv) {
  kelmor::RouteAllocationFailures();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const int status = kelmor::lookup::RunLookup(args, kelmor::ProgramDirectory(), std::cout, std::cerr);
  std::cout.flush();
  return status;
}
