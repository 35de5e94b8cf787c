// The edit box: single-line (QLineEdit, horizontal scrolling) or multi-line (QPlainTextEdit,
// Enter a line break, both scroll bars). Typed characters go to the platform edit one at a time
// (platform::TypeText), so input filters apply as for the test driver; anything else the user
// does to the text (paste, cut, input methods, a text set through the accessibility interface)
// is handed over as a whole new text.
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "display/qt_text.h"
#include "display/views.h"
#include "platform/commctrl.h"
#include "platform/user_input.h"
#include "platform/window.h"

namespace kelmor::display {

using platform::DWORD;
using platform::HWND;
using platform::WindowChange;

namespace {

// The platform keeps line breaks as CR LF; Qt's editors as LF.
QString FromPlatform(const std::string& gbk) {
  QString text = ToQString(gbk);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

// GBK byte count of a displayed prefix (line breaks count two bytes).
int BytesOf(const QString& prefix) {
  QString p = prefix;
  p.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return static_cast<int>(FromTyped(p).gbk.size());
}

int CharsOf(const std::string& gbk, int bytes) {
  if (bytes < 0) return 0;
  return static_cast<int>(
      FromPlatform(gbk.substr(0, std::min<std::size_t>(gbk.size(), bytes))).size());
}

class EditView;

// Both editors forward key presses to the view first.
template <class Base>
class ForwardingEdit : public Base {
 public:
  ForwardingEdit(EditView& view, QWidget* parent) : Base(parent), view_(view) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  EditView& view_;
};

class EditView : public View {
 public:
  EditView(Renderer& r, HWND hwnd, QWidget* parent) : View(r, hwnd) {
    multi_ = (Style(hwnd) & platform::ES_MULTILINE) != 0;
    if (multi_) {
      auto* e = new ForwardingEdit<QPlainTextEdit>(*this, parent);
      e->setLineWrapMode(QPlainTextEdit::NoWrap);
      QObject::connect(e, &QPlainTextEdit::textChanged, e, [this] { UserChangedText(); });
      plain_ = e;
      widget_ = e;
    } else {
      auto* e = new ForwardingEdit<QLineEdit>(*this, parent);
      // textChanged, not textEdited: a text that assistive technology sets (setText, the
      // editable-text interface) is the user's too; the view's own writes come while syncing.
      QObject::connect(e, &QLineEdit::textChanged, e,
                       [this](const QString&) { UserChangedText(); });
      line_ = e;
      widget_ = e;
    }
  }
  QWidget* widget() const override { return widget_; }

  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    SyncScope scope(*this);
    const DWORD style = Style(hwnd());
    if (changes & Bit(WindowChange::Style)) {
      const bool read_only = (style & platform::ES_READONLY) != 0;
      if (line_) {
        line_->setReadOnly(read_only);
        line_->setEchoMode((style & platform::ES_PASSWORD) ? QLineEdit::Password
                                                           : QLineEdit::Normal);
      }
      if (plain_) {
        plain_->setReadOnly(read_only);
        plain_->setHorizontalScrollBarPolicy(
            (style & platform::WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        plain_->setVerticalScrollBarPolicy((style & platform::WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                                          : Qt::ScrollBarAsNeeded);
      }
    }
    SyncTextAndCaret();
  }

  void SyncTextAndCaret() {
    SyncScope scope(*this);
    const std::string gbk = platform::GetWindowTextString(hwnd());
    const QString text = FromPlatform(gbk);
    platform::DWORD start = 0, end = 0;
    platform::SendMessageA(hwnd(), platform::EM_GETSEL, reinterpret_cast<platform::WPARAM>(&start),
                           reinterpret_cast<platform::LPARAM>(&end));
    const int a = CharsOf(gbk, static_cast<int>(start));
    const int b = CharsOf(gbk, static_cast<int>(end));
    if (line_) {
      if (line_->text() != text) line_->setText(text);
      line_->setSelection(a, b - a);
      if (a == b) line_->setCursorPosition(b);
    } else if (plain_) {
      if (plain_->toPlainText() != text) plain_->setPlainText(text);
      QTextCursor c = plain_->textCursor();
      c.setPosition(a);
      c.setPosition(b, QTextCursor::KeepAnchor);
      plain_->setTextCursor(c);
    }
  }

  // The Qt selection, as GBK byte offsets, to the platform edit.
  void PushSelection() {
    QString text;
    int a = 0, b = 0;
    if (line_) {
      text = line_->text();
      a = line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
      b = line_->hasSelectedText() ? line_->selectionEnd() : a;
    } else {
      text = plain_->toPlainText();
      const QTextCursor c = plain_->textCursor();
      a = c.selectionStart();
      b = c.selectionEnd();
    }
    platform::SendMessageA(hwnd(), platform::EM_SETSEL, BytesOf(text.left(a)),
                           BytesOf(text.left(b)));
  }

  // Returns true when the key was taken.
  bool Key(QKeyEvent* event) {
    const HWND h = hwnd();
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      PushSelection();
      platform::PressKey(h, platform::VK_RETURN, 13);
    } else if (key == Qt::Key_Backspace) {
      PushSelection();
      platform::PressKey(h, platform::VK_BACK, 8);
    } else if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
               event->matches(QKeySequence::Undo) || key == Qt::Key_Delete) {
      return false;  // done by Qt, then handed over whole (UserChangedText)
    } else if (!event->text().isEmpty() && event->text().at(0).unicode() >= 0x20 &&
               !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      const TypedText typed = FromTyped(event->text());
      TellUnrepresentable(widget_, typed.rejected);
      if (!typed.gbk.empty()) {
        PushSelection();
        platform::TypeText(h, typed.gbk);
      }
    } else {
      return false;
    }
    if (platform::IsWindow(h)) SyncTextAndCaret();
    return true;
  }

  void UserChangedText() {
    if (syncing()) return;
    const QString text = line_ ? line_->text() : plain_->toPlainText();
    QString crlf = text;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const TypedText typed = FromTyped(crlf);
    TellUnrepresentable(widget_, typed.rejected);
    if (typed.gbk != platform::GetWindowTextString(hwnd())) {
      platform::PasteText(hwnd(), typed.gbk, true);
    }
    if (!typed.rejected.isEmpty()) SyncTextAndCaret();
  }

 private:
  bool multi_ = false;
  QPointer<QWidget> widget_;
  QPointer<QLineEdit> line_;
  QPointer<QPlainTextEdit> plain_;
};

template <class Base>
void ForwardingEdit<Base>::keyPressEvent(QKeyEvent* event) {
  if (!view_.syncing() && view_.Key(event)) {
    event->accept();
    return;
  }
  Base::keyPressEvent(event);
}

}  // namespace

std::unique_ptr<View> MakeEditView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<EditView>(renderer, hwnd, parent);
}

}  // namespace kelmor::display
