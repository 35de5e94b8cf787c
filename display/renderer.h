// One Qt widget per platform window. The renderer is told of every change (Host::WindowChanged),
// creates and destroys widgets at once, and applies the other changes on the next pass of the
// event loop, so a burst of changes (a tree of 100,000 items being built) costs one repaint.
// Views read the platform's state through its own messages and turn the user's gestures into
// platform/user_input.h calls, the same path the test driver takes.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>

#include "platform/host.h"
#include "platform/win_types.h"

namespace kelmor::display {

class Renderer;

// Bits of ChangeSet: one per platform::WindowChange.
using ChangeSet = unsigned;
constexpr ChangeSet Bit(platform::WindowChange change) {
  return 1u << static_cast<unsigned>(change);
}
inline constexpr ChangeSet kAllChanges = 0xFFFFu;

class View {
 public:
  View(Renderer& renderer, platform::HWND hwnd) : renderer_(renderer), hwnd_(hwnd) {}
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  platform::HWND hwnd() const { return hwnd_; }
  // The widget that shows the window; children of the window are placed in client().
  virtual QWidget* widget() const = 0;
  virtual QWidget* client() const { return widget(); }

  // Applies the platform's current state for the changes given.
  virtual void Sync(ChangeSet changes);

  // Heavy content (tree items) is refreshed at most every so often while the program is busy.
  virtual bool HeavyContent() const { return false; }

  // A child window that this view shows itself (the tree view's label edit); true takes it.
  virtual bool AdoptChild(platform::HWND /*child*/) { return false; }
  virtual void ChildGone(platform::HWND /*child*/) {}

  // True while the view applies platform state to its widgets (so widget signals then are not
  // taken for the user's gestures).
  bool syncing() const { return syncing_ > 0; }

 protected:
  struct SyncScope {
    explicit SyncScope(View& v) : view(v) { ++view.syncing_; }
    ~SyncScope() { --view.syncing_; }
    View& view;
  };
  void SyncChildGeometry();
  void SyncCommonState();
  void SyncName();
  void SyncFocus();
  Renderer& renderer_;

 private:
  platform::HWND hwnd_;
  int syncing_ = 0;
};

class Renderer : public QObject {
  Q_OBJECT

 public:
  Renderer();
  ~Renderer() override;

  void Changed(platform::HWND hwnd, platform::WindowChange change);

  // Applies every pending change now; heavy content only when `idle` or when its refresh is due.
  void Flush(bool idle = true);

  View* ViewFor(platform::HWND hwnd) const;
  QWidget* WidgetFor(platform::HWND hwnd) const;
  // The platform window that a widget (or one of its ancestors) shows; 0 when none.
  platform::HWND HandleFor(const QWidget* widget) const;
  // The platform window whose view's widget is exactly this one; 0 when none.
  platform::HWND HandleOf(const QWidget* widget) const;

  // Creates views for windows that exist already (the renderer came after them).
  void AdoptExistingWindows();

  // Marks a view dirty from inside the display (after a gesture).
  void MarkDirty(platform::HWND hwnd, ChangeSet changes);

 private:
  void Create(platform::HWND hwnd);
  void Destroy(platform::HWND hwnd);
  void Schedule(int delay_ms);

  std::map<platform::HWND, std::unique_ptr<View>> views_;  // handles grow, so creation order
  std::map<platform::HWND, platform::HWND> adopted_;       // child -> adopting view
  std::map<platform::HWND, ChangeSet> dirty_;
  std::map<platform::HWND, qint64> next_heavy_ms_;  // earliest time of the next heavy refresh
  QElapsedTimer clock_;
  QTimer timer_;
  bool flushing_ = false;
  std::unique_ptr<QObject> dialog_keys_;
};

}  // namespace kelmor::display
