#pragma once

#include <QObject>
#include <functional>
#include <map>

class QWidget;

namespace ui {

// Click and double-click handlers for controls that report neither, such as text boxes. A
// click is a press and a release of the left button on the same control; a double-click is
// reported after the click of the same gesture, and the release that ends it is no click.
class ClickEvents : public QObject {
 public:
  using Handler = std::function<void()>;

  explicit ClickEvents(QObject* parent) : QObject(parent) {}

  void OnClick(QWidget* control, Handler handler);
  void OnDoubleClick(QWidget* control, Handler handler);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Watch {
    Handler click;
    Handler doubleClick;
    bool pressed = false;
  };

  Watch& WatchOf(QWidget* control);

  std::map<QObject*, Watch> watches_;
};

}  // namespace ui
