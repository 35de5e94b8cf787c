// The list view (report view as a QTableWidget: header, full-row selection, grid lines, columns
// movable by dragging their headers) and the rich edit (a read-only QTextEdit holding the
// platform text with its character format runs, at the rich edit's zoom).
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QWheelEvent>

#include "display/qt_text.h"
#include "display/rich_text.h"
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

class RichEditView;

// Ctrl+wheel and Ctrl with + - 0 zoom as the native control does, through the platform; the
// page's menu (right button, Menu key, Shift+F10) and its keys Ctrl+C, Ctrl+A, Ctrl+P are the
// platform's too.
class RichWidget : public QTextEdit {
 public:
  RichWidget(RichEditView& view, QWidget* parent) : QTextEdit(parent), view_(view) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

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
    // What the user selects is the platform's selection, which the page's Copy copies.
    QObject::connect(widget_, &QTextEdit::selectionChanged, widget_, [this] {
      if (!syncing()) SelectionMade();
    });
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
    const QTextCursor shown = widget_->textCursor();
    // A selection the user is still dragging keeps its anchor.
    if (shown.selectionStart() == sel.cpMin && shown.selectionEnd() == sel.cpMax) return;
    QTextCursor c(widget_->document());
    const int end = widget_->document()->characterCount() - 1;
    c.setPosition(std::clamp<int>(sel.cpMin, 0, end));
    c.setPosition(sel.cpMax < 0 ? end : std::clamp<int>(sel.cpMax, 0, end),
                  QTextCursor::KeepAnchor);
    widget_->setTextCursor(c);
  }

  void Rebuild(const platform::RichEdit& rich, const QColor& automatic) {
    FillDocument(*widget_->document(), rich, automatic, rich.Zoom());
  }

  void SelectionMade() {
    const QTextCursor c = widget_->textCursor();
    platform::CHARRANGE range{c.selectionStart(), c.selectionEnd()};
    SendMessageA(hwnd(), platform::EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  }

  // The menu at the mouse: the platform's right button, which asks the page for its menu.
  void MenuAt(const QPoint& at) { platform::RightClickAt(hwnd(), at.x(), at.y()); }

  bool Key(QKeyEvent* e) {
    if (e->key() == Qt::Key_Menu) return platform::PressKey(hwnd(), platform::VK_APPS), true;
    if (e->key() == Qt::Key_F10 && (e->modifiers() & Qt::ShiftModifier)) {
      return platform::PressKey(hwnd(), platform::VK_F10, 0, platform::kShiftKey), true;
    }
    if (!(e->modifiers() & Qt::ControlModifier)) return false;
    const bool keypad = (e->modifiers() & Qt::KeypadModifier) != 0;
    platform::WPARAM vk = 0;
    if (e->key() == Qt::Key_Plus || e->key() == Qt::Key_Equal)
      vk = keypad ? platform::VK_ADD : platform::VK_OEM_PLUS;
    if (e->key() == Qt::Key_Minus) vk = keypad ? platform::VK_SUBTRACT : platform::VK_OEM_MINUS;
    if (e->key() == Qt::Key_0) vk = keypad ? platform::VK_NUMPAD0 : platform::VK_0;
    if (e->key() == Qt::Key_C || e->key() == Qt::Key_A || e->key() == Qt::Key_P) {
      vk = static_cast<platform::WPARAM>(e->key());  // the letter keys' codes are the letters
    }
    if (vk == 0) return false;
    platform::PressKey(hwnd(), vk, 0, platform::kControlKey);
    return true;
  }

  bool Wheel(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) return false;
    const QPoint at = e->position().toPoint();
    platform::TurnWheel(hwnd(), at.x(), at.y(), e->angleDelta().y(), platform::kControlKey);
    return true;
  }

 private:
  QPointer<RichWidget> widget_;
};

void RichWidget::keyPressEvent(QKeyEvent* event) {
  if (!view_.syncing() && view_.Key(event)) return;
  QTextEdit::keyPressEvent(event);
}

void RichWidget::contextMenuEvent(QContextMenuEvent* event) {
  // From the keyboard the menu came through Key already.
  if (!view_.syncing() && event->reason() == QContextMenuEvent::Mouse) view_.MenuAt(event->pos());
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
