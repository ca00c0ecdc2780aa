// The port options' context menu, whose choice is saved and opened at the next "OK".

#include "ui/port_choice.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>
#include <QTemporaryDir>

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

  QTemporaryDir config_;
  std::shared_ptr<testsupport::StubDetector> detector_ =
      std::make_shared<testsupport::StubDetector>();
  std::shared_ptr<ports::PortDetector> previous_;
};

TEST_F(PortChoiceTest, TheMenuSavesTheChoiceWithoutSelectingAndTheNextOkOpensIt) {
  ui::intro start;
  start.show();
  QRadioButton* com2 = start.Form().Option1[1];
  uitest::ChooseFromContextMenu(com2, QStringLiteral("Simulated radio system"));
  EXPECT_FALSE(com2->isChecked()) << "the menu never selects the option";
  EXPECT_EQ(ports::ReadPortSettings().devices.at("COM2"), "sim");
  EXPECT_TRUE(
      com2->toolTip().endsWith("mapped by: settings (" + config_.path() + "/talvora/talvora.conf)"))
      << com2->toolTip().toStdString();

  uitest::Click(com2);
  EXPECT_NE(uitest::RunModal([&] { uitest::Click(start.Form().Command1); }), nullptr);
  EXPECT_EQ(OpenedLines(), std::vector<std::string>{""}) << "the saved device was opened";

  // "Automatic" gives the name back to the devices detected.
  uitest::ChooseFromContextMenu(com2, QStringLiteral("Automatic"));
  EXPECT_EQ(ports::ReadPortSettings().devices.count("COM2"), 0u);
  EXPECT_TRUE(com2->toolTip().startsWith(QString::fromStdString(kAdapter.path)));
}

// The choices exclude each other (radio items); a port that TALVORA_COMn decides ticks none of
// them and offers none, the variable's own line being the one marked.
TEST_F(PortChoiceTest, TheChoicesAreRadioItemsAndTheEnvironmentWinsOverThem) {
  ui::intro start;
  const struct {
    const char* name;
    const char* environment;
    QStringList ticked;
    bool choosable;
  } rows[] = {
      {"automatic", nullptr, {"Automatic"}, true},
      {"set by the environment", "sim:host=3", {"TALVORA_COM2 sets COM2 to sim:host=3"}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.environment != nullptr) setenv("TALVORA_COM2", row.environment, 1);
    const std::unique_ptr<QMenu> menu(start.Ports()->MenuFor(1, &start));
    unsetenv("TALVORA_COM2");
    QStringList ticked;
    bool choosable = false;
    for (const QAction* action : menu->actions()) {
      if (action->isChecked()) ticked << action->text();
      if (action->actionGroup() != nullptr) {
        EXPECT_TRUE(action->actionGroup()->isExclusive()) << action->text().toStdString();
        choosable = choosable || action->isEnabled();
      }
    }
    EXPECT_EQ(ticked, row.ticked);
    EXPECT_EQ(choosable, row.choosable);
  }
}

// "Other device…" starts from the device the name is mapped to now.
TEST_F(PortChoiceTest, OtherDeviceOpensWithTheCurrentMappingFilledIn) {
  std::string problem;
  ASSERT_TRUE(ports::SavePortSetting("COM2", "/dev/ttyUSB7", problem)) << problem;
  ui::intro start;
  start.show();
  QString offered;
  uitest::ContextMenu menu;
  uitest::RunModal(
      [&] { menu = uitest::ChooseFromContextMenu(start.Form().Option1[1], "Other device…"); },
      [&](QWidget& shown) {
        auto* dialog = qobject_cast<QInputDialog*>(&shown);
        ASSERT_NE(dialog, nullptr);
        offered = dialog->textValue();
        dialog->reject();
      });
  EXPECT_EQ(menu.ticked, QStringList{"Other device…"});
  EXPECT_EQ(offered, "/dev/ttyUSB7");
  EXPECT_EQ(ports::ReadPortSettings().devices.at("COM2"), "/dev/ttyUSB7")
      << "a cancel changes nothing";
}

}  // namespace
