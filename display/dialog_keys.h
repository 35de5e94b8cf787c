// Tab, Shift+Tab and Escape belong to the platform's dialog keys (platform/keyboard.h), not to
// Qt: pressed in the widget of a platform window they become platform::PressKey on that window,
// and the platform's focus, wherever that moves it, takes Qt's focus along (View::Sync). A
// widget that Qt gives the focus (a click) gives its window the platform's focus, so the next
// Tab starts from there.
#pragma once

#include <QObject>

namespace kelmor::display {

class Renderer;

// Installed on the application by the renderer.
class DialogKeys : public QObject {
 public:
  explicit DialogKeys(Renderer& renderer) : renderer_(renderer) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Renderer& renderer_;
};

}  // namespace kelmor::display
