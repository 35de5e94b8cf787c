// A rich edit's text with its character format runs as a QTextDocument: what the page shows on
// the screen and what it prints.
#pragma once

#include <QColor>

class QTextDocument;

namespace kelmor::platform {
class RichEdit;
}

namespace kelmor::display {

// Replaces the document's content with the rich edit's text and formats, the sizes scaled by
// `zoom`; text of the automatic colour takes `automatic`. Positions agree one to one with the
// rich edit's (every GBK character is one UTF-16 unit, every paragraph mark one block break).
void FillDocument(QTextDocument& doc, const platform::RichEdit& rich, const QColor& automatic,
                  double zoom);

}  // namespace kelmor::display
