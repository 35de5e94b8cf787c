// The program: the reference book in its window.
#include "app/application.h"
#include "display/display.h"
#include "runtime/fatal.h"
#include "runtime/window_framework.h"

int main(int argc, char** argv) {
  kelmor::RouteAllocationFailures();
  return kelmor::display::RunDisplay(argc, argv, [] {
    kelmor::Application app;
    kelmor::RunMainWindow(app.main_window);
    kelmor::RunEndRoutine();
    return 0;
  });
}
