#include "display/display.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "display/fonts.h"
#include "display/qt_host.h"
#include "display/renderer.h"
#include "platform/window.h"

namespace kelmor::display {
namespace {

bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0';
}

}  // namespace

bool GraphicalDisplayAvailable() {
  return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

int RunDisplay(int argc, char** argv, const std::function<int()>& program) {
  if (!GraphicalDisplayAvailable()) {
    std::fprintf(stderr, "%s\n", kNoDisplayMessage);
    return 2;
  }
  int qt_argc = argc;
  QApplication app(qt_argc, argv);
  InstallFontSubstitutions();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    platform::SetScreenSize(area.width(), area.height());
  }
  QtHost host;
  platform::Host* previous = platform::CurrentHost();
  platform::SetHost(&host);
  host.renderer().AdoptExistingWindows();
  const int code = program();
  platform::SetHost(previous);
  return code;
}

}  // namespace kelmor::display
