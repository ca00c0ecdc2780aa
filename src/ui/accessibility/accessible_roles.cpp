#include "ui/accessibility/accessible_roles.h"

#include <QAccessibleWidget>
#include <QLabel>

#include "ui/cdemo.h"

namespace ui {
namespace {

// A label that shows a result: named by its caption and its text ("Link quality level: 4",
// "Received Packets: 12").
// The caption is a fixed one, or the text of the label tied to it as its caption.
class ResultLabel final : public QAccessibleWidget {
 public:
  ResultLabel(QLabel* label, QAccessible::Role role, QString caption)
      : QAccessibleWidget(label, role), caption_(std::move(caption)) {}

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    const QString caption = caption_.isEmpty() ? CaptionLabelText() : caption_;
    const QString shown = static_cast<const QLabel*>(widget())->text();
    if (!shown.isEmpty()) return caption + QStringLiteral(": ") + shown;
    // An empty count would sound like its caption beside it.
    return role() == QAccessible::StaticText ? caption + QStringLiteral(": empty") : caption;
  }

 private:
  QString CaptionLabelText() const {
    const QWidget* parent = widget()->parentWidget();
    if (parent == nullptr) return {};
    for (const QLabel* sibling : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
      if (sibling->buddy() == widget()) return sibling->text();
    }
    return {};
  }

  QString caption_;
};

struct ResultLabelKind {
  const char* objectName;
  QAccessible::Role role;
  const char* caption;  // empty: the caption label's text
};

constexpr ResultLabelKind kResultLabels[] = {
    {"Label3", QAccessible::StatusBar, "Link quality level"},
    {"Label2", QAccessible::StatusBar, "Connection"},
    {"Label15", QAccessible::StatusBar, "Connection"},
    {"Label5", QAccessible::StaticText, ""},
    {"Label4", QAccessible::StaticText, ""},
    {"Label6", QAccessible::StaticText, ""},
};

bool InMainWindow(const QWidget* widget) {
  for (const QWidget* up = widget; up != nullptr; up = up->parentWidget()) {
    if (qobject_cast<const CDemo*>(up) != nullptr) return true;
  }
  return false;
}

QAccessibleInterface* Factory(const QString& key, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  // Plain widgets that are windows: Qt makes them fillers, which a screen reader does not
  // present as a window.
  if (key == QLatin1String("QWidget") && widget->isWindow()) {
    return new QAccessibleWidget(
        widget, widget->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window);
  }
  if (key != QLatin1String("QLabel")) return nullptr;
  auto* label = static_cast<QLabel*>(widget);
  for (const ResultLabelKind& kind : kResultLabels) {
    if (label->objectName() == QLatin1String(kind.objectName) && InMainWindow(label)) {
      return new ResultLabel(label, kind.role, QString::fromLatin1(kind.caption));
    }
  }
  return nullptr;
}

}  // namespace

void InstallAccessibleRoles() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

}  // namespace ui
