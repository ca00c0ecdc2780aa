#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "operations/page_views.h"
#include "ui/kit/widget_control.h"
#include "ui/pages/page_controls.h"

namespace ui {

// The views the page logic works on, over the widgets of the pages. It owns the views; they
// must not outlive the widgets' window.
class ControlViews {
 public:
  operations::ProgrammingView Programming(const ProgrammingControls& controls);
  operations::RadioTestingView RadioTesting(const RadioTestingControls& controls);
  operations::TerminalView Terminal(const TerminalControls& controls);

 private:
  operations::ControlView* View(QWidget* widget);

  std::vector<std::unique_ptr<WidgetControl>> views_;
};

}  // namespace ui
