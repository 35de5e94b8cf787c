#include "display/message_dialog.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>

#include "display/qt_text.h"
#include "platform/message_box.h"

namespace kelmor::display {
namespace {

using platform::UINT;

QMessageBox::StandardButtons ButtonsFor(UINT type) {
  switch (type & 0xF) {
    case platform::MB_OKCANCEL:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case platform::MB_ABORTRETRYIGNORE:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case platform::MB_YESNOCANCEL:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case platform::MB_YESNO:
      return QMessageBox::Yes | QMessageBox::No;
    case platform::MB_RETRYCANCEL:
      return QMessageBox::Retry | QMessageBox::Cancel;
    default:
      return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconFor(UINT type) {
  switch (type & 0xF0) {
    case platform::MB_ICONHAND:
      return QMessageBox::Critical;
    case platform::MB_ICONQUESTION:
      return QMessageBox::Question;
    case platform::MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case platform::MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// The answer of a box dismissed without a button (Escape, the close box): Cancel where there is
// one, OK for a lone OK button; boxes without either cannot be dismissed that way.
QMessageBox::StandardButton EscapeFor(UINT type) {
  switch (type & 0xF) {
    case platform::MB_OK:
      return QMessageBox::Ok;
    case platform::MB_OKCANCEL:
    case platform::MB_YESNOCANCEL:
    case platform::MB_RETRYCANCEL:
      return QMessageBox::Cancel;
    default:
      return QMessageBox::NoButton;
  }
}

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(const platform::MessageBoxRequest& request) {
  auto box = std::make_unique<QMessageBox>();
  box->setWindowTitle(ToQString(request.caption));
  box->setText(ToQString(request.text));
  box->setTextFormat(Qt::PlainText);
  box->setIcon(IconFor(request.type));
  box->setStandardButtons(ButtonsFor(request.type));
  // Windows captions: 确定, 取消, 是(&Y), 否(&N) ... so a Chinese message gets Chinese buttons.
  const struct {
    QMessageBox::StandardButton button;
    const char16_t* caption;
  } captions[] = {{QMessageBox::Ok, u"确定"},        {QMessageBox::Cancel, u"取消"},
                  {QMessageBox::Yes, u"是(&Y)"},     {QMessageBox::No, u"否(&N)"},
                  {QMessageBox::Abort, u"中止(&A)"}, {QMessageBox::Retry, u"重试(&R)"},
                  {QMessageBox::Ignore, u"忽略(&I)"}};
  for (const auto& c : captions) {
    if (QAbstractButton* b = box->button(c.button)) b->setText(QString::fromUtf16(c.caption));
  }
  const QMessageBox::StandardButton escape = EscapeFor(request.type);
  if (escape != QMessageBox::NoButton) {
    box->setEscapeButton(escape);
  } else {
    // Yes/No and Abort/Retry/Ignore have no way out but their buttons.
    box->setEscapeButton(static_cast<QAbstractButton*>(nullptr));
    box->setWindowFlag(Qt::WindowCloseButtonHint, false);
  }
  box->setWindowModality(Qt::ApplicationModal);
  box->setAccessibleName(box->windowTitle());
  box->setAccessibleDescription(box->text());
  return box;
}

int AnswerFor(QMessageBox::StandardButton button, UINT type) {
  switch (button) {
    case QMessageBox::Ok:
      return platform::IDOK;
    case QMessageBox::Cancel:
      return platform::IDCANCEL;
    case QMessageBox::Abort:
      return platform::IDABORT;
    case QMessageBox::Retry:
      return platform::IDRETRY;
    case QMessageBox::Ignore:
      return platform::IDIGNORE;
    case QMessageBox::Yes:
      return platform::IDYES;
    case QMessageBox::No:
      return platform::IDNO;
    default:
      break;
  }
  switch (type & 0xF) {
    case platform::MB_OKCANCEL:
    case platform::MB_YESNOCANCEL:
    case platform::MB_RETRYCANCEL:
      return platform::IDCANCEL;
    case platform::MB_YESNO:
      return platform::IDNO;
    case platform::MB_ABORTRETRYIGNORE:
      return platform::IDABORT;
    default:
      return platform::IDOK;
  }
}

int RunMessageBox(const platform::MessageBoxRequest& request) {
  std::unique_ptr<QMessageBox> box = BuildMessageBox(request);
  box->exec();
  auto* clicked = box->clickedButton();
  const auto button = clicked != nullptr ? box->standardButton(clicked) : QMessageBox::NoButton;
  return AnswerFor(button, request.type);
}

}  // namespace kelmor::display
