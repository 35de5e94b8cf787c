// Views of the simple control kinds: the top-level window, containers, buttons and check boxes,
// statics (labels and frames), the combo box, the tab control and the splitter bar.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <algorithm>

#include "display/accessibility.h"
#include "display/qt_text.h"
#include "display/views.h"
#include "platform/commctrl.h"
#include "platform/user_input.h"
#include "platform/window.h"

namespace kelmor::display {

using platform::DWORD;
using platform::HWND;
using platform::WindowChange;

std::string ClassName(HWND hwnd) {
  char name[64] = {};
  platform::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

DWORD Style(HWND hwnd) {
  return static_cast<DWORD>(platform::GetWindowLongA(hwnd, platform::GWL_STYLE));
}

QString WindowText(HWND hwnd) {
  return ToQString(platform::GetWindowTextString(hwnd));
}

QColor FromColorRef(platform::COLORREF colour, const QColor& fallback) {
  if (colour == platform::CLR_DEFAULT || colour == platform::CLR_NONE) return fallback;
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

namespace {

constexpr int kFrameWidth = 2 * platform::kFrameBorder;
constexpr int kFrameHeight = 2 * platform::kFrameBorder + platform::kCaptionHeight;

// ---- Top-level window ----------------------------------------------------------------------

class FrameView;

class FrameWidget : public QWidget {
 public:
  explicit FrameWidget(FrameView& view) : view_(view) {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  FrameView& view_;
};

class FrameView : public View {
 public:
  FrameView(Renderer& r, HWND hwnd) : View(r, hwnd), widget_(new FrameWidget(*this)) {
    const DWORD style = Style(hwnd);
    const bool dialog = ClassName(hwnd) == platform::WC_DIALOG;
    const HWND owner = platform::GetParent(hwnd);
    // Before anything asks for its interface: the main window is a frame to a screen reader, an
    // owned or modal window a dialog.
    const auto ex_style = static_cast<DWORD>(platform::GetWindowLongA(hwnd, platform::GWL_EXSTYLE));
    SetRole(widget_, dialog || owner != 0 || (ex_style & platform::WS_EX_DLGMODALFRAME)
                         ? QAccessible::Dialog
                         : QAccessible::Window);
    widget_->setAttribute(Qt::WA_DeleteOnClose, false);
    Qt::WindowFlags flags = (dialog ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
    if (style & platform::WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (style & platform::WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & platform::WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    if (style & platform::WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    widget_->setWindowFlags(flags);
    // An owned window whose owner is disabled is modal: Qt then keeps the user's input from the
    // other windows as the platform does.
    if (owner != 0 && !platform::IsWindowEnabled(owner)) {
      widget_->setWindowModality(Qt::ApplicationModal);
    }
    widget_->setAccessibleName(WindowText(hwnd));
  }

  QWidget* widget() const override { return widget_; }
  bool resizable() const { return (Style(hwnd()) & platform::WS_THICKFRAME) != 0; }

  void Sync(ChangeSet changes) override {
    SyncScope scope(*this);
    if (!widget_) return;
    if (changes & Bit(WindowChange::Text)) {
      widget_->setWindowTitle(WindowText(hwnd()));
      widget_->setAccessibleName(widget_->windowTitle());
    }
    if (changes & (Bit(WindowChange::Geometry) | Bit(WindowChange::Style))) SyncFrame();
  }

  // The client area where the platform has it, in the platform's window state.
  void SyncFrame() {
    SyncScope scope(*this);
    const DWORD style = Style(hwnd());
    platform::RECT client;
    platform::GetClientRect(hwnd(), &client);
    platform::POINT origin{0, 0};
    platform::ClientToScreen(hwnd(), &origin);
    const QSize size(client.right, client.bottom);
    if (!resizable() && !(style & platform::WS_MAXIMIZEBOX)) {
      widget_->setFixedSize(size);
    } else {
      widget_->setMinimumSize(0, 0);
      widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (style & platform::WS_VISIBLE) {
      // Owned before it is first mapped: a window manager that learns of the owner later
      // manages and frames the window anew while it is already on the screen, and a click on
      // its close box in that moment is lost.
      SetTransientParent();
      if (platform::IsZoomed(hwnd())) {
        if (!widget_->isMaximized()) widget_->showMaximized();
      } else if (platform::IsIconic(hwnd())) {
        if (!widget_->isMinimized()) widget_->showMinimized();
      } else {
        if (widget_->isMaximized() || widget_->isMinimized()) widget_->showNormal();
        widget_->setGeometry(QRect(QPoint(origin.x, origin.y), size));
        widget_->show();
      }
    } else {
      widget_->hide();
    }
  }

  void SetTransientParent() {
    const HWND owner = platform::GetParent(hwnd());
    QWidget* owner_widget = renderer_.WidgetFor(owner);
    if (owner_widget == nullptr) return;
    // The native windows are made here when they do not exist yet, so that the owner is known
    // before the window is shown.
    owner_widget->winId();
    widget_->winId();
    if (widget_->windowHandle() != nullptr && owner_widget->windowHandle() != nullptr &&
        widget_->windowHandle()->transientParent() != owner_widget->windowHandle()) {
      widget_->windowHandle()->setTransientParent(owner_widget->windowHandle());
    }
  }

  void UserClose() { platform::CloseByCloseBox(hwnd()); }

  void UserStateChange() {
    if (syncing()) return;
    bool ok = true;
    if (widget_->isMaximized() && !platform::IsZoomed(hwnd())) {
      ok = platform::MaximiseWindow(hwnd());
    } else if (widget_->isMinimized() && !platform::IsIconic(hwnd())) {
      ok = platform::MinimiseWindow(hwnd());
    } else if (!widget_->isMaximized() && !widget_->isMinimized() &&
               (platform::IsZoomed(hwnd()) || platform::IsIconic(hwnd()))) {
      ok = platform::RestoreWindow(hwnd());
    }
    if (!ok) renderer_.MarkDirty(hwnd(), Bit(WindowChange::Geometry));
  }

  void UserResize(const QSize& client) {
    if (syncing() || widget_->isMaximized() || widget_->isMinimized()) return;
    platform::RECT now;
    platform::GetClientRect(hwnd(), &now);
    if (client == QSize(now.right, now.bottom)) return;
    if (!resizable() || !platform::ResizeWindow(hwnd(), client.width() + kFrameWidth,
                                                client.height() + kFrameHeight)) {
      // A fixed frame keeps its size: put it back.
      renderer_.MarkDirty(hwnd(), Bit(WindowChange::Geometry));
    }
  }

  void UserMove(const QPoint& client_origin) {
    if (syncing() || widget_->isMaximized() || widget_->isMinimized()) return;
    platform::POINT origin{0, 0};
    platform::ClientToScreen(hwnd(), &origin);
    if (client_origin == QPoint(origin.x, origin.y)) return;
    platform::RECT r;
    platform::GetWindowPosition(hwnd(), &r);
    // The user dragged the window: the platform follows, so screen positions (the popup menu
    // at the mouse) agree.
    platform::MoveWindow(hwnd(), r.left + client_origin.x() - origin.x,
                         r.top + client_origin.y() - origin.y, r.right - r.left, r.bottom - r.top,
                         platform::FALSE);
  }

 private:
  QPointer<FrameWidget> widget_;
};

void FrameWidget::closeEvent(QCloseEvent* event) {
  // The platform decides: its close box gesture ends in DestroyWindow, which removes this widget.
  event->ignore();
  if (!view_.syncing()) view_.UserClose();
}

void FrameWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) view_.UserStateChange();
}

void FrameWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->spontaneous()) view_.UserResize(event->size());
}

void FrameWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (event->spontaneous()) view_.UserMove(geometry().topLeft());
}

// ---- Containers ----------------------------------------------------------------------------

class ContainerView : public View {
 public:
  ContainerView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new QWidget(parent)) {
    widget_->setAccessibleName(WindowText(hwnd));
  }
  QWidget* widget() const override { return widget_; }

 private:
  QPointer<QWidget> widget_;
};

class GroupView : public View {
 public:
  GroupView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new QGroupBox(parent)) {}
  QWidget* widget() const override { return widget_; }
  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    if (changes & Bit(WindowChange::Text)) widget_->setTitle(WindowText(hwnd()));
  }

 private:
  QPointer<QGroupBox> widget_;
};

// ---- Buttons -------------------------------------------------------------------------------

class ButtonView : public View {
 public:
  ButtonView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new QPushButton(parent)) {
    QObject::connect(widget_, &QPushButton::clicked, widget_, [this] {
      if (!syncing()) platform::ClickButton(this->hwnd());
    });
  }
  QWidget* widget() const override { return widget_; }
  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    SyncScope scope(*this);
    if (changes & Bit(WindowChange::Text)) widget_->setText(WindowText(hwnd()));
    if (changes & Bit(WindowChange::Style)) {
      const bool def = (Style(hwnd()) & platform::BS_TYPEMASK) == platform::BS_DEFPUSHBUTTON;
      widget_->setDefault(def);
      widget_->setAutoDefault(def);
    }
  }

 private:
  QPointer<QPushButton> widget_;
};

// A check box whose state is the platform's. Whatever turns the Qt box (a click, the space bar,
// a screen reader's Toggle or Press) is the user's click on the platform's box; what the box then
// shows is the platform's state.
class CheckView : public View {
 public:
  CheckView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new QCheckBox(parent)) {
    QObject::connect(widget_, &QCheckBox::toggled, widget_, [this](bool shown) { Toggled(shown); });
  }
  QWidget* widget() const override { return widget_; }
  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    SyncScope scope(*this);
    if (changes & Bit(WindowChange::Text)) widget_->setText(WindowText(hwnd()));
    widget_->setChecked(Checked());
  }

 private:
  bool Checked() const {
    return platform::SendMessageA(hwnd(), platform::BM_GETCHECK, 0, 0) == platform::BST_CHECKED;
  }

  void Toggled(bool shown) {
    if (syncing()) return;
    const HWND h = hwnd();
    if (shown != Checked()) platform::ClickButton(h);
    // The click may have closed the window, and this view with it.
    if (!platform::IsWindow(h)) return;
    SyncScope scope(*this);
    widget_->setChecked(Checked());
  }

  QPointer<QCheckBox> widget_;
};

// ---- Statics -------------------------------------------------------------------------------

class StaticView : public View {
 public:
  StaticView(Renderer& r, HWND hwnd, QWidget* parent) : View(r, hwnd), widget_(new QLabel(parent)) {
    widget_->setWordWrap(true);
    widget_->setTextFormat(Qt::PlainText);
  }
  QWidget* widget() const override { return widget_; }
  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    if (changes & Bit(WindowChange::Style)) {
      const DWORD style = Style(hwnd());
      const DWORD kind = style & 0x1F;
      if (kind == platform::SS_ETCHEDFRAME || (style & platform::SS_SUNKEN)) {
        widget_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      } else {
        widget_->setFrameStyle(QFrame::NoFrame);
      }
      Qt::Alignment align = Qt::AlignTop | Qt::AlignLeft;
      if (kind == platform::SS_CENTER) align = Qt::AlignTop | Qt::AlignHCenter;
      if (kind == platform::SS_RIGHT) align = Qt::AlignTop | Qt::AlignRight;
      widget_->setAlignment(align);
    }
    if (changes & Bit(WindowChange::Text)) widget_->setText(WindowText(hwnd()));
    if (changes & (Bit(WindowChange::Text) | Bit(WindowChange::Geometry))) FitOneLine();
  }

 private:
  // A caption a little wider than its label (the editor's "【药物名称】：" in 80 pixels) reads
  // badly broken over two lines; a slightly smaller font keeps it on one.
  void FitOneLine() {
    QFont font = widget_->parentWidget() ? widget_->parentWidget()->font() : widget_->font();
    const QString text = widget_->text();
    if (!text.contains(u'\n') && QFontMetrics(font).horizontalAdvance(text) > widget_->width()) {
      constexpr int kSmallestPixels = 10;
      int pixels = QFontInfo(font).pixelSize();
      while (pixels > kSmallestPixels &&
             QFontMetrics(font).horizontalAdvance(text) > widget_->width()) {
        font.setPixelSize(--pixels);
      }
    }
    widget_->setFont(font);
  }

  QPointer<QLabel> widget_;
};

// ---- Combo box -----------------------------------------------------------------------------

class ComboView : public View {
 public:
  ComboView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new QComboBox(parent)) {
    QObject::connect(widget_, &QComboBox::activated, widget_, [this](int index) { Chosen(index); });
    // A screen reader chooses by selecting an item of the list (its Toggle), which moves
    // neither the list's current item nor the box: that selection is the user's pick. The
    // list's own moves (keys, the mouse hovering) select its current item.
    QAbstractItemView* list = widget_->view();
    QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, widget_,
                     [this, list](const QItemSelection& selected) {
                       const QModelIndexList picked = selected.indexes();
                       if (syncing() || picked.size() != 1 || picked[0] == list->currentIndex())
                         return;
                       widget_->hidePopup();
                       widget_->setCurrentIndex(picked[0].row());
                       Chosen(picked[0].row());
                     });
  }
  QWidget* widget() const override { return widget_; }
  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    SyncScope scope(*this);
    using platform::SendMessageA;
    if (changes & (Bit(WindowChange::Content) | Bit(WindowChange::Created))) {
      const auto count = SendMessageA(hwnd(), platform::CB_GETCOUNT, 0, 0);
      QStringList items;
      for (platform::LRESULT i = 0; i < count; ++i) {
        const auto len = SendMessageA(hwnd(), platform::CB_GETLBTEXTLEN, i, 0);
        std::string text(len > 0 ? static_cast<std::size_t>(len) + 1 : 1, '\0');
        SendMessageA(hwnd(), platform::CB_GETLBTEXT, i,
                     reinterpret_cast<platform::LPARAM>(text.data()));
        text.resize(len > 0 ? static_cast<std::size_t>(len) : 0);
        items << ToQString(text);
      }
      widget_->clear();
      widget_->addItems(items);
    }
    widget_->setCurrentIndex(static_cast<int>(SendMessageA(hwnd(), platform::CB_GETCURSEL, 0, 0)));
  }

 private:
  void Chosen(int index) {
    if (syncing()) return;
    const HWND h = hwnd();
    platform::SelectComboItem(h, index);
    if (platform::IsWindow(h)) renderer_.MarkDirty(h, Bit(WindowChange::Selection));
  }

  QPointer<QComboBox> widget_;
};

// ---- Tab control ---------------------------------------------------------------------------

// The pages are child windows that the program shows and hides; the tab captions are empty, so
// only the pane is drawn, no tab bar.
class TabView : public View {
 public:
  TabView(Renderer& r, HWND hwnd, QWidget* parent) : View(r, hwnd), widget_(new QFrame(parent)) {
    widget_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  }
  QWidget* widget() const override { return widget_; }
  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    const auto page = platform::SendMessageA(hwnd(), platform::TCM_GETCURSEL, 0, 0);
    widget_->setAccessibleDescription(QString::number(page));
  }

 private:
  QPointer<QFrame> widget_;
};

// ---- Splitter bar --------------------------------------------------------------------------

class SplitterView;

class SplitterWidget : public QFrame {
 public:
  SplitterWidget(SplitterView& view, QWidget* parent) : QFrame(parent), view_(view) {
    SetRole(this, QAccessible::Separator);  // a bar between panes, not a frame
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAccessibleName(QStringLiteral(u"分隔条"));
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  SplitterView& view_;
  bool dragging_ = false;
  QPoint grab_;   // where in the bar it was grabbed
  QPoint start_;  // the bar's position before the drag
};

class SplitterView : public View {
 public:
  SplitterView(Renderer& r, HWND hwnd, QWidget* parent)
      : View(r, hwnd), widget_(new SplitterWidget(*this, parent)) {}
  QWidget* widget() const override { return widget_; }
  bool horizontal() const { return (Style(hwnd()) & platform::SPS_HORZ) != 0; }
  void Sync(ChangeSet changes) override {
    View::Sync(changes);
    widget_->setCursor(horizontal() ? Qt::SplitVCursor : Qt::SplitHCursor);
  }
  void Dropped(int pos) {
    platform::DragSplitter(hwnd(), pos);
    renderer_.MarkDirty(hwnd(), Bit(WindowChange::Geometry));
  }

 private:
  QPointer<SplitterWidget> widget_;
};

void SplitterWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
  dragging_ = true;
  grab_ = event->position().toPoint();
  start_ = pos();
}

void SplitterWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QFrame::mouseMoveEvent(event);
  // Follow the mouse along the bar's one axis while dragging, inside the parent: the program
  // sets the bar's final limits when it is dropped.
  const QPoint in_parent = parentWidget()->mapFromGlobal(event->globalPosition().toPoint()) - grab_;
  const int x = std::clamp(in_parent.x(), 0, std::max(0, parentWidget()->width() - width()));
  const int y = std::clamp(in_parent.y(), 0, std::max(0, parentWidget()->height() - height()));
  move(view_.horizontal() ? QPoint(start_.x(), y) : QPoint(x, start_.y()));
}

void SplitterWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return QFrame::mouseReleaseEvent(event);
  dragging_ = false;
  const QPoint in_parent = parentWidget()->mapFromGlobal(event->globalPosition().toPoint()) - grab_;
  move(start_);
  view_.Dropped(view_.horizontal() ? in_parent.y() : in_parent.x());
}

}  // namespace

std::unique_ptr<View> MakeFrameView(Renderer& renderer, HWND hwnd) {
  return std::make_unique<FrameView>(renderer, hwnd);
}

std::unique_ptr<View> MakeContainerView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<ContainerView>(renderer, hwnd, parent);
}

std::unique_ptr<View> MakeButtonView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  const DWORD type = Style(hwnd) & platform::BS_TYPEMASK;
  if (type == platform::BS_GROUPBOX) return std::make_unique<GroupView>(renderer, hwnd, parent);
  if (type == platform::BS_CHECKBOX || type == platform::BS_AUTOCHECKBOX)
    return std::make_unique<CheckView>(renderer, hwnd, parent);
  return std::make_unique<ButtonView>(renderer, hwnd, parent);
}

std::unique_ptr<View> MakeStaticView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<StaticView>(renderer, hwnd, parent);
}

std::unique_ptr<View> MakeComboView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<ComboView>(renderer, hwnd, parent);
}

std::unique_ptr<View> MakeTabView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<TabView>(renderer, hwnd, parent);
}

std::unique_ptr<View> MakeSplitterView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  return std::make_unique<SplitterView>(renderer, hwnd, parent);
}

}  // namespace kelmor::display
