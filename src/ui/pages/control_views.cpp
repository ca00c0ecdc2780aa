#include "ui/pages/control_views.h"

#include "platform/app_error.h"

namespace ui {

operations::PageViews ControlViews::Pages(const QWidget& pages) {
  operations::PageViews views;
  operations::ForEachControl(
      views, [&](operations::ControlView*& view, const char* name, int index) {
        const QString objectName =
            index < 0 ? QString::fromLatin1(name) : QStringLiteral("%1(%2)").arg(name).arg(index);
        auto* widget = pages.findChild<QWidget*>(objectName);
        // Every control of the list is made by the page builders; one missing is a fault here.
        Q_ASSERT_X(widget != nullptr, "ControlViews", qPrintable(objectName));
        views_.push_back(std::make_unique<WidgetControl>(widget));
        view = views_.back().get();
      });
  return views;
}

}  // namespace ui
