#include "ui_test_support.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "link/functions.h"
#include "serial/simulated_line.h"
#include "support/scripted_peer.h"
#include "ui/cdemo.h"
#include "ui/design.h"

namespace uitest {
void WindowTest::SetUp() {
  ui::RegisterFontSubstitutes();
  clock_ = &platform::UseVirtualTime();
  for (int n = 1; n <= 4; ++n) {
    const std::string name = "COM" + std::to_string(n);
    setenv(("TALVORA_" + name).c_str(), ("sim:" + name).c_str(), 1);
  }
  opened_ = std::make_shared<std::vector<std::string>>();
  win32::SetSimulatedPeerFactory(
      [opened = opened_](const std::string& options,
                         std::string&) -> std::shared_ptr<win32::LinePeer> {
        opened->push_back(options);
        return std::make_shared<testsupport::ScriptedPeer>();
      });
  boxes_ = std::make_unique<testsupport::MessageBoxRecorder>();
  ends_ = std::make_shared<std::vector<int>>();
  previousEnd_ = ui::SetProgramEnd([ends = ends_](int status) { ends->push_back(status); });
}

void WindowTest::TearDown() {
  functions::CloseSerial();
  ui::SetProgramEnd(previousEnd_);
  boxes_.reset();
  win32::SetSimulatedPeerFactory({});
}

QPointer<QWidget> RunModal(const std::function<void()>& open,
                           const std::function<void(QWidget&)>& inside, int patienceMs) {
  QPointer<QWidget> seen;
  const QWidget* before = QApplication::activeModalWidget();
  bool handled = false;
  QTimer poll;
  poll.setInterval(1);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (handled || modal == nullptr || modal == before || !modal->isVisible()) return;
    handled = true;
    poll.stop();
    seen = modal;
    if (inside) inside(*modal);
    if (seen && seen->isVisible()) seen->close();
  });
  // A window that does not close would hang the test; close it by force and fail.
  QTimer patience;
  patience.setSingleShot(true);
  patience.setInterval(patienceMs);
  QObject::connect(&patience, &QTimer::timeout, [&] {
    ADD_FAILURE() << "a modal window stayed open";
    if (auto* main = qobject_cast<ui::CDemo*>(seen.data())) main->EnableClose();
    if (seen) seen->close();
  });
  poll.start();
  patience.start();
  open();
  poll.stop();
  patience.stop();
  return seen;
}

void Click(QWidget* control) {
  QTest::mouseClick(control, Qt::LeftButton);
}

void ClickThroughWindow(QWidget* control) {
  QWidget* window = control->window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                    control->mapTo(window, control->rect().center()));
}

void DoubleClick(QWidget* control) {
  QTest::mousePress(control, Qt::LeftButton);
  QTest::mouseRelease(control, Qt::LeftButton);
  QTest::mousePress(control, Qt::LeftButton);
  QTest::mouseDClick(control, Qt::LeftButton);
  QTest::mouseRelease(control, Qt::LeftButton);
}

QPoint WindowPosition(const QWidget* control) {
  return control->mapTo(control->window(), QPoint(0, 0));
}

QRgb TextColour(const QWidget* box) {
  return box->palette().color(QPalette::Text).rgb();
}

QRgb BackgroundColour(const QWidget* box) {
  return box->palette().color(QPalette::Base).rgb();
}

}  // namespace uitest
