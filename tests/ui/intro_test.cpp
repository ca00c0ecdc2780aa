// The start-up window, and the main window it shows modally.

#include "ui/intro.h"

#include <QGroupBox>
#include <QGuiApplication>

#include "ui_test_support.h"

namespace {

class StartUp : public uitest::WindowTest {};

// Chooses a port (-1: none) and presses "OK"; `inside` runs while the main window is open.
QPointer<QWidget> ChooseAndPressOk(ui::intro& start, int port,
                                   const std::function<void(QWidget&)>& inside = {}) {
  if (port >= 0) uitest::Click(start.Form().Option1[port]);
  return uitest::RunModal([&] { uitest::Click(start.Form().Command1); }, inside);
}

// Places in twips, fifteen to the pixel; the frame lies at (135, 120) in the window. The
// tooltips fill in once the window is on the screen.
TEST_F(StartUp, IsLaidOutAsDesignedAndEachPortShowsItsDeviceAsATooltip) {
  setenv("TALVORA_COM2", "/dev/ttyUSB7", 1);
  setenv("TALVORA_COM3", "sim", 1);
  unsetenv("TALVORA_COM4");
  ui::intro start;
  start.show();
  EXPECT_TRUE(start.Form().Option1[0]->toolTip().isEmpty()) << "detection ran before the window";
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&start));
  for (int i = 0; i < 200 && start.Form().Option1[3]->toolTip().isEmpty(); ++i)
    QTest::qWait(10);
  EXPECT_EQ(start.size(), QSize(314, 224));
  uitest::ExpectPlaced(start.Form().Frame1, 135, 120, 4440, 3090);
  uitest::ExpectPlaced(start.Form().Command1, 135 + 1740, 120 + 900, 1695, 840);
  EXPECT_EQ(start.Form().Command1->font().family(), QStringLiteral("MS Sans Serif"));
  // The device first, where the mapping came from last.
  const std::pair<const char*, const char*> tips[] = {
      {"sim:COM1", "environment (TALVORA_COM1)"},
      {"/dev/ttyUSB7", "environment (TALVORA_COM2)"},
      {"sim", "environment (TALVORA_COM3)"},
      {"/dev/ttyS3", "automatic (no device detected for it)"}};
  for (int i = 0; i < 4; ++i) {
    uitest::ExpectPlaced(start.Form().Option1[i], 135 + 225, 120 + 525 + 330 * i, 945, 270);
    const QStringList tip = start.Form().Option1[i]->toolTip().split('\n');
    EXPECT_EQ(tip.first(), QString::fromLatin1(tips[i].first));
    EXPECT_EQ(tip.last(), QStringLiteral("mapped by: ") + tips[i].second);
    EXPECT_EQ(start.Form().Option1[i]->font().pixelSize(), 13);
  }
  EXPECT_EQ(start.Form().Option1[2]->toolTip().split('\n')[1], "simulated radio system");
}

TEST_F(StartUp, OkOpensTheMainWindowModallyOnTheChosenPortAndAgainOnTheNextOk) {
  ui::intro start;
  start.show();
  const QPointer<QWidget> first = ChooseAndPressOk(start, 2, [&](QWidget&) {
    ASSERT_NE(functions::serial, nullptr);
    EXPECT_EQ(functions::serial->devicename(), "COM3");
    // The start-up window stays, and cannot be closed while the main window is open.
    EXPECT_FALSE(start.close());
  });
  ASSERT_NE(first, nullptr);
  // The "OK" handler has returned: the main window is unloaded and the port closed.
  EXPECT_FALSE(start.MainWindow()->Loaded());
  EXPECT_EQ(functions::serial, nullptr);

  const QPointer<QWidget> second = ChooseAndPressOk(start, -1);
  // Each change of focus in a main window shown again reaches the application once.
  int focusChanges = 0;
  const QPointer<QWidget> third = ChooseAndPressOk(start, 0, [&](QWidget& shown) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&shown));
    const auto counting =
        QObject::connect(qApp, &QGuiApplication::focusObjectChanged, [&] { ++focusChanges; });
    shown.findChild<QLineEdit*>("Text6(5)")->setFocus();
    QObject::disconnect(counting);
  });
  EXPECT_EQ(focusChanges, 1);
  EXPECT_EQ(OpenedLines(), (std::vector<std::string>{"COM3", "COM3", "COM1"}));
  EXPECT_TRUE(first == second && first == third) << "one main window for the whole run";
  EXPECT_TRUE(Boxes().Boxes().empty());
  EXPECT_TRUE(start.close());
}

// The report names the device tried, with the middle of a very long path left out, and the
// fix as a sentence of its own.
TEST_F(StartUp, APortThatCannotBeOpenedEndsTheProgramWithTheReport) {
  std::string longPath = "/nonexistent";
  while (longPath.size() < 5000)
    longPath += "/" + std::string(240, 'd') + std::to_string(longPath.size());
  std::string longStart = "COM3 (";
  longStart.append(longPath, 0, 38).append("...");
  std::string longEnd = longPath.substr(longPath.size() - 39);
  longEnd.push_back(')');
  struct Case {
    int port;
    const char* detail;
    const char* end;  // where the detail is cut in two, what its second part shows
  };
  const Case cases[] = {
      {1, "COM2 (/nonexistent/tty): no such device.\nCheck the device name;", ""},
      {-1, ": no port was chosen.\nChoose one of COM1 to COM4 before pressing OK", ""},
      {2, longStart.c_str(), longEnd.c_str()},
  };
  setenv("TALVORA_COM2", "/nonexistent/tty", 1);
  setenv("TALVORA_COM3", longPath.c_str(), 1);
  for (const auto& [port, detail, end] : cases) {
    SCOPED_TRACE(port);
    ui::intro start;
    start.show();
    EXPECT_EQ(ChooseAndPressOk(start, port), nullptr) << "the main window must not show";
    EXPECT_FALSE(start.MainWindowOpen());
    ASSERT_FALSE(Boxes().Boxes().empty());
    const auto& box = Boxes().Boxes().back();
    EXPECT_EQ(box.caption, "TALVORA");
    EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONSTOP);
    EXPECT_LT(box.text.size(), 400u);
    for (const char* part : {"-2147190494 (80047922)", "Unable to open communications device"})
      EXPECT_NE(box.text.find(part), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(detail), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(end), std::string::npos) << box.text;
  }
  EXPECT_EQ(Ends(), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(Boxes().Boxes().size(), 3u);
  EXPECT_TRUE(OpenedLines().empty());
}

}  // namespace
