#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace ui {

// Makes results heard. A result shows in a control that rarely has the focus (the status
// line, the link quality, received data), and a screen reader speaks changes of the focused
// control only. So each new result becomes, for as long as the focus stays where it is, the
// accessible description of the control that has the focus in the window, which reports the
// change; the control gets its own description back when the focus leaves it.
class Announcer : public QObject {
 public:
  Announcer(QWidget& window, QObject* parent);

  // A text box's new text is the result; `caption`, when given, goes before it. The box's own
  // description follows the result as well.
  void Watch(QPlainTextEdit* box, const QString& caption = {});
  void Watch(QLineEdit* box, const QString& caption);
  // A label's result is its accessible name, which joins its caption and its text.
  void Watch(QLabel* label);

  void Announce(QWidget* source, const QString& message);
  // The control that speaks the last result, while it has the focus.
  QWidget* Carrier() const { return carrier_; }

 private:
  void Restore();

  QWidget& window_;
  QPointer<QWidget> carrier_;
  QString saved_;   // the carrier's own description
  QTimer restore_;  // gives it back once the focus has left it
};

}  // namespace ui
