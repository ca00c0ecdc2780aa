#include "ui/application.h"

#include "ui/fatal_error.h"

namespace ui {

bool Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  Guarded([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace ui
