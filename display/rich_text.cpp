#include "display/rich_text.h"

#include <QTextCursor>
#include <QTextDocument>

#include "display/fonts.h"
#include "display/qt_text.h"
#include "display/views.h"
#include "platform/commctrl.h"
#include "platform/rich_edit.h"

namespace kelmor::display {
namespace {

QTextCharFormat ToQt(const platform::RichEditFormat& f, const QColor& automatic, double zoom) {
  QTextCharFormat out;
  QFont font = FontForFace(ToQString(f.face));
  if (f.height > 0) font.setPointSizeF(f.height / 20.0 * zoom);
  font.setBold(f.effects & platform::CFE_BOLD);
  font.setItalic(f.effects & platform::CFE_ITALIC);
  font.setUnderline(f.effects & platform::CFE_UNDERLINE);
  font.setStrikeOut(f.effects & platform::CFE_STRIKEOUT);
  out.setFont(font);
  out.setForeground((f.effects & platform::CFE_AUTOCOLOR) ? automatic
                                                          : FromColorRef(f.colour, automatic));
  if (f.offset > 0) out.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
  if (f.offset < 0) out.setVerticalAlignment(QTextCharFormat::AlignSubScript);
  return out;
}

}  // namespace

void FillDocument(QTextDocument& doc, const platform::RichEdit& rich, const QColor& automatic,
                  double zoom) {
  QString text = ToQString(rich.Text());
  text.replace(QChar('\r'), QChar::ParagraphSeparator);
  doc.clear();
  doc.setDefaultFont(ToQt(rich.DefaultFormat(), automatic, zoom).font());
  QTextCursor c(&doc);
  c.beginEditBlock();
  for (const platform::RichEditRun& run : rich.FormatRuns()) {
    c.insertText(text.mid(run.start, run.length), ToQt(run.format, automatic, zoom));
  }
  c.endEditBlock();
}

}  // namespace kelmor::display
