#include "display/renderer.h"

#include <strings.h>

#include <QCoreApplication>
#include <algorithm>
#include <vector>

#include "display/accessibility.h"
#include "display/dialog_keys.h"
#include "display/qt_text.h"
#include "display/views.h"
#include "platform/commctrl.h"
#include "platform/window.h"

namespace kelmor::display {

using platform::HWND;
using platform::WindowChange;

namespace {

// While the program is busy (it processes events between rows), heavy content is redrawn at
// most this often, and never more than a fifth of the time.
constexpr qint64 kHeavyIntervalMs = 250;

bool Same(const std::string& a, const char* b) {
  return strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

// ---- View ----------------------------------------------------------------------------------

View::~View() = default;

void View::Sync(ChangeSet changes) {
  SyncScope scope(*this);
  if (changes & (Bit(WindowChange::Geometry) | Bit(WindowChange::Created))) SyncChildGeometry();
  if (changes & (Bit(WindowChange::Style) | Bit(WindowChange::Created))) SyncCommonState();
  if (changes & (Bit(WindowChange::Name) | Bit(WindowChange::Created))) SyncName();
  if (changes & (Bit(WindowChange::Focus) | Bit(WindowChange::Created))) SyncFocus();
}

void View::SyncName() {
  const std::string name = platform::GetAccessibleName(hwnd_);
  if (!name.empty()) widget()->setAccessibleName(ToQString(name));
}

void View::SyncFocus() {
  if (platform::GetFocus() == hwnd_) widget()->setFocus(Qt::TabFocusReason);
}

void View::SyncChildGeometry() {
  platform::RECT r;
  if (!platform::GetWindowPosition(hwnd_, &r)) return;
  widget()->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void View::SyncCommonState() {
  const platform::DWORD style = Style(hwnd_);
  widget()->setEnabled((style & platform::WS_DISABLED) == 0);
  widget()->setVisible((style & platform::WS_VISIBLE) != 0);
}

// ---- Renderer ------------------------------------------------------------------------------

Renderer::Renderer() : dialog_keys_(std::make_unique<DialogKeys>(*this)) {
  InstallAccessibility();
  if (QCoreApplication* app = QCoreApplication::instance())
    app->installEventFilter(dialog_keys_.get());
  clock_.start();
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { Flush(false); });
}

Renderer::~Renderer() {
  // Top-level widgets own their children's widgets.
  std::vector<QPointer<QWidget>> tops;
  for (auto& [hwnd, view] : views_) {
    if (view->widget() != nullptr && view->widget()->parentWidget() == nullptr)
      tops.emplace_back(view->widget());
  }
  views_.clear();
  for (auto& w : tops) delete w.data();
}

void Renderer::Changed(HWND hwnd, WindowChange change) {
  switch (change) {
    case WindowChange::Created:
      Create(hwnd);
      return;
    case WindowChange::Destroyed:
      Destroy(hwnd);
      return;
    default:
      break;
  }
  if (auto a = adopted_.find(hwnd); a != adopted_.end()) {
    MarkDirty(a->second, Bit(WindowChange::Content));
    return;
  }
  MarkDirty(hwnd, Bit(change));
}

void Renderer::MarkDirty(HWND hwnd, ChangeSet changes) {
  dirty_[hwnd] |= changes;
  Schedule(0);
}

void Renderer::Schedule(int delay_ms) {
  if (timer_.isActive() && timer_.remainingTime() <= delay_ms) return;
  timer_.start(delay_ms);
}

void Renderer::Create(HWND hwnd) {
  if (views_.count(hwnd) != 0 || !platform::IsWindow(hwnd)) return;
  const bool child = (Style(hwnd) & platform::WS_CHILD) != 0;
  QWidget* parent = nullptr;
  if (child) {
    const HWND parent_hwnd = platform::GetParent(hwnd);
    View* parent_view = ViewFor(parent_hwnd);
    if (parent_view == nullptr) {
      Create(parent_hwnd);
      parent_view = ViewFor(parent_hwnd);
    }
    if (parent_view == nullptr) return;
    if (parent_view->AdoptChild(hwnd)) {
      adopted_[hwnd] = parent_hwnd;
      MarkDirty(parent_hwnd, Bit(WindowChange::Content));
      return;
    }
    parent = parent_view->client();
  }
  std::unique_ptr<View> view = MakeView(*this, hwnd, parent);
  if (view == nullptr) return;
  if (child) TieToLabelBefore(*this, hwnd, view->widget());
  views_.emplace(hwnd, std::move(view));
  MarkDirty(hwnd, kAllChanges);
}

void Renderer::Destroy(HWND hwnd) {
  dirty_.erase(hwnd);
  next_heavy_ms_.erase(hwnd);
  if (auto a = adopted_.find(hwnd); a != adopted_.end()) {
    const HWND owner = a->second;
    adopted_.erase(a);
    if (View* v = ViewFor(owner)) v->ChildGone(hwnd);
    return;
  }
  auto it = views_.find(hwnd);
  if (it == views_.end()) return;
  std::unique_ptr<View> view = std::move(it->second);
  views_.erase(it);
  // The widget may be delivering the very event that destroyed its window: hide it now, delete
  // it when control is back in the event loop.
  QPointer<QWidget> widget = view->widget();
  if (widget != nullptr) {
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
  }
  view.reset();
}

void Renderer::AdoptExistingWindows() {
  std::vector<HWND> pending = platform::TopLevelWindows();
  for (std::size_t i = 0; i < pending.size(); ++i) {
    Create(pending[i]);
    for (HWND c : platform::ChildWindows(pending[i])) pending.push_back(c);
  }
}

void Renderer::Flush(bool idle) {
  if (flushing_) return;
  flushing_ = true;
  const qint64 now = clock_.elapsed();
  qint64 next_due = -1;
  // Parents before children: handles grow with creation.
  std::map<HWND, ChangeSet> work;
  work.swap(dirty_);
  for (auto& [hwnd, changes] : work) {
    View* view = ViewFor(hwnd);
    if (view == nullptr) continue;
    if (!platform::IsWindow(hwnd)) continue;
    ChangeSet now_changes = changes;
    if (view->HeavyContent() && (changes & Bit(WindowChange::Content)) && !idle) {
      auto due = next_heavy_ms_.find(hwnd);
      if (due != next_heavy_ms_.end() && now < due->second) {
        // Too soon: keep the content change for later, apply the rest.
        dirty_[hwnd] |= Bit(WindowChange::Content);
        now_changes &= ~Bit(WindowChange::Content);
        next_due = next_due < 0 ? due->second : std::min(next_due, due->second);
      }
    }
    if (now_changes == 0) continue;
    QElapsedTimer took;
    took.start();
    view->Sync(now_changes);
    if (view->HeavyContent() && (now_changes & Bit(WindowChange::Content))) {
      next_heavy_ms_[hwnd] = clock_.elapsed() + std::max(kHeavyIntervalMs, 4 * took.elapsed());
    }
  }
  flushing_ = false;
  if (!dirty_.empty()) {
    bool heavy_only = next_due >= 0;
    for (const auto& [hwnd, changes] : dirty_) {
      if (changes != Bit(WindowChange::Content) || !ViewFor(hwnd) || !ViewFor(hwnd)->HeavyContent())
        heavy_only = false;
    }
    Schedule(heavy_only ? static_cast<int>(std::max<qint64>(0, next_due - clock_.elapsed())) : 0);
  }
}

View* Renderer::ViewFor(HWND hwnd) const {
  auto it = views_.find(hwnd);
  return it == views_.end() ? nullptr : it->second.get();
}

QWidget* Renderer::WidgetFor(HWND hwnd) const {
  View* v = ViewFor(hwnd);
  return v == nullptr ? nullptr : v->widget();
}

HWND Renderer::HandleFor(const QWidget* widget) const {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    for (const auto& [hwnd, view] : views_) {
      if (view->widget() == w) return hwnd;
    }
  }
  return 0;
}

HWND Renderer::HandleOf(const QWidget* widget) const {
  for (const auto& [hwnd, view] : views_) {
    if (widget != nullptr && view->widget() == widget) return hwnd;
  }
  return 0;
}

// ---- Factory -------------------------------------------------------------------------------

std::unique_ptr<View> MakeView(Renderer& renderer, HWND hwnd, QWidget* parent) {
  const std::string cls = ClassName(hwnd);
  if (parent == nullptr) return MakeFrameView(renderer, hwnd);
  if (Same(cls, platform::WC_BUTTONA)) return MakeButtonView(renderer, hwnd, parent);
  if (Same(cls, platform::WC_EDITA)) return MakeEditView(renderer, hwnd, parent);
  if (Same(cls, platform::WC_STATICA)) return MakeStaticView(renderer, hwnd, parent);
  if (Same(cls, platform::WC_COMBOBOXA)) return MakeComboView(renderer, hwnd, parent);
  if (Same(cls, platform::WC_TABCONTROLA)) return MakeTabView(renderer, hwnd, parent);
  if (Same(cls, platform::WC_TREEVIEWA)) return MakeTreeView(renderer, hwnd, parent);
  if (Same(cls, platform::WC_LISTVIEWA)) return MakeListView(renderer, hwnd, parent);
  if (Same(cls, platform::RICHEDIT_CLASSA)) return MakeRichEditView(renderer, hwnd, parent);
  if (Same(cls, platform::SPLITTER_CLASSA)) return MakeSplitterView(renderer, hwnd, parent);
  return MakeContainerView(renderer, hwnd, parent);
}

}  // namespace kelmor::display
