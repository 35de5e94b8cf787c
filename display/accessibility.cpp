#include "display/accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLabel>
#include <QMenu>
#include <QVariant>

#include "display/renderer.h"
#include "display/views.h"
#include "platform/commctrl.h"
#include "platform/window.h"

namespace kelmor::display {
namespace {

constexpr const char* kRoleProperty = "kelmorWindowRole";

// A window's own interface. Qt lists neither a window's popup menus nor the editors that item
// views open in place among its children, so a screen reader walking the window would not find
// them while they are shown; here they follow the window's own children.
class WindowAccessible : public QAccessibleWidget {
 public:
  WindowAccessible(QWidget* window, QAccessible::Role role) : QAccessibleWidget(window, role) {}

  int childCount() const override {
    return QAccessibleWidget::childCount() + static_cast<int>(Shown().size());
  }

  QAccessibleInterface* child(int index) const override {
    const int own = QAccessibleWidget::childCount();
    if (index < own) return QAccessibleWidget::child(index);
    const QList<QWidget*> shown = Shown();
    return index - own < shown.size() ? QAccessible::queryAccessibleInterface(shown[index - own])
                                      : nullptr;
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    const int own = QAccessibleWidget::indexOfChild(child);
    if (own >= 0 || child == nullptr) return own;
    const auto at = Shown().indexOf(qobject_cast<QWidget*>(child->object()));
    return at < 0 ? -1 : QAccessibleWidget::childCount() + static_cast<int>(at);
  }

 private:
  QList<QWidget*> Shown() const {
    QList<QWidget*> shown;
    for (QMenu* menu : widget()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
      if (menu->isVisible()) shown << menu;
    }
    for (QAbstractItemView* view : widget()->findChildren<QAbstractItemView*>()) {
      for (QWidget* editor : view->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (editor->isVisible()) shown << editor;
      }
    }
    return shown;
  }
};

QAccessibleInterface* RoleFactory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  const QVariant role = widget != nullptr ? widget->property(kRoleProperty) : QVariant();
  if (!role.isValid()) return nullptr;
  const auto r = static_cast<QAccessible::Role>(role.toInt());
  if (widget->isWindow()) return new WindowAccessible(widget, r);
  return new QAccessibleWidget(widget, r);
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(RoleFactory);
    return true;
  }();
  (void)installed;
}

void SetRole(QWidget* widget, QAccessible::Role role) {
  widget->setProperty(kRoleProperty, static_cast<int>(role));
}

void TieToLabelBefore(const Renderer& renderer, platform::HWND control, QWidget* widget) {
  const std::string cls = ClassName(control);
  for (const char* captioned :
       {platform::WC_STATICA, platform::WC_BUTTONA, platform::CONTAINER_CLASSA,
        platform::SPLITTER_CLASSA, platform::WC_TABCONTROLA}) {
    if (cls == captioned) return;
  }
  platform::HWND before = platform::GetWindow(control, platform::GW_HWNDPREV);
  // Windows that are not shown (the input box's other edit) stand between nothing.
  while (before != 0 && (Style(before) & platform::WS_VISIBLE) == 0) {
    before = platform::GetWindow(before, platform::GW_HWNDPREV);
  }
  if (before == 0 || ClassName(before) != platform::WC_STATICA) return;
  if (auto* label = qobject_cast<QLabel*>(renderer.WidgetFor(before))) {
    if (!WindowText(before).isEmpty()) label->setBuddy(widget);
  }
}

}  // namespace kelmor::display
