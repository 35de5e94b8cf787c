// The program: the reference book in its window.
#include "app/program.h"
#include "display/display.h"
#include "runtime/fatal.h"
#include "runtime/file_commands.h"

int main(int argc, char** argv) {
  kelmor::RouteAllocationFailures();
  return kelmor::display::RunDisplay(argc, argv,
                                     [] { return kelmor::RunProgram(kelmor::ProgramDirectory()); });
}
