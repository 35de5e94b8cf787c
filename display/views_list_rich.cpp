// The list view (report view as a QTableWidget: header, full-row selection, grid lines, columns
// movable by dragging their headers) and the rich edit (a read-only QTextEdit holding the
// platform text with its character format runs, at the rich edit's zoom).
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QWheelEvent>

#include "display/fonts.h"
#include "display/qt_text.h"
#include "display/views.h"
#include "platform/commctrl.h"
#include "platform/rich_edit.h"
#include "platform/user_input.h"
#include "platform/window.h"

namespace kelmor::display {

using platform::HWND;
using platform::LPARAM;
using platform::SendMessageA;
using platform::WindowChange;

namespace {

// ---- List view -----------------------------------------------------------------------------

class ListView;

class ListWidget : public QTableWidget {
 public:
  ListWidget(ListView& view, QWidget* parent) : QTableWidget(parent), view_(view) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ListView& view_;
};

class ListView : public View {
 public:
  ListView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new ListWidget(*this, parent)) {
    widget_->verticalHeader()->hide();
    widget_->setSelectionBehavior(QAbstractItemView::SelectRows);
    widget_->setSelectionMode(QAbstractItemView::SingleSelection);
    widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget_->setSortingEnabled(false);
    widget_->horizontalHeader()->setHighlightSections(false);
    widget_->horizontalHeader()->setStretchLastSection(false);
  }
  QWidget* widget() const override { return widget_; }

  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    SyncScope scope(*this);
    const auto ex = static_cast<platform::DWORD>(
        SendMessageA(hwnd(), platform::LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    widget_->setShowGrid((ex & platform::LVS_EX_GRIDLINES) != 0);
    widget_->horizontalHeader()->setSectionsMovable((ex & platform::LVS_EX_HEADERDRAGDROP) != 0);
    widget_->horizontalHeader()->setVisible((Style(hwnd()) & platform::LVS_NOCOLUMNHEADER) == 0);
    if (changes & (Bit(WindowChange::Content) | Bit(WindowChange::Created))) Rebuild();
    const auto sel = SendMessageA(hwnd(), platform::LVM_GETNEXTITEM,
                                  static_cast<platform::WPARAM>(-1), platform::LVNI_SELECTED);
    if (sel >= 0)
      widget_->selectRow(static_cast<int>(sel));
    else
      widget_->clearSelection();
  }

  void Rebuild() {
    char buffer[1024];
    QStringList headers;
    std::vector<int> widths;
    for (int c = 0;; ++c) {
      platform::LVCOLUMNA col;
      col.mask = platform::LVCF_TEXT | platform::LVCF_WIDTH;
      buffer[0] = 0;
      col.pszText = buffer;
      col.cchTextMax = sizeof buffer;
      if (!SendMessageA(hwnd(), platform::LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&col))) break;
      headers << ToQString(buffer);
      widths.push_back(col.cx);
    }
    const int rows = static_cast<int>(SendMessageA(hwnd(), platform::LVM_GETITEMCOUNT, 0, 0));
    widget_->clear();
    widget_->setColumnCount(static_cast<int>(headers.size()));
    widget_->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) widget_->setColumnWidth(c, widths[c]);
    widget_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < static_cast<int>(headers.size()); ++c) {
        platform::LVITEMA item;
        item.iSubItem = c;
        buffer[0] = 0;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        SendMessageA(hwnd(), platform::LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
        widget_->setItem(r, c, new QTableWidgetItem(ToQString(buffer)));
      }
    }
    widget_->verticalHeader()->setDefaultSectionSize(widget_->fontMetrics().height() + 4);
  }

  // Up, Down and Enter are the native control's (LVN_KEYDOWN tells the program).
  bool Key(QKeyEvent* e) {
    platform::WPARAM vk = 0, ch = 0;
    if (e->key() == Qt::Key_Up) vk = platform::VK_UP;
    if (e->key() == Qt::Key_Down) vk = platform::VK_DOWN;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) vk = platform::VK_RETURN, ch = 13;
    if (vk == 0) return false;
    platform::PressKey(hwnd(), vk, ch);
    renderer_.MarkDirty(hwnd(), Bit(WindowChange::Selection));
    return true;
  }

  void Click(QMouseEvent* e, bool twice) {
    const int row = widget_->rowAt(static_cast<int>(e->position().y()));
    if (row < 0) return;
    if (twice)
      platform::DoubleClickListRow(hwnd(), row);
    else
      platform::ClickListRow(hwnd(), row);
    renderer_.MarkDirty(hwnd(), Bit(WindowChange::Selection));
  }

 private:
  QPointer<ListWidget> widget_;
};

void ListWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !view_.syncing()) view_.Click(event, false);
}

void ListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !view_.syncing()) view_.Click(event, true);
}

void ListWidget::keyPressEvent(QKeyEvent* event) {
  if (!view_.syncing() && view_.Key(event)) return;
  QTableWidget::keyPressEvent(event);
}

// ---- Rich edit -----------------------------------------------------------------------------

// `zoom` scales the size the program gave (the rich edit's EM_SETZOOM).
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

class RichEditView;

// Ctrl+wheel and Ctrl with + - 0 zoom as the native control does, through the platform.
class RichWidget : public QTextEdit {
 public:
  RichWidget(RichEditView& view, QWidget* parent) : QTextEdit(parent), view_(view) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  RichEditView& view_;
};

class RichEditView : public View {
 public:
  RichEditView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new RichWidget(*this, parent)) {
    widget_->setReadOnly(true);
    widget_->setUndoRedoEnabled(false);
    widget_->setLineWrapMode(QTextEdit::WidgetWidth);
    widget_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
  QWidget* widget() const override { return widget_; }
  bool HeavyContent() const override { return true; }

  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    SyncScope scope(*this);
    const platform::RichEdit* rich = platform::RichEdit::From(hwnd());
    if (rich == nullptr) return;
    const platform::DWORD style = Style(hwnd());
    widget_->setReadOnly(true);
    widget_->setVerticalScrollBarPolicy((style & platform::WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                       : Qt::ScrollBarAlwaysOff);
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Base, rich->SystemBackground()
                                     ? pal.color(QPalette::Window)
                                     : FromColorRef(rich->BackgroundColour(), Qt::white));
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    widget_->setPalette(pal);
    if (changes &
        (Bit(WindowChange::Content) | Bit(WindowChange::Text) | Bit(WindowChange::Created))) {
      Rebuild(*rich, pal.color(QPalette::Text));
    }
    const platform::CHARRANGE sel = rich->Selection();
    QTextCursor c(widget_->document());
    const int end = widget_->document()->characterCount() - 1;
    c.setPosition(std::clamp<int>(sel.cpMin, 0, end));
    c.setPosition(sel.cpMax < 0 ? end : std::clamp<int>(sel.cpMax, 0, end),
                  QTextCursor::KeepAnchor);
    widget_->setTextCursor(c);
  }

  void Rebuild(const platform::RichEdit& rich, const QColor& automatic) {
    // Characters and positions agree one to one: every GBK character is one UTF-16 unit and
    // every paragraph mark (CR) one block break.
    QString text = ToQString(rich.Text());
    text.replace(QChar('\r'), QChar::ParagraphSeparator);
    QTextDocument* doc = widget_->document();
    doc->clear();
    const double zoom = rich.Zoom();
    doc->setDefaultFont(ToQt(rich.DefaultFormat(), automatic, zoom).font());
    QTextCursor c(doc);
    c.beginEditBlock();
    for (const platform::RichEditRun& run : rich.FormatRuns()) {
      c.insertText(text.mid(run.start, run.length), ToQt(run.format, automatic, zoom));
    }
    c.endEditBlock();
  }

  bool Key(QKeyEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) return false;
    const bool keypad = (e->modifiers() & Qt::KeypadModifier) != 0;
    platform::WPARAM vk = 0;
    if (e->key() == Qt::Key_Plus || e->key() == Qt::Key_Equal)
      vk = keypad ? platform::VK_ADD : platform::VK_OEM_PLUS;
    if (e->key() == Qt::Key_Minus) vk = keypad ? platform::VK_SUBTRACT : platform::VK_OEM_MINUS;
    if (e->key() == Qt::Key_0) vk = keypad ? platform::VK_NUMPAD0 : platform::VK_0;
    if (vk == 0) return false;
    platform::PressKey(hwnd(), vk, 0, platform::kControlKey);
    return true;
  }

  // Ctrl+wheel is the platform's zoom, never Qt's own. A turn of any size counts (the platform
  // adds parts of a notch up); an event that turns nothing (sideways only) goes on to the parent.
  bool Wheel(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) return false;
    const QPoint at = e->position().toPoint();
    const int delta = std::clamp(e->angleDelta().y(), -32768, 32767);  // WM_MOUSEWHEEL's short
    if (delta == 0 || !platform::TurnWheel(hwnd(), at.x(), at.y(), delta, platform::kControlKey))
      e->ignore();
    return true;
  }

 private:
  QPointer<RichWidget> widget_;
};

void RichWidget::keyPressEvent(QKeyEvent* event) {
  if (!view_.syncing() && view_.Key(event)) return;
  QTextEdit::keyPressEvent(event);
}

void RichWidget::wheelEvent(QWheelEvent* event) {
  if (!view_.syncing() && view_.Wheel(event)) return;
  QTextEdit::wheelEvent(event);
}

}  // namespace

std::unique_ptr<View> MakeListView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<ListView>(renderer, hwnd, parent);
}

std::unique_ptr<View> MakeRichEditView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<RichEditView>(renderer, hwnd, parent);
}

}  // namespace kelmor::display
