#include "display/qt_host.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>

#include "display/message_dialog.h"
#include "display/page_print.h"
#include "display/qt_text.h"
#include "display/renderer.h"
#include "platform/cursor.h"

namespace kelmor::display {

QtHost::QtHost() : renderer_(std::make_unique<Renderer>()) {}

QtHost::~QtHost() {
  if (wait_cursor_shown_) QApplication::restoreOverrideCursor();
}

int QtHost::ShowMessageBox(const platform::MessageBoxRequest& request) {
  renderer_->Flush(true);
  return RunMessageBox(request);
}

void QtHost::ProcessEvents() {
  QCoreApplication::processEvents();
}

void QtHost::WaitForEvents() {
  // Nothing is pending in the program: bring the screen up to date before waiting.
  renderer_->Flush(true);
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

platform::UINT QtHost::TrackPopupMenu(const std::vector<platform::PopupMenuItem>& items, int x,
                                      int y, platform::HWND owner) {
  renderer_->Flush(true);
  QMenu menu(renderer_->WidgetFor(owner));
  for (const platform::PopupMenuItem& item : items) {
    const QString caption = ToQString(item.caption);
    const qsizetype tab = caption.indexOf(QChar('\t'));
    QAction* action = menu.addAction(caption.left(tab));
    // Shown beside the item and announced as its key; the platform takes the key itself.
    if (tab >= 0) action->setShortcut(QKeySequence(caption.mid(tab + 1)));
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setEnabled(item.enabled);
    action->setData(static_cast<uint>(item.id));
  }
  // A screen reader's Press triggers the item without ending exec(): it is chosen all the same.
  QAction* triggered = nullptr;
  QObject::connect(&menu, &QMenu::triggered, &menu, [&](QAction* action) {
    triggered = action;
    menu.close();
  });
  QAction* chosen = menu.exec(QPoint(x, y));
  if (chosen == nullptr) chosen = triggered;
  return chosen == nullptr ? 0 : chosen->data().toUInt();
}

void QtHost::WindowChanged(platform::HWND window, platform::WindowChange change) {
  renderer_->Changed(window, change);
}

std::string QtHost::AskSaveFileName(const platform::SaveFileRequest& request) {
  renderer_->Flush(true);
  return display::AskSaveFileName(request, QApplication::activeWindow());
}

platform::PrintResult QtHost::PrintPage(const platform::PrintRequest& request) {
  renderer_->Flush(true);
  return display::PrintPage(request, QApplication::activeWindow());
}

void QtHost::ClipboardChanged(const std::string& text) {
  QString plain = ToQString(text);
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QGuiApplication::clipboard()->setText(plain);
}

void QtHost::CursorChanged(platform::HANDLE cursor) {
  const bool wait = cursor == platform::LoadCursorA(0, platform::IDC_WAIT);
  if (wait && !wait_cursor_shown_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    wait_cursor_shown_ = true;
  } else if (!wait && wait_cursor_shown_) {
    QApplication::restoreOverrideCursor();
    wait_cursor_shown_ = false;
  }
}

}  // namespace kelmor::display
