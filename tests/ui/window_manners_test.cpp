// The designed windows on any desktop: only their designed title-bar buttons, a fixed size, and
// whatever a desktop does to them anyway undone, so that no window is left unusable.

#include "ui/window_manners.h"

#include <QWindow>

#include "ui/help_windows.h"
#include "ui/intro.h"
#include "ui_test_support.h"

namespace {

class WindowManners : public uitest::WindowTest {
 protected:
  // Asks the platform for `state`, as a desktop would set it, and gives the program a moment to
  // answer (until the window is back in its normal state, or a second at most).
  static void DesktopSets(QWidget& window, Qt::WindowState state) {
    window.windowHandle()->setWindowStates(state);
    QTest::qWait(10);
    (void)QTest::qWaitFor([&] { return window.windowState() == Qt::WindowNoState; }, 1000);
  }
};

TEST_F(WindowManners, EachWindowOffersOnlyItsDesignedButtonsAndCannotBeResized) {
  ui::intro start;
  ui::CDemo main({});
  ui::addr help;
  const struct {
    const char* name;
    QWidget* window;
    bool minimize;
  } rows[] = {{"start-up window", &start, true},
              {"main window", &main, false},
              {"help window", &help, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Qt::WindowFlags flags = row.window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << "Qt's default buttons would show";
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), row.minimize);
    EXPECT_EQ(row.window->minimumSize(), row.window->maximumSize());
  }
  EXPECT_EQ(help.windowType(), Qt::Tool);
  EXPECT_EQ(main.windowType(), Qt::Dialog);
}

// The main window's frame opens centred, the help window's in the screen's corner; then a
// desktop maximizes, fills the screen with or minimizes the main window.
TEST_F(WindowManners, TheFramesAreWhereDesignedAndWhatADesktopDoesToTheMainWindowIsUndone) {
  ui::intro start;
  start.show();
  uitest::Click(start.Form().Option1[0]);
  const struct {
    const char* name;
    Qt::WindowState state;
  } rows[] = {{"maximized", Qt::WindowMaximized},
              {"full screen", Qt::WindowFullScreen},
              {"minimized", Qt::WindowMinimized}};
  uitest::RunModal(
      [&] { uitest::Click(start.Form().Command1); },
      [&](QWidget& main) {
        const QRect screen = main.screen()->availableGeometry();
        EXPECT_LE((main.frameGeometry().center() - screen.center()).manhattanLength(), 1);
        uitest::RunModal(
            [&] { start.MainWindow()->Help().Open(operations::HelpTopic::RemoteAddress); },
            [&](QWidget& help) { EXPECT_EQ(help.frameGeometry().topLeft(), screen.topLeft()); });
        for (const auto& row : rows) {
          SCOPED_TRACE(row.name);
          testing::internal::CaptureStderr();
          DesktopSets(main, row.state);
          const std::string said = testing::internal::GetCapturedStderr();
          EXPECT_EQ(main.windowState(), Qt::WindowNoState);
          EXPECT_TRUE(main.isVisible());
          EXPECT_EQ(main.size(), QSize(632, 457));
          EXPECT_NE(said.find("\"TALVORA\""), std::string::npos) << said;
        }
        // The start-up window minimized behind it comes back too.
        DesktopSets(start, Qt::WindowMinimized);
        EXPECT_EQ(start.windowState(), Qt::WindowNoState);
      });
  // With the main window closed the start-up window may be minimized like any other.
  DesktopSets(start, Qt::WindowMinimized);
  EXPECT_EQ(start.windowState(), Qt::WindowMinimized);
}

}  // namespace
