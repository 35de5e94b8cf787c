// The list view (a QTableView over the control's rows, read as drawn: header, grid lines, columns
// movable by dragging their headers) and the rich edit (a read-only QTextEdit holding the
// platform text with its character format runs, at the rich edit's zoom).
#include <QAbstractTableModel>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
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

// The control's rows as Qt's item model. Qt asks for the cells it draws, and each is read from
// the control then (LVM_GETITEMTEXTA), so a list of 100,000 rows costs what its visible rows cost.
// The model keeps only the row count and the columns that the view was last told of.
class ListRows : public QAbstractTableModel {
 public:
  explicit ListRows(HWND hwnd) : hwnd_(hwnd) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return ToQString(CellText(index.row(), index.column()));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < static_cast<int>(headers_.size())) {
      return headers_[section];
    }
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
  }
  const std::vector<int>& widths() const { return widths_; }

  // Takes the control's columns and row count. The cells themselves are read when drawn, so any
  // of them may have changed: the view is told so. True when the columns changed (the view then
  // lays them out again).
  bool Refresh() {
    QStringList headers;
    std::vector<int> widths;
    char caption[1024];
    for (int c = 0;; ++c) {
      platform::LVCOLUMNA col;
      col.mask = platform::LVCF_TEXT | platform::LVCF_WIDTH;
      caption[0] = 0;
      col.pszText = caption;
      col.cchTextMax = sizeof caption;
      if (!SendMessageA(hwnd_, platform::LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&col))) break;
      headers << ToQString(caption);
      widths.push_back(col.cx);
    }
    const int rows =
        std::max(0, static_cast<int>(SendMessageA(hwnd_, platform::LVM_GETITEMCOUNT, 0, 0)));
    if (headers != headers_ || widths != widths_) {
      beginResetModel();
      headers_ = std::move(headers);
      widths_ = std::move(widths);
      rows_ = rows;
      endResetModel();
      return true;
    }
    if (rows > rows_) {
      beginInsertRows({}, rows_, rows - 1);
      rows_ = rows;
      endInsertRows();
    } else if (rows < rows_) {
      beginRemoveRows({}, rows, rows_ - 1);
      rows_ = rows;
      endRemoveRows();
    }
    if (rows_ > 0 && !headers_.isEmpty()) {
      emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(headers_.size()) - 1));
    }
    return false;
  }

 private:
  // The whole text, however long: the buffer grows while the text fills it.
  std::string CellText(int row, int column) const {
    std::string buffer(512, '\0');
    for (;;) {
      platform::LVITEMA item;
      item.iSubItem = column;
      item.pszText = buffer.data();
      item.cchTextMax = static_cast<int>(buffer.size());
      const auto n = static_cast<std::size_t>(std::max<LPARAM>(
          0,
          SendMessageA(hwnd_, platform::LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item))));
      if (n + 1 < buffer.size()) {
        buffer.resize(n);
        return buffer;
      }
      buffer.resize(buffer.size() * 2);
    }
  }

  HWND hwnd_;
  QStringList headers_;
  std::vector<int> widths_;
  int rows_ = 0;
};

class ListView;

class ListWidget : public QTableView {
 public:
  ListWidget(ListView& view, QWidget* parent) : QTableView(parent), view_(view) {}

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
      : View(r, hwnd), widget_(new ListWidget(*this, parent)), rows_(new ListRows(hwnd)) {
    rows_->setParent(widget_);
    widget_->setModel(rows_);
    widget_->verticalHeader()->hide();
    widget_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    widget_->setSelectionBehavior(QAbstractItemView::SelectRows);
    widget_->setSelectionMode(QAbstractItemView::SingleSelection);
    widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget_->setSortingEnabled(false);
    widget_->horizontalHeader()->setHighlightSections(false);
    widget_->horizontalHeader()->setStretchLastSection(false);
    // A row that Qt selects by other means than the platform's gestures (a screen reader's
    // Toggle, Qt's own keys such as Home) is clicked in the platform; the list then shows the
    // platform's selection.
    QObject::connect(widget_->selectionModel(), &QItemSelectionModel::selectionChanged, widget_,
                     [this] { SelectionMoved(); });
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
    if (changes & (Bit(WindowChange::Content) | Bit(WindowChange::Created))) Refresh();
    const auto sel = SendMessageA(hwnd(), platform::LVM_GETNEXTITEM,
                                  static_cast<platform::WPARAM>(-1), platform::LVNI_SELECTED);
    if (sel >= 0 && sel < rows_->rowCount({}))
      widget_->selectRow(static_cast<int>(sel));
    else
      widget_->clearSelection();
  }

  void Refresh() {
    if (rows_->Refresh()) {
      const std::vector<int>& widths = rows_->widths();
      for (int c = 0; c < static_cast<int>(widths.size()); ++c)
        widget_->setColumnWidth(c, widths[c]);
    }
    // Setting the row height walks every row: only when it changes.
    const int row_height = widget_->fontMetrics().height() + 4;
    if (widget_->verticalHeader()->defaultSectionSize() != row_height)
      widget_->verticalHeader()->setDefaultSectionSize(row_height);
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

  void SelectionMoved() {
    if (syncing()) return;
    const QModelIndexList rows = widget_->selectionModel()->selectedRows();
    const HWND h = hwnd();
    if (rows.size() == 1 &&
        rows[0].row() != SendMessageA(h, platform::LVM_GETNEXTITEM,
                                      static_cast<platform::WPARAM>(-1), platform::LVNI_SELECTED))
      platform::ClickListRow(h, rows[0].row());
    if (platform::IsWindow(h)) renderer_.MarkDirty(h, Bit(WindowChange::Selection));
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
  ListRows* rows_;  // owned by the widget
};

void ListWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !view_.syncing()) view_.Click(event, false);
}

void ListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !view_.syncing()) view_.Click(event, true);
}

void ListWidget::keyPressEvent(QKeyEvent* event) {
  if (!view_.syncing() && view_.Key(event)) return;
  QTableView::keyPressEvent(event);
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
