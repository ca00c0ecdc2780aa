#pragma once

#include <QObject>
#include <functional>

#include "ui/pages/page_controls.h"

class QTabWidget;

namespace ui {

// F1, Return and the keypad's Enter on a register's name box do what a click on it does:
// rows 0, 1 and 3 open their help window.
class NameBoxKeys : public QObject {
 public:
  using Click = std::function<void(int row)>;
  NameBoxKeys(const ProgrammingControls& controls, Click click, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ProgrammingControls controls_;
  Click click_;
};

// A button of `window` that has the focus and disables itself (TEST ON, TEST OFF,
// Initialization) hands the focus on to the next control in the tab order that can take it,
// once the click that disabled it is over, rather than to the tab strip.
class FocusHandover : public QObject {
 public:
  FocusHandover(QWidget& window, QObject* parent);

  // The control after `from` in the tab order that the focus goes to: enabled, shown, taking
  // the focus by Tab, not a tab strip; null if there is none.
  static QWidget* NextAfter(QWidget* from);

 private:
  QWidget& window_;
};

// A tab page withheld while an operation runs says so to assistive technology: its tab's name
// and the page's description tell that it is unavailable until the operation ends.
class WithheldPages : public QObject {
 public:
  WithheldPages(QTabWidget& tabs, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Show(int page);

  QTabWidget& tabs_;
};

}  // namespace ui
