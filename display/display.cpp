#include "display/display.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

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

// While the QApplication is being made, Qt's messages are held back: a display that is named
// but cannot be reached (no server, refused, no usable platform plugin) ends in Qt's fatal
// message, which aborts. It ends here instead, as a missing display does, and the plugin's
// advice to reinstall is not shown. Once started, the held messages go out as Qt would have
// written them.
class StartupMessages {
 public:
  StartupMessages() { previous_ = qInstallMessageHandler(&Handle); }
  ~StartupMessages() {
    qInstallMessageHandler(previous_);
    for (const Held& m : held_) {
      if (previous_ != nullptr) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
        previous_(m.type, context, m.text);
      } else {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
      }
    }
    held_.clear();
  }
  StartupMessages(const StartupMessages&) = delete;
  StartupMessages& operator=(const StartupMessages&) = delete;

 private:
  struct Held {
    QtMsgType type;
    QByteArray category;
    QString text;
  };

  static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
      std::fprintf(stderr, "%s\n", kNoDisplayMessage);
      std::fflush(stderr);
      std::_Exit(kNoDisplayExitCode);
    }
    held_.push_back({type, QByteArray(context.category), text});
  }

  static inline QtMessageHandler previous_ = nullptr;
  static inline std::vector<Held> held_;
};

}  // namespace

bool GraphicalDisplayAvailable() {
  return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

int RunDisplay(int argc, char** argv, const std::function<int()>& program) {
  if (!GraphicalDisplayAvailable()) {
    std::fprintf(stderr, "%s\n", kNoDisplayMessage);
    return kNoDisplayExitCode;
  }
  int qt_argc = argc;
  auto startup = std::make_unique<StartupMessages>();
  QApplication app(qt_argc, argv);
  startup.reset();
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
