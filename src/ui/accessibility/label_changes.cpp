#include "ui/accessibility/label_changes.h"

#include <QAccessible>
#include <QLabel>
#include <map>

namespace ui {
namespace {

std::map<QObject*, std::function<void()>>& Watches() {
  static std::map<QObject*, std::function<void()>> watches;
  return watches;
}

QAccessible::UpdateHandler& Previous() {
  static QAccessible::UpdateHandler previous = nullptr;
  return previous;
}

void Relay(QAccessibleEvent* event) {
  if (event->type() == QAccessible::NameChanged) {
    const auto found = Watches().find(event->object());
    if (found != Watches().end()) {
      const auto changed = found->second;  // it may end the watch
      changed();
    }
  }
  if (Previous() != nullptr) {
    Previous()(event);
    return;
  }
  // No handler before this one: the report goes to the platform's accessibility bridge, as it
  // would have without this one. Handlers installed after this one stay in place.
  const QAccessible::UpdateHandler current = QAccessible::installUpdateHandler(nullptr);
  QAccessible::updateAccessibility(event);
  QAccessible::installUpdateHandler(current);
}

}  // namespace

void OnLabelTextChange(QLabel* label, std::function<void()> changed) {
  static const bool installed = [] {
    Previous() = QAccessible::installUpdateHandler(&Relay);
    return true;
  }();
  (void)installed;
  Watches()[label] = std::move(changed);
  QObject::connect(label, &QObject::destroyed, [](QObject* gone) { Watches().erase(gone); });
}

}  // namespace ui
