#include "ui/pages/page_logic.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <functional>

#include "ui/fatal_error.h"
#include "ui/kit/message_limit.h"

namespace ui {
namespace {

// Reports the key presses of a text box to a handler that takes the key's code. The box
// handles every key first, as usual; the handler runs once it has, so that a handler that moves
// the focus away leaves no caret behind in a box that went on handling a key without the focus.
class KeyPressEvents : public QObject {
 public:
  using Handler = std::function<void(std::int16_t& keyAscii)>;

  KeyPressEvents(QWidget* box, Handler handler) : QObject(box), handler_(std::move(handler)) {
    box->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || delivering_) {
      return QObject::eventFilter(watched, event);
    }
    std::int16_t code = KeyCode(*static_cast<QKeyEvent*>(event));
    if (code == 0) return QObject::eventFilter(watched, event);
    const QPointer<KeyPressEvents> alive(this);
    delivering_ = true;
    QCoreApplication::sendEvent(watched, event);
    if (!alive) return true;
    delivering_ = false;
    // Delivered once, to the box and whoever it passed the key on to.
    event->accept();
    Guarded([&] { handler_(code); });
    return true;
  }

 private:
  static std::int16_t KeyCode(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return 13;
    if (key.text().size() == 1) return static_cast<std::int16_t>(key.text().at(0).unicode() & 0xFF);
    return 0;
  }

  Handler handler_;
  bool delivering_ = false;
};

template <typename Procedure>
void OnClick(QPushButton* button, QObject* context, Procedure procedure) {
  QObject::connect(button, &QPushButton::clicked, context, [procedure] { Guarded(procedure); });
}

}  // namespace

void ConnectPageLogic(const PageControls& controls, operations::PageModel& model,
                      QObject* context) {
  auto* reader = &model.Reader();
  auto* writer = &model.Writer();
  auto* linkTest = &model.LinkTest();
  auto* terminal = &model.Terminal();
  OnClick(controls.programming.Command2, context, [reader] { reader->Command2_Click(); });
  OnClick(controls.programming.Command4, context, [writer] { writer->Command4_Click(); });
  OnClick(controls.radioTesting.Command3, context, [linkTest] { linkTest->Command3_Click(); });
  OnClick(controls.radioTesting.Command1, context, [linkTest] { linkTest->Command1_Click(); });
  model.Timer1().OnTick([linkTest] { Guarded([linkTest] { linkTest->Timer1_Timer(); }); });
  OnClick(controls.terminal.Command7, context, [terminal] { terminal->Command7_Click(); });
  OnClick(controls.terminal.Command5, context, [terminal] { terminal->Command5_Click(); });
  OnClick(controls.terminal.Command6, context, [terminal] { terminal->Command6_Click(); });
  new MessageLimit(
      controls.terminal.Text1, [terminal] { return terminal->MessageLimit(); },
      &operations::Terminal::MessageByteCount);
  new KeyPressEvents(controls.terminal.Text1,
                     [terminal](std::int16_t& key) { terminal->Text1_KeyPress(key); });
  new KeyPressEvents(controls.terminal.Text2,
                     [terminal](std::int16_t& key) { terminal->Text2_KeyPress(key); });
}

}  // namespace ui
