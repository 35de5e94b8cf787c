#include "display/dialog_keys.h"

#include <QKeyEvent>
#include <QWidget>

#include "display/renderer.h"
#include "platform/user_input.h"
#include "platform/window.h"

namespace kelmor::display {

bool DialogKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::FocusIn) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  const platform::HWND hwnd = widget != nullptr ? renderer_.HandleOf(widget) : 0;
  const View* view = renderer_.ViewFor(hwnd);
  if (view == nullptr || view->syncing()) return false;
  if (event->type() == QEvent::FocusIn) {
    // A click, a label's shortcut, or a focus given directly (a screen reader's SetFocus): the
    // platform's focus moves there. Other focus changes of Qt (a window coming back to the
    // front, Tab, which the platform handles) follow the platform's focus, which the program
    // may have moved meanwhile.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    const bool given = reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason ||
                       reason == Qt::OtherFocusReason;
    if (given && platform::GetFocus() != hwnd) platform::SetFocus(hwnd);
    return false;
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  platform::UINT modifiers = (key->modifiers() & Qt::ShiftModifier) ? platform::kShiftKey : 0;
  switch (key->key()) {
    case Qt::Key_Backtab:
      modifiers = platform::kShiftKey;
      [[fallthrough]];
    case Qt::Key_Tab:
      platform::PressKey(hwnd, platform::VK_TAB, 9, modifiers);
      return true;
    case Qt::Key_Escape:
      platform::PressKey(hwnd, platform::VK_ESCAPE, 27, modifiers);
      return true;
    default:
      return false;
  }
}

}  // namespace kelmor::display
