#include "display/fonts.h"

#include <QApplication>
#include <QStringList>

namespace kelmor::display {

QString SongFamily() {
  return QStringLiteral("AR PL UMing CN");
}
QString FallbackFamily() {
  return QStringLiteral("WenQuanYi Micro Hei");
}

void InstallFontSubstitutions() {
  const QStringList chain{SongFamily(), FallbackFamily()};
  for (const QString& name : {QStringLiteral(u"宋体"), QStringLiteral("SimSun"),
                              QStringLiteral(u"新宋体"), QStringLiteral("NSimSun")}) {
    QFont::removeSubstitutions(name);
    QFont::insertSubstitutions(name, chain);
  }
  // Controls without a font of their own (buttons, labels, edit boxes) show 宋体 9 pt, the system
  // dialog font the windows were laid out for.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    QApplication::setFont(SongFontPoints(9));
  }
}

QFont SongFontPixels(int pixel_height) {
  QFont font = FontForFace(QStringLiteral(u"宋体"));
  font.setPixelSize(pixel_height);
  return font;
}

QFont SongFontPoints(double points) {
  QFont font = FontForFace(QStringLiteral(u"宋体"));
  font.setPointSizeF(points);
  return font;
}

QFont FontForFace(const QString& face) {
  QFont font;
  font.setFamilies(
      {face.isEmpty() ? QStringLiteral(u"宋体") : face, SongFamily(), FallbackFamily()});
  return font;
}

}  // namespace kelmor::display
