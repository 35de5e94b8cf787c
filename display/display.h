// The program's window on the screen. This header is free of Qt so that main() needs no Qt: it
// hands the program to RunDisplay, which sets up Qt, makes Qt the platform layer's host (it draws
// every platform window and turns the user's gestures into platform input) and runs the program.
#pragma once

#include <functional>

namespace kelmor::display {

// True when Qt can open windows: a display (DISPLAY or WAYLAND_DISPLAY) is set, or a Qt platform
// is chosen explicitly with QT_QPA_PLATFORM (for example offscreen).
bool GraphicalDisplayAvailable();

// The one line printed, and the exit status, when no display exists or the one named cannot be
// reached.
inline constexpr const char* kNoDisplayMessage =
    "kelmor: no graphical display found (set DISPLAY, or QT_QPA_PLATFORM=offscreen)";
inline constexpr int kNoDisplayExitCode = 2;

// Creates the Qt application, installs the fonts and the Qt host, runs `program` (which loads the
// main window and runs the runtime's message loop) and returns its exit code. Without a display
// prints kNoDisplayMessage to standard error and returns kNoDisplayExitCode; when the display
// named cannot be reached it prints the same and ends the process with that status.
int RunDisplay(int argc, char** argv, const std::function<int()>& program);

}  // namespace kelmor::display
