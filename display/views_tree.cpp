// The tree view: a QTreeWidget rebuilt in one go from the platform tree view's items whenever
// they change (the renderer spaces rebuilds out while the program is busy; items nested too deep
// for Qt are shown at a bound, see kDeepestNestedLevel), with the platform's
// selection, text colour, bold items, the two item images, and gestures that go through
// platform/user_input.h: click, double-click, right button press and release, label editing,
// and the keys the native control answers (arrows, + and -, Enter, F2, the Menu key and
// Shift+F10).
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <optional>

#include "display/fonts.h"
#include "display/item_icons.h"
#include "display/qt_text.h"
#include "display/views.h"
#include "platform/commctrl.h"
#include "platform/font.h"
#include "platform/user_input.h"
#include "platform/window.h"

namespace kelmor::display {

using platform::HTREEITEM;
using platform::HWND;
using platform::WindowChange;

namespace {

constexpr int kHandleRole = Qt::UserRole + 1;

// Qt lays out an expanded branch recursively, a stack frame of about 320 bytes per level: a
// chain of categories 26,000 levels deep (made by another tool) overflowed the 8 MiB stack, 3,000
// levels a 1 MiB one. Items deeper than this are shown as children of their ancestor at this
// level, in tree order, so every item stays shown, selectable and clickable, and no label is
// indented further than about 650 pixels.
constexpr int kDeepestNestedLevel = 32;

HTREEITEM HandleOf(const QTreeWidgetItem* item) {
  return item == nullptr ? 0 : item->data(0, kHandleRole).value<qulonglong>();
}

// Whether the family the font resolves to has a bold face of its own.
bool HasBoldFace(const QFont& font) {
  static std::map<QString, bool> known;
  const QString family = QFontInfo(font).family();
  auto it = known.find(family);
  if (it == known.end()) {
    bool bold = false;
    for (const QString& style : QFontDatabase::styles(family)) {
      bold = bold || QFontDatabase::weight(family, style) >= QFont::DemiBold;
    }
    it = known.emplace(family, bold).first;
  }
  return it->second;
}

class TreeView;

class TreeWidget : public QTreeWidget {
 public:
  TreeWidget(TreeView& view, QWidget* parent);
  using QTreeWidget::itemFromIndex;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TreeView& view_;
};

// The in-place editor ends the platform's label edit instead of writing the model. Bold items
// of a font without a bold face are emboldened here: Qt's own emboldening is strong on the Song
// font's small bitmaps but faint on its outlines, so at QT_SCALE_FACTOR=2 the categories
// looked regular.
class LabelDelegate : public QStyledItemDelegate {
 public:
  explicit LabelDelegate(TreeView& view) : view_(view) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  TreeView& view_;
};

class TreeView : public View {
 public:
  TreeView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new TreeWidget(*this, parent)), delegate_(*this) {
    widget_->setHeaderHidden(true);
    widget_->setColumnCount(1);
    // As wide as the widest item shown, with a scroll bar when wider than the tree, as the
    // native control scrolls sideways to deep labels.
    widget_->header()->setStretchLastSection(false);
    widget_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    widget_->setUniformRowHeights(true);
    widget_->setExpandsOnDoubleClick(false);
    widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget_->setItemDelegate(&delegate_);
    widget_->setIconSize(QSize(kItemImageWidth, kItemImageHeight));
    // The classic look: dotted lines between items and boxed expand buttons.
    if (QStyle* s = QStyleFactory::create(QStringLiteral("Windows"))) {
      s->setParent(widget_);
      widget_->setStyle(s);
    }
    QObject::connect(widget_, &QTreeWidget::itemExpanded, widget_, [this](QTreeWidgetItem* i) {
      if (!syncing())
        platform::SendMessageA(this->hwnd(), platform::TVM_EXPAND, platform::TVE_EXPAND,
                               HandleOf(i));
    });
    QObject::connect(widget_, &QTreeWidget::itemCollapsed, widget_, [this](QTreeWidgetItem* i) {
      if (!syncing())
        platform::SendMessageA(this->hwnd(), platform::TVM_EXPAND, platform::TVE_COLLAPSE,
                               HandleOf(i));
    });
    // Whatever selects an item in Qt (a screen reader's Toggle, Qt's own keys such as Home and
    // End, a press beside the label) selects it in the platform as the keys do; what the tree
    // then shows is the platform's selection.
    QObject::connect(widget_->selectionModel(), &QItemSelectionModel::selectionChanged, widget_,
                     [this] { SelectionMoved(); });
    QObject::connect(&delegate_, &QAbstractItemDelegate::closeEditor, widget_, [this] {
      // Closed without committing (Escape): the platform edit is still open.
      if (platform::SendMessageA(this->hwnd(), platform::TVM_GETEDITCONTROL, 0, 0) != 0 &&
          !committing_)
        platform::CancelLabelEdit(this->hwnd());
    });
  }
  QWidget* widget() const override { return widget_; }
  bool HeavyContent() const override { return true; }
  bool AdoptChild(HWND) override { return true; }  // the label edit: shown as Qt's editor
  void ChildGone(HWND) override { renderer_.MarkDirty(hwnd(), Bit(WindowChange::Content)); }

  QTreeWidgetItem* ItemFor(HTREEITEM h) const {
    auto it = items_.find(h);
    return it == items_.end() ? nullptr : it->second;
  }

  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    SyncScope scope(*this);
    const platform::DWORD style = Style(hwnd());
    if (changes & (Bit(WindowChange::Style) | Bit(WindowChange::Created))) {
      widget_->setRootIsDecorated((style & platform::TVS_LINESATROOT) != 0);
      SyncLook();
    }
    if (changes & (Bit(WindowChange::Content) | Bit(WindowChange::Created))) {
      SyncLook();
      Rebuild();
    }
    SyncSelection();
    SyncEditing();
  }

  void SyncLook() {
    QPalette pal = widget_->palette();
    const auto text = static_cast<platform::COLORREF>(
        platform::SendMessageA(hwnd(), platform::TVM_GETTEXTCOLOR, 0, 0));
    const auto back = static_cast<platform::COLORREF>(
        platform::SendMessageA(hwnd(), platform::TVM_GETBKCOLOR, 0, 0));
    pal.setColor(QPalette::Text, FromColorRef(text, pal.color(QPalette::Text)));
    pal.setColor(QPalette::Base, FromColorRef(back, pal.color(QPalette::Base)));
    // The selection stays visible when the tree has no focus.
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    widget_->setPalette(pal);
    QFont font = SongFontPixels(16);
    platform::FontInfo info;
    const auto hfont =
        static_cast<platform::HFONT>(platform::SendMessageA(hwnd(), platform::WM_GETFONT, 0, 0));
    if (hfont != 0 && platform::GetFontInfo(hfont, &info)) {
      font = FontForFace(ToQString(info.face));
      font.setPixelSize(info.height > 0 ? info.height : 16);
    }
    widget_->setFont(font);
  }

  QLineEdit* Editor() const {
    return qobject_cast<QLineEdit*>(widget_->indexWidget(widget_->currentIndex()));
  }

  void Rebuild() {
    // Removing the items closes an open editor (a change of the tree while the label is being
    // edited): SyncEditing opens it again with what was typed.
    if (editing_) {
      QLineEdit* editor = Editor();
      reopen_with_ = editor != nullptr ? editor->text() : QString();
      editing_ = false;
    }
    items_.clear();
    widget_->clear();
    const QIcon images[2] = {ItemImage(0), ItemImage(1)};
    const bool with_images =
        platform::SendMessageA(hwnd(), platform::TVM_GETIMAGELIST, platform::TVSIL_NORMAL, 0) != 0;
    QList<QTreeWidgetItem*> tops;
    std::vector<QTreeWidgetItem*> expand;
    // Iterative pre-order walk: platform item, Qt parent, level shown (1 at the top).
    struct Pending {
      HTREEITEM h;
      QTreeWidgetItem* parent;
      int level;
    };
    std::vector<Pending> stack;
    HTREEITEM first = static_cast<HTREEITEM>(
        platform::SendMessageA(hwnd(), platform::TVM_GETNEXTITEM, platform::TVGN_ROOT, 0));
    if (first != 0) stack.push_back({first, nullptr, 1});
    char buffer[1024];
    while (!stack.empty()) {
      const auto [h, parent, level] = stack.back();
      stack.pop_back();
      platform::TVITEMA item;
      item.mask = platform::TVIF_TEXT | platform::TVIF_IMAGE | platform::TVIF_SELECTEDIMAGE |
                  platform::TVIF_STATE | platform::TVIF_CHILDREN | platform::TVIF_HANDLE;
      item.hItem = h;
      item.pszText = buffer;
      item.cchTextMax = sizeof buffer;
      buffer[0] = 0;
      platform::SendMessageA(hwnd(), platform::TVM_GETITEMA, 0,
                             reinterpret_cast<platform::LPARAM>(&item));
      auto* q = new QTreeWidgetItem(QStringList{ToQString(buffer)});
      q->setFlags(q->flags() | Qt::ItemIsEditable);
      q->setData(0, kHandleRole, QVariant::fromValue<qulonglong>(h));
      if (item.state & platform::TVIS_BOLD) {
        QFont f = widget_->font();
        f.setBold(true);
        q->setFont(0, f);
      }
      if (with_images && item.iImage >= 0 && item.iImage < 2) q->setIcon(0, images[item.iImage]);
      if (item.state & platform::TVIS_EXPANDED) expand.push_back(q);
      items_[h] = q;
      if (parent == nullptr)
        tops.push_back(q);
      else
        parent->addChild(q);
      const HTREEITEM next = static_cast<HTREEITEM>(
          platform::SendMessageA(hwnd(), platform::TVM_GETNEXTITEM, platform::TVGN_NEXT, h));
      if (next != 0) stack.push_back({next, parent, level});
      const HTREEITEM child = static_cast<HTREEITEM>(
          platform::SendMessageA(hwnd(), platform::TVM_GETNEXTITEM, platform::TVGN_CHILD, h));
      if (child != 0) {
        stack.push_back(level <= kDeepestNestedLevel ? Pending{child, q, level + 1}
                                                     : Pending{child, parent, level});
      }
    }
    widget_->insertTopLevelItems(0, tops);
    for (QTreeWidgetItem* q : expand) q->setExpanded(true);
  }

  void SyncSelection() {
    const HTREEITEM caret = static_cast<HTREEITEM>(
        platform::SendMessageA(hwnd(), platform::TVM_GETNEXTITEM, platform::TVGN_CARET, 0));
    QTreeWidgetItem* q = ItemFor(caret);
    if (q != nullptr) {
      widget_->setCurrentItem(q);
      widget_->scrollToItem(q);
      // Qt scrolls sideways to the column, not to the label: a deep label is brought in too.
      const QRect label = widget_->visualItemRect(q);
      if (label.left() < 0 || label.left() >= widget_->viewport()->width() - widget_->indentation()) {
        QScrollBar* sideways = widget_->horizontalScrollBar();
        sideways->setValue(sideways->value() + label.left() - widget_->indentation());
      }
    } else {
      widget_->clearSelection();
      widget_->setCurrentItem(nullptr);
    }
    widget_->setSelectionMode(QAbstractItemView::SingleSelection);
  }

  void SyncEditing() {
    const bool editing = platform::SendMessageA(hwnd(), platform::TVM_GETEDITCONTROL, 0, 0) != 0;
    QTreeWidgetItem* current = widget_->currentItem();
    if (editing && current != nullptr && !editing_) {
      editing_ = true;
      widget_->editItem(current, 0);
      if (QLineEdit* editor = Editor(); editor != nullptr && reopen_with_) {
        editor->setText(*reopen_with_);
      }
      reopen_with_.reset();
    } else if (!editing && editing_) {
      editing_ = false;
      if (QWidget* ed = widget_->indexWidget(widget_->currentIndex())) ed->close();
    }
  }

  void Commit(const QString& typed) {
    const TypedText t = FromTyped(typed);
    TellUnrepresentable(widget_, t.rejected);
    committing_ = true;
    editing_ = false;
    platform::EndLabelEdit(hwnd(), t.gbk);
    committing_ = false;
    renderer_.MarkDirty(hwnd(), Bit(WindowChange::Content));
  }

  void Press(QMouseEvent* e, bool right) {
    QTreeWidgetItem* q = widget_->itemAt(e->position().toPoint());
    const HTREEITEM h = HandleOf(q);
    const QPoint p = e->position().toPoint();
    if (right) {
      if (h != 0)
        platform::RightPressTreeItem(hwnd(), h);
      else
        platform::RightPressAt(hwnd(), p.x(), p.y());
    } else if (h != 0) {
      const bool was_current = q == widget_->currentItem();
      platform::ClickTreeItem(hwnd(), h);
      // A click on the selected item's label starts editing where editing is allowed.
      if (was_current && (Style(hwnd()) & platform::TVS_EDITLABELS))
        platform::BeginLabelEdit(hwnd(), h);
    } else {
      platform::ClickAt(hwnd(), p.x(), p.y());
    }
    renderer_.MarkDirty(hwnd(), Bit(WindowChange::Selection));
  }

  void Release(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    // Where the mouse really is, so a popup menu opened at the mouse appears there.
    const QPoint g = widget_->viewport()->mapToGlobal(p);
    platform::MoveMouse(g.x(), g.y());
    platform::POINT client{g.x(), g.y()};
    platform::ScreenToClient(hwnd(), &client);
    platform::RightReleaseAt(hwnd(), client.x, client.y);
  }

  void DoubleClick(QMouseEvent* e) {
    QTreeWidgetItem* q = widget_->itemAt(e->position().toPoint());
    const HTREEITEM h = HandleOf(q);
    const QPoint p = e->position().toPoint();
    if (h != 0)
      platform::DoubleClickTreeItem(hwnd(), h);
    else
      platform::DoubleClickAt(hwnd(), p.x(), p.y());
    renderer_.MarkDirty(hwnd(), Bit(WindowChange::Selection));
  }

  // The keys the native control answers go to it (TVN_KEYDOWN tells the program); others, such
  // as typing to find an item, stay Qt's.
  bool Key(QKeyEvent* e) {
    const bool shift = (e->modifiers() & Qt::ShiftModifier) != 0;
    platform::WPARAM vk = 0, ch = 0;
    platform::UINT modifiers = 0;
    switch (e->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        vk = platform::VK_RETURN;
        ch = 13;
        break;
      case Qt::Key_Up:
        vk = platform::VK_UP;
        break;
      case Qt::Key_Down:
        vk = platform::VK_DOWN;
        break;
      case Qt::Key_Left:
        vk = platform::VK_LEFT;
        break;
      case Qt::Key_Right:
        vk = platform::VK_RIGHT;
        break;
      case Qt::Key_Plus:
        vk = platform::VK_ADD;
        break;
      case Qt::Key_Minus:
        vk = platform::VK_SUBTRACT;
        break;
      case Qt::Key_F2:
        vk = platform::VK_F2;
        break;
      case Qt::Key_Menu:
        vk = platform::VK_APPS;
        break;
      case Qt::Key_F10:
        if (!shift) return false;
        vk = platform::VK_F10;
        modifiers = platform::kShiftKey;
        break;
      default:
        return false;
    }
    platform::PressKey(hwnd(), vk, ch, modifiers);
    renderer_.MarkDirty(hwnd(), Bit(WindowChange::Selection));
    return true;
  }

  void SelectionMoved() {
    if (syncing()) return;
    const QList<QTreeWidgetItem*> selected = widget_->selectedItems();
    const HTREEITEM wanted = selected.size() == 1 ? HandleOf(selected[0]) : 0;
    const HWND h = hwnd();
    if (wanted != 0 && wanted != static_cast<HTREEITEM>(platform::SendMessageA(
                                      h, platform::TVM_GETNEXTITEM, platform::TVGN_CARET, 0)))
      platform::SendMessageA(h, platform::TVM_SELECTITEM, platform::TVGN_CARET, wanted);
    if (platform::IsWindow(h)) renderer_.MarkDirty(h, Bit(WindowChange::Selection));
  }

 private:
  QPointer<TreeWidget> widget_;
  LabelDelegate delegate_;
  std::map<HTREEITEM, QTreeWidgetItem*> items_;
  bool editing_ = false;
  bool committing_ = false;
  std::optional<QString> reopen_with_;  // typed text of an editor a rebuild closed
};

TreeWidget::TreeWidget(TreeView& view, QWidget* parent) : QTreeWidget(parent), view_(view) {}

void TreeWidget::mousePressEvent(QMouseEvent* event) {
  // The expand buttons stay Qt's own (they send TVM_EXPAND through itemExpanded).
  const QModelIndex index = indexAt(event->position().toPoint());
  const QRect r = visualRect(index);
  if (index.isValid() && event->position().x() < r.left() && event->button() == Qt::LeftButton) {
    QTreeWidget::mousePressEvent(event);
    return;
  }
  if (view_.syncing()) return;
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
    view_.Press(event, event->button() == Qt::RightButton);
}

void TreeWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && !view_.syncing()) view_.Release(event);
}

void TreeWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !view_.syncing()) view_.DoubleClick(event);
}

void TreeWidget::keyPressEvent(QKeyEvent* event) {
  if (view_.Key(event)) return;
  QTreeWidget::keyPressEvent(event);
}

QWidget* LabelDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  // A screen reader announces the editor as the tree's.
  if (editor != nullptr) editor->setAccessibleName(view_.widget()->accessibleName());
  return editor;
}

void LabelDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const {
  // The focus an editor loses when a rebuild removes it is no commit of the user's.
  if (view_.syncing()) return;
  if (auto* line = qobject_cast<QLineEdit*>(editor)) view_.Commit(line->text());
}

void LabelDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
  QStyleOptionViewItem opt(option);
  initStyleOption(&opt, index);
  if (!opt.font.bold() || HasBoldFace(opt.font)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QString text = opt.text;
  opt.text.clear();
  QStyle* style = opt.widget != nullptr ? opt.widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
  const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
  QFont regular = opt.font;
  regular.setBold(false);
  const QFontMetricsF metrics(regular);
  QPainterPath path;
  path.addText(room.left() + 2,
               room.top() + (room.height() - metrics.height()) / 2 + metrics.ascent(), regular,
               text);
  const bool selected = (opt.state & QStyle::State_Selected) != 0;
  const QColor colour = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setClipRect(opt.rect);
  // The outline drawn wider by an eighteenth of the line: about the weight that Qt's own
  // emboldening gives the font's small bitmaps at the ordinary scale.
  painter->setPen(
      QPen(colour, metrics.height() / 18.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter->setBrush(colour);
  painter->drawPath(path);
  painter->restore();
}

}  // namespace

std::unique_ptr<View> MakeTreeView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<TreeView>(renderer, hwnd, parent);
}

}  // namespace kelmor::display
