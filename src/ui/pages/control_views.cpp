#include "ui/pages/control_views.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace ui {

operations::ControlView* ControlViews::View(QWidget* widget) {
  views_.push_back(std::make_unique<WidgetControl>(widget));
  return views_.back().get();
}

operations::ProgrammingView ControlViews::Programming(const ProgrammingControls& controls) {
  operations::ProgrammingView view;
  for (int row = 0; row < kRegisterCount; ++row) {
    view.Check1[row] = View(controls.Check1[row]);
    view.Text6[row] = View(controls.Text6[row]);
    view.Text8[row] = View(controls.Text8[row]);
  }
  view.Option1 = View(controls.Option1);
  view.Option2 = View(controls.Option2);
  view.Text7 = View(controls.Text7);
  return view;
}

operations::RadioTestingView ControlViews::RadioTesting(const RadioTestingControls& controls) {
  operations::RadioTestingView view;
  for (std::size_t lamp = 0; lamp < view.Picture1.size(); ++lamp)
    view.Picture1[lamp] = View(controls.Picture1[lamp]);
  view.Command3 = View(controls.Command3);
  view.Command1 = View(controls.Command1);
  view.Label3 = View(controls.Label3);
  view.Label2 = View(controls.Label2);
  view.Label5 = View(controls.Label5);
  view.Label4 = View(controls.Label4);
  view.Label6 = View(controls.Label6);
  view.Timer1 = controls.Timer1;
  return view;
}

operations::TerminalView ControlViews::Terminal(const TerminalControls& controls) {
  operations::TerminalView view;
  view.Command7 = View(controls.Command7);
  view.Command6 = View(controls.Command6);
  view.Label15 = View(controls.Label15);
  view.Command5 = View(controls.Command5);
  view.Text1 = View(controls.Text1);
  view.Label14 = View(controls.Label14);
  view.Text2 = View(controls.Text2);
  view.TermText = View(controls.TermText);
  view.Label13 = View(controls.Label13);
  view.Text3 = View(controls.Text3);
  view.TermTextWindow = controls.TermTextWindow;
  view.Text3Window = controls.Text3Window;
  return view;
}

}  // namespace ui
