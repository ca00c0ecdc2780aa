#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QSocketNotifier;

namespace ui {

// A test's handle on the running program's windows, for desktops where no outside tool can
// click or read them (a Wayland compositor). Switched on with TALVORA_WINDOW_PROBE=1, it reads
// one request a line from standard input and answers each on standard output:
//   windows                      one line per top-level window shown, then "end":
//                                "<caption>|<state>|<width>x<height>|exposed|active"
//   maximize|minimize <caption>  asks the platform to change the window's state, as a desktop
//                                shortcut would
//   close <caption>              the platform's close request (a title bar's Close)
//   click <caption> <name>       clicks the button of that objectName in that window
// Every request is answered "ok" or "refused: <why>", once it has been handed on.
class WindowProbe final : public QObject {
 public:
  // Whether the environment asks for the probe; a value other than "1" or empty is refused.
  static std::optional<bool> Requested(QString& problem);

  explicit WindowProbe(QObject* parent);

  // The answer to one request line (without its line end).
  static QString Answer(const QString& request);

 private:
  void ReadRequests();

  QSocketNotifier* input_;
  QByteArray pending_;
};

}  // namespace ui
