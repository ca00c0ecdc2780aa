// The start-up window: its design, the port choice, the main window shown modally over it, and
// the end of the program when the chosen port cannot be opened.

#include "ui/intro.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <cstdlib>

#include "link/functions.h"
#include "platform/windows.h"
#include "ui/cdemo.h"
#include "ui_test_support.h"

namespace {

class StartUp : public uitest::WindowTest {
 protected:
  void Choose(ui::intro& start, int port) { uitest::Click(start.Form().Option1[port]); }
  // "OK"; `inside` runs while the main window is open, which is then closed.
  QPointer<QWidget> PressOk(ui::intro& start, const std::function<void(QWidget&)>& inside = {}) {
    return uitest::RunModal([&] { uitest::Click(start.Form().Command1); }, inside);
  }
};

TEST_F(StartUp, IsDesignedWithFourPortsAndNoneChosen) {
  ui::intro start;
  EXPECT_EQ(start.windowTitle(), QStringLiteral("intro"));
  EXPECT_EQ(start.size(), QSize(314, 224));
  EXPECT_EQ(start.Form().Frame1->title(), QStringLiteral("Serial Port Number"));
  EXPECT_EQ(start.Form().Command1->text(), QStringLiteral("OK"));
  EXPECT_EQ(start.Form().Command1->font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(start.Form().Command1->font().pixelSize(), 13);
  for (int i = 0; i < 4; ++i) {
    QRadioButton* option = start.Form().Option1[i];
    EXPECT_EQ(option->text(), QStringLiteral("COM%1").arg(i + 1));
    EXPECT_EQ(option->objectName(), QStringLiteral("Option1(%1)").arg(i));
    EXPECT_EQ(option->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(option->font().pixelSize(), 13);
    EXPECT_FALSE(option->isChecked());
  }
  EXPECT_TRUE(start.PortName().empty());
  EXPECT_EQ(start.MainWindow(), nullptr);
}

TEST_F(StartUp, TabOrderRunsThroughThePortsToOk) {
  ui::intro start;
  const auto& form = start.Form();
  const QWidget* expected[] = {form.Option1[1], form.Option1[2], form.Option1[3], form.Command1};
  const QWidget* current = form.Option1[0];
  for (const QWidget* next : expected) {
    const QWidget* found = current->nextInFocusChain();
    while (found->focusPolicy() == Qt::NoFocus)
      found = found->nextInFocusChain();
    EXPECT_EQ(found, next) << next->objectName().toStdString();
    current = next;
  }
  EXPECT_EQ(form.Frame1->focusPolicy(), Qt::NoFocus);
}

TEST_F(StartUp, EachPortShowsTheDeviceItStandsForAsATooltip) {
  setenv("TALVORA_COM2", "/dev/ttyUSB7", 1);
  setenv("TALVORA_COM3", "sim", 1);
  unsetenv("TALVORA_COM4");
  ui::intro start;
  EXPECT_EQ(start.Form().Option1[0]->toolTip(),
            QStringLiteral("sim:COM1 (simulated radio system)"));
  EXPECT_EQ(start.Form().Option1[1]->toolTip(), QStringLiteral("/dev/ttyUSB7"));
  EXPECT_EQ(start.Form().Option1[2]->toolTip(), QStringLiteral("sim (simulated radio system)"));
  EXPECT_EQ(start.Form().Option1[3]->toolTip(), QStringLiteral("/dev/ttyS3"));
}

TEST_F(StartUp, OkOpensTheMainWindowModallyOnTheChosenPort) {
  ui::intro start;
  start.show();
  Choose(start, 2);
  bool introClosed = true;
  const QPointer<QWidget> main = PressOk(start, [&](QWidget& shown) {
    EXPECT_EQ(&shown, start.MainWindow());
    EXPECT_EQ(shown.windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(start.MainWindow()->Loaded());
    EXPECT_EQ(OpenedLines(), std::vector<std::string>{"COM3"});
    ASSERT_NE(functions::serial, nullptr);
    EXPECT_EQ(functions::serial->devicename(), "COM3");
    // Centred on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((shown.frameGeometry().center() - screen.center()).manhattanLength(), 1);
    // The start-up window stays, and cannot be closed while the main window is open.
    introClosed = start.close();
    EXPECT_TRUE(start.isVisible());
  });
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(introClosed);
  EXPECT_EQ(start.PortName(), "COM3");
  // The "OK" handler has returned: the main window is unloaded and the port closed.
  EXPECT_FALSE(start.MainWindowOpen());
  EXPECT_FALSE(start.MainWindow()->Loaded());
  EXPECT_EQ(functions::serial, nullptr);
  EXPECT_EQ(functions::lngTimerID, 0);
  // Closing the start-up window is possible again now.
  EXPECT_TRUE(start.close());
  EXPECT_TRUE(Boxes().Boxes().empty());
}

TEST_F(StartUp, OkAgainReopensTheSamePortOrTheNewlyChosenOne) {
  ui::intro start;
  start.show();
  Choose(start, 2);
  const QPointer<QWidget> first = PressOk(start);
  const QPointer<QWidget> second = PressOk(start);
  Choose(start, 0);
  const QPointer<QWidget> third =
      PressOk(start, [&](QWidget&) { EXPECT_EQ(functions::serial->devicename(), "COM1"); });
  EXPECT_EQ(OpenedLines(), (std::vector<std::string>{"COM3", "COM3", "COM1"}));
  // One main window for the whole run.
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, third);
  EXPECT_EQ(start.PortName(), "COM1");
}

TEST_F(StartUp, APortThatCannotBeOpenedEndsTheProgramWithTheReport) {
  setenv("TALVORA_COM2", "/nonexistent/tty", 1);
  ui::intro start;
  start.show();
  Choose(start, 1);
  const QPointer<QWidget> main = PressOk(start);
  EXPECT_EQ(main, nullptr) << "the main window must not show";
  EXPECT_EQ(Ends(), std::vector<int>{1});
  ASSERT_EQ(Boxes().Boxes().size(), 1u);
  const auto& box = Boxes().Boxes().front();
  EXPECT_EQ(box.caption, "TALVORA");
  EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONSTOP);
  EXPECT_NE(box.text.find("80047922"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("-2147190494"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("Unable to open communications device"), std::string::npos) << box.text;
  // The detail: which port, which device.
  EXPECT_NE(box.text.find("COM2 (/nonexistent/tty)"), std::string::npos) << box.text;
  EXPECT_FALSE(start.MainWindowOpen());
}

TEST_F(StartUp, OkWithNoPortChosenEndsTheProgramWithTheOpenError) {
  ui::intro start;
  start.show();
  const QPointer<QWidget> main = PressOk(start);
  EXPECT_EQ(main, nullptr);
  EXPECT_EQ(Ends(), std::vector<int>{1});
  ASSERT_EQ(Boxes().Boxes().size(), 1u);
  const std::string& text = Boxes().Boxes().front().text;
  EXPECT_NE(text.find("Unable to open communications device"), std::string::npos) << text;
  EXPECT_NE(text.find("no port was chosen"), std::string::npos) << text;
  EXPECT_TRUE(OpenedLines().empty());
}

}  // namespace
