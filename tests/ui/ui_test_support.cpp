#include "ui_test_support.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdlib>

#include "link/functions.h"
#include "serial/sim_line/simulated_line.h"
#include "support/scripted_peer.h"
#include "ui/kit/design.h"

namespace uitest {
void WindowTest::SetUp() {
  ui::RegisterFontSubstitutes();
  clock_ = &platform::UseVirtualTime();
  for (const std::string n : {"1", "2", "3", "4"})
    setenv(("TALVORA_COM" + n).c_str(), ("sim:COM" + n).c_str(), 1);
  serial::SetSimulatedPeerFactory(
      [this](const std::string& options, std::string&) -> std::shared_ptr<serial::LinePeer> {
        opened_.push_back(options);
        return std::make_shared<testsupport::ScriptedPeer>();
      });
  boxes_ = std::make_unique<testsupport::MessageBoxRecorder>();
  previousEnd_ = ui::SetProgramEnd([this](int status) { ends_.push_back(status); });
}

void WindowTest::TearDown() {
  functions::CloseSerial();
  ui::SetProgramEnd(previousEnd_);
  boxes_.reset();
  serial::SetSimulatedPeerFactory({});
}

QPointer<QWidget> RunModal(const std::function<void()>& open,
                           const std::function<void(QWidget&)>& inside, int patienceMs) {
  QPointer<QWidget> seen;
  const QWidget* before = QApplication::activeModalWidget();
  QTimer poll;
  poll.callOnTimeout([&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == before || !modal->isVisible()) return;
    poll.stop();
    seen = modal;
    if (inside) inside(*modal);
    if (seen && seen->isVisible()) seen->close();
  });
  // A window that does not close, or a main window that is not modal, would hang the test:
  // close them by force and fail.
  const QObject patience;
  QTimer::singleShot(patienceMs, &patience, [&] {
    ADD_FAILURE() << "a modal window stayed open, or none opened";
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* main = qobject_cast<ui::CDemo*>(window)) {
        main->EnableClose();
        main->close();
      }
    }
    if (seen) seen->close();
  });
  poll.start(1);
  open();
  poll.stop();
  return seen;
}

void Click(QWidget* control) {
  QTest::mouseClick(control, Qt::LeftButton);
}

ContextMenu ChooseFromContextMenu(QWidget* control, const QString& choice, QPoint at) {
  ContextMenu seen;
  QTimer poll;
  poll.callOnTimeout([&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    poll.stop();
    for (QAction* action : menu->actions()) {
      seen.entries << action->text();
      if (action->isChecked()) seen.ticked << action->text();
      if (action->text() == choice) action->trigger();
    }
    menu->close();
  });
  poll.start(1);
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, control->mapToGlobal(at));
  QApplication::sendEvent(control, &click);
  EXPECT_TRUE(seen.entries.contains(choice)) << seen.entries.join(" | ").toStdString();
  return seen;
}

void ExpectPlaced(const QWidget* control, int left, int top, int width, int height) {
  const auto near = [](int pixels, int twips) { return std::abs(pixels - twips / 15.0) <= 0.5; };
  const QPoint at = control->mapTo(control->window(), QPoint(0, 0));
  EXPECT_PRED2(near, at.x(), left);
  EXPECT_PRED2(near, at.y(), top);
  EXPECT_TRUE(width < 0 || near(control->width(), width)) << "width " << control->width();
  EXPECT_TRUE(height < 0 || near(control->height(), height)) << "height " << control->height();
}

QRgb TextColour(const QWidget* box) {
  return box->palette().color(QPalette::Text).rgb();
}

}  // namespace uitest
