#include "ui/pages/control_views.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace ui {

operations::PageViews ControlViews::Pages(const PageControls& pages) {
  // Both walks follow the one list of controls, so the n-th widget is the n-th view's.
  std::vector<QWidget*> widgets;
  operations::ForEachControl(pages,
                             [&](QWidget* widget, const char*, int) { widgets.push_back(widget); });
  operations::PageViews views;
  auto widget = widgets.begin();
  operations::ForEachControl(views, [&](operations::ControlView*& view, const char*, int) {
    views_.push_back(std::make_unique<WidgetControl>(*widget++));
    view = views_.back().get();
  });
  return views;
}

}  // namespace ui
