// The port options beyond their design: tooltips that say which device each name opens, and
// the context menu whose choice is saved and opened at the next "OK".

#include "ui/port_choice.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include "ports/port_detector.h"
#include "ports/port_settings.h"
#include "support/stub_detector.h"
#include "ui/intro.h"
#include "ui_test_support.h"

namespace {

const ports::DetectedPort kAdapter{"/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0",
                                   "/dev/ttyUSB0", "FTDI FT232R USB UART, serial A50285BI"};

class PortChoiceTest : public uitest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    setenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit().constData(), 1);
    detector_->detected = {kAdapter};
    previous_ = ports::UseDetector(detector_);
    unsetenv("TALVORA_COM2");  // COM2 is left to the settings file and the devices detected
  }
  void TearDown() override {
    ports::UseDetector(previous_);
    WindowTest::TearDown();
  }

  // Right-clicks `option` and picks the entry `choice` of the menu that opens.
  void ChooseFromMenu(QRadioButton* option, const QString& choice) {
    QStringList offered;
    QTimer poll;
    poll.callOnTimeout([&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      poll.stop();
      for (QAction* action : menu->actions()) {
        offered << action->text();
        if (action->text() == choice) action->trigger();
      }
      menu->close();
    });
    poll.start(1);
    const QPoint at(5, 5);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, option->mapToGlobal(at));
    QApplication::sendEvent(option, &click);
    EXPECT_TRUE(offered.contains(choice)) << offered.join(" | ").toStdString();
  }

  QTemporaryDir config_;
  std::shared_ptr<testsupport::StubDetector> detector_ =
      std::make_shared<testsupport::StubDetector>();
  std::shared_ptr<ports::PortDetector> previous_;
};

TEST_F(PortChoiceTest, TheMenuSavesTheChoiceWithoutSelectingAndTheNextOkOpensIt) {
  ui::intro start;
  start.show();
  QRadioButton* com2 = start.Form().Option1[1];
  ChooseFromMenu(com2, QStringLiteral("Simulated radio system"));
  EXPECT_FALSE(com2->isChecked()) << "the menu never selects the option";
  EXPECT_EQ(ports::ReadPortSettings().devices.at("COM2"), "sim");
  EXPECT_TRUE(
      com2->toolTip().endsWith("mapped by: settings (" + config_.path() + "/talvora/talvora.conf)"))
      << com2->toolTip().toStdString();

  uitest::Click(com2);
  EXPECT_NE(uitest::RunModal([&] { uitest::Click(start.Form().Command1); }), nullptr);
  EXPECT_EQ(OpenedLines(), std::vector<std::string>{""}) << "the saved device was opened";

  // "Automatic" gives the name back to the devices detected.
  ChooseFromMenu(com2, QStringLiteral("Automatic"));
  EXPECT_EQ(ports::ReadPortSettings().devices.count("COM2"), 0u);
  EXPECT_TRUE(com2->toolTip().startsWith(QString::fromStdString(kAdapter.path)));
}

}  // namespace
