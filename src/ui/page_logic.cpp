#include "ui/page_logic.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

#include "platform/interval_timer.h"
#include "ui/fatal_error.h"
#include "ui/message_limit.h"

namespace ui {
namespace {

// Reports the key presses of a text box to a handler that takes the key's code, before the
// box itself handles them; the box still receives every key.
class KeyPressEvents : public QObject {
 public:
  using Handler = std::function<void(std::int16_t& keyAscii)>;

  KeyPressEvents(QWidget* box, Handler handler) : QObject(box), handler_(std::move(handler)) {
    box->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      std::int16_t code = 0;
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        code = 13;
      } else if (key->text().size() == 1) {
        code = static_cast<std::int16_t>(key->text().at(0).unicode() & 0xFF);
      }
      if (code != 0) Guarded([&] { handler_(code); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  Handler handler_;
};

template <typename Procedure>
void OnClick(QPushButton* button, QObject* context, Procedure procedure) {
  QObject::connect(button, &QPushButton::clicked, context, [procedure] { Guarded(procedure); });
}

}  // namespace

std::unique_ptr<PageLogic> ConnectPageLogic(const PageControls& controls, const PageViews& views,
                                            operations::RegisterTable& table,
                                            operations::MainWindowServices& window,
                                            operations::SessionState& session, QObject* context) {
  auto logic = std::make_unique<PageLogic>();
  logic->reader = std::make_unique<operations::EepromReader>(table, window, session);
  logic->writer = std::make_unique<operations::EepromWriter>(table, window, session);
  logic->linkTest = std::make_unique<operations::LinkTest>(views.radioTesting, window, session);
  logic->terminal = std::make_unique<operations::Terminal>(views.terminal, window, session);

  auto* reader = logic->reader.get();
  auto* writer = logic->writer.get();
  auto* linkTest = logic->linkTest.get();
  auto* terminal = logic->terminal.get();
  OnClick(controls.programming.Command2, context, [reader] { reader->Command2_Click(); });
  OnClick(controls.programming.Command4, context, [writer] { writer->Command4_Click(); });
  OnClick(controls.radioTesting.Command3, context, [linkTest] { linkTest->Command3_Click(); });
  OnClick(controls.radioTesting.Command1, context, [linkTest] { linkTest->Command1_Click(); });
  controls.radioTesting.Timer1->OnTick(
      [linkTest] { Guarded([linkTest] { linkTest->Timer1_Timer(); }); });
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
  return logic;
}

}  // namespace ui
