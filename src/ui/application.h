#pragma once

#include <QApplication>

namespace ui {

// The program's application object. An error that escapes an event handler ends the program
// with its report here instead of unwinding through Qt.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv) : QApplication(argc, argv) {}

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ui
