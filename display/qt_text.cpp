#include "display/qt_text.h"

#include <QApplication>
#include <QCursor>
#include <QToolTip>
#include <QWidget>

#include "platform/gbk_chars.h"
#include "runtime/codec.h"

namespace kelmor::display {
namespace {

QString FromUtf8(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Length of the GBK character starting at text[i]: a lead byte takes the byte after it, unless
// the text ends there.
std::size_t CharLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  return platform::IsGbkLead(lead) && i + 1 < text.size() ? 2 : 1;
}

}  // namespace

QString ToQString(std::string_view gbk) {
  if (gbk.empty()) return {};
  if (auto utf8 = LocalToUtf8(gbk)) return FromUtf8(*utf8);
  // Some bytes are not GBK: decode character by character so that only those are replaced.
  QString out;
  out.reserve(static_cast<qsizetype>(gbk.size()));
  for (std::size_t i = 0; i < gbk.size();) {
    std::size_t n = CharLength(gbk, i);
    if (auto utf8 = LocalToUtf8(gbk.substr(i, n))) {
      out += FromUtf8(*utf8);
    } else if (n == 2) {
      // A lead byte whose second byte is not part of a character: replace the lead alone and
      // read the next byte afresh (it may be ASCII).
      out += QChar(QChar::ReplacementCharacter);
      n = 1;
    } else {
      out += QChar(QChar::ReplacementCharacter);
    }
    i += n;
  }
  return out;
}

std::optional<Text> ToGbk(const QString& text) {
  if (text.isEmpty()) return Text();
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToLocal(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

TypedText FromTyped(const QString& typed) {
  TypedText result;
  if (auto whole = ToGbk(typed)) {
    result.gbk = std::move(*whole);
    result.kept = typed;
    return result;
  }
  for (qsizetype i = 0; i < typed.size();) {
    const qsizetype n = typed.at(i).isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
    const QString ch = typed.mid(i, n);
    if (auto gbk = ToGbk(ch)) {
      result.gbk += *gbk;
      result.kept += ch;
    } else {
      result.rejected += ch;
    }
    i += n;
  }
  return result;
}

QString UnrepresentableMessage(const QString& rejected) {
  return QStringLiteral(u"无法输入“%1”：GBK 字符集中没有这些字符，未保存。").arg(rejected);
}

void TellUnrepresentable(QWidget* near, const QString& rejected) {
  if (rejected.isEmpty()) return;
  QApplication::beep();
  const QString message = UnrepresentableMessage(rejected);
  const QPoint at = near != nullptr ? near->mapToGlobal(QPoint(0, near->height())) : QCursor::pos();
  QToolTip::showText(at, message, near);
}

}  // namespace kelmor::display
