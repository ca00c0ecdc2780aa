// The program's windows as an X11 window manager sees them, on an Xvfb server of the test's
// own: the captions, which window each dialog belongs to, and the Close button of the main
// window's title bar while an operation withholds Close. The operator's mouse clicks the
// controls at their designed places.

#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QTemporaryDir>
#include <set>

#include "sim_process.h"
#include "x11_display.h"

namespace {

constexpr int kPatienceMs = 20000;
// The Close function among the Motif hints: the second field, when the first says it is given.
constexpr std::uint32_t kFunctionsGiven = 1;
constexpr std::uint32_t kCloseFunction = 1U << 5;

// Centres of controls in their window's client area, in pixels (fifteen twips each).
constexpr QPoint PortOption(int port) {
  return {55, 52 + 22 * port};
}
constexpr QPoint kOk{181, 96};
constexpr QPoint Tab(int page) {
  return {104 + 211 * page, 11};
}
constexpr QPoint kTestOn{106, 131};
constexpr QPoint kTestOff{106, 171};
constexpr QPoint kModuleAddressName{192, 75};

class X11Windows : public testing::Test {
 protected:
  void SetUp() override {
    if (!display_.Running()) GTEST_SKIP() << "no Xvfb to show the windows on";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display_.Name());
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("XDG_CONFIG_HOME", settings_.path());
    environment.insert("TALVORA_COM1", "sim");
    environment.insert("TALVORA_COM2", "sim:error=frame@300");
    environment.insert("TALVORA_COM3", "sim");
    environment.insert("TALVORA_COM4", "sim");
    program_.setProcessEnvironment(environment);
    program_.start(QStringLiteral(TALVORA_EXECUTABLE), {});
    ASSERT_TRUE(program_.waitForStarted());
  }
  void TearDown() override {
    if (program_.state() == QProcess::NotRunning) return;
    ::kill(static_cast<pid_t>(program_.processId()), SIGTERM);
    program_.waitForFinished(kPatienceMs);
  }

  // The captions of the program's windows on the screen, once they are these.
  std::set<std::string> ShownOnceThey(const std::set<std::string>& expected) {
    std::set<std::string> captions;
    e2e::WaitUntil(
        [&] {
          captions.clear();
          for (const auto& [caption, window] : display_.Shown(program_.processId()))
            captions.insert(caption);
          return captions == expected;
        },
        kPatienceMs);
    return captions;
  }
  xcb_window_t Window(const std::string& caption) {
    const auto shown = display_.Shown(program_.processId());
    const auto found = shown.find(caption);
    return found == shown.end() ? 0 : found->second;
  }
  // Whether the window manager is told it may offer Close, once it is `expected`.
  bool CloseOfferedOnceIt(xcb_window_t window, bool expected) {
    const auto offered = [&] {
      const std::vector<std::uint32_t> hints = display_.Cardinals(window, "_MOTIF_WM_HINTS");
      return hints.size() == 5 && (hints[0] & kFunctionsGiven) != 0 &&
             (hints[1] & kCloseFunction) != 0;
    };
    e2e::WaitUntil([&] { return offered() == expected; }, kPatienceMs);
    return offered();
  }

  e2e::X11Display display_;
  QTemporaryDir settings_;
  QProcess program_;
};

TEST_F(X11Windows, CaptionsOwnersAndTheCloseButtonAreAsTheOperatorShouldSeeThem) {
  using Captions = std::set<std::string>;
  ASSERT_EQ(ShownOnceThey({"intro"}), Captions{"intro"});
  const xcb_window_t start = Window("intro");
  display_.Click(start, PortOption(0));
  display_.Click(start, kOk);
  ASSERT_EQ(ShownOnceThey({"intro", "TALVORA"}), (Captions{"intro", "TALVORA"}));
  const xcb_window_t main = Window("TALVORA");
  EXPECT_EQ(display_.TransientFor(main), start) << "the main window belongs to the start-up one";
  EXPECT_TRUE(CloseOfferedOnceIt(main, true));

  // The link test withholds Close while it runs.
  display_.Click(main, Tab(1));
  display_.Click(main, kTestOn);
  EXPECT_FALSE(CloseOfferedOnceIt(main, false)) << "Close offered during the link test";
  display_.Click(main, kTestOff);
  EXPECT_TRUE(CloseOfferedOnceIt(main, true)) << "Close not offered again after TEST OFF";

  display_.Click(main, Tab(0));
  display_.Click(main, kModuleAddressName);
  ASSERT_EQ(ShownOnceThey({"intro", "TALVORA", "Remote Address"}),
            (Captions{"intro", "TALVORA", "Remote Address"}));
  EXPECT_EQ(display_.TransientFor(Window("Remote Address")), main);
  display_.AskToClose(Window("Remote Address"));
  display_.AskToClose(main);
  ASSERT_EQ(ShownOnceThey({"intro"}), Captions{"intro"});

  // A line error on COM2 shows its box.
  display_.Click(start, PortOption(1));
  display_.Click(start, kOk);
  EXPECT_EQ(ShownOnceThey({"intro", "TALVORA", "Errore"}),
            (Captions{"intro", "TALVORA", "Errore"}));
}

}  // namespace
