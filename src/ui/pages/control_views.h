#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "operations/page_views.h"
#include "ui/kit/widget_control.h"
#include "ui/pages/page_controls.h"

namespace ui {

// The views the page model works on, over the widgets of the pages. It owns the views; they
// must not outlive the widgets' window.
class ControlViews {
 public:
  // The views of every control of `pages` the page model works on.
  operations::PageViews Pages(const PageControls& pages);

 private:
  std::vector<std::unique_ptr<WidgetControl>> views_;
};

}  // namespace ui
