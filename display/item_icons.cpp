#include "display/item_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace kelmor::display {
namespace {

QPixmap Blank() {
  QPixmap pixmap(kItemImageWidth, kItemImageHeight);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

const QColor kCover(0x80, 0x20, 0x20);  // dark red cloth
const QColor kCoverEdge(0x50, 0x10, 0x10);
const QColor kPages(0xFA, 0xF6, 0xE8);  // paper
const QColor kPageLines(0x90, 0x90, 0xA0);

}  // namespace

QPixmap ClosedBookImage() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, false);
  // Page block showing at the bottom and right, then the cover over it.
  p.setPen(kPageLines);
  p.setBrush(kPages);
  p.drawRect(4, 3, 10, 10);
  p.setPen(kCoverEdge);
  p.setBrush(kCover);
  p.drawRect(2, 1, 10, 11);
  // Spine and a title label on the cover.
  p.fillRect(3, 2, 2, 10, kCoverEdge);
  p.fillRect(6, 4, 5, 3, QColor(0xE8, 0xC8, 0x60));
  return pixmap;
}

QPixmap OpenBookImage() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, false);
  // Cover behind the two pages.
  p.setPen(kCoverEdge);
  p.setBrush(kCover);
  p.drawRect(0, 4, 15, 9);
  // Left and right pages, slightly raised towards the spine.
  p.setPen(kPageLines);
  p.setBrush(kPages);
  QPainterPath left;
  left.moveTo(1, 4);
  left.lineTo(7, 3);
  left.lineTo(7, 12);
  left.lineTo(1, 12);
  left.closeSubpath();
  QPainterPath right;
  right.moveTo(8, 3);
  right.lineTo(14, 4);
  right.lineTo(14, 12);
  right.lineTo(8, 12);
  right.closeSubpath();
  p.drawPath(left);
  p.drawPath(right);
  // Lines of text on each page.
  for (int y = 6; y <= 10; y += 2) {
    p.drawLine(2, y, 6, y);
    p.drawLine(9, y, 13, y);
  }
  return pixmap;
}

QIcon ItemImage(int index) {
  switch (index) {
    case 0:
      return QIcon(ClosedBookImage());
    case 1:
      return QIcon(OpenBookImage());
    default:
      return {};
  }
}

}  // namespace kelmor::display
