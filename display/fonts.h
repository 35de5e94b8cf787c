// The fonts of what is shown. No installed font answers to the names 宋体 or SimSun, so they are
// mapped to the Song-style serif (AR PL UMing) with WenQuanYi Micro Hei behind it for anything
// the Song font lacks; Chinese then renders as glyphs whichever name a window asks for.
#pragma once

#include <QFont>
#include <QString>

namespace kelmor::display {

// Family names of the installed Chinese fonts.
QString SongFamily();      // "AR PL UMing CN"
QString FallbackFamily();  // "WenQuanYi Micro Hei"

// Maps 宋体 and SimSun (and the application's default family) to the Song font. Idempotent; call
// after the QGuiApplication exists.
void InstallFontSubstitutions();

// 宋体 at a character height in pixels (the tree box asks for 16) or at a size in points.
QFont SongFontPixels(int pixel_height);
QFont SongFontPoints(double points);

// A font for a face name as the program gives it (QString already decoded), with the fallback
// chain behind it.
QFont FontForFace(const QString& face);

}  // namespace kelmor::display
