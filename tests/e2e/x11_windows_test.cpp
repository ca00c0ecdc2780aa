// The program's windows as an X11 window manager sees them, on an Xvfb server of the test's
// own: the captions, which window each dialog belongs to, and the Close function of the main
// window's title bar while an operation withholds Close. xdotool clicks the controls at their
// designed places as the operator's mouse would; xprop reads what the windows tell the window
// manager.

#include <gtest/gtest.h>
#include <signal.h>

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "sim_process.h"

namespace {

// How long a step may take at most, on a machine busy with other work.
constexpr int kPatienceMs = 60000;
// Centres of controls in their window's client area, in pixels (fifteen twips each).
constexpr QPoint kFirstPort{55, 52};
constexpr QPoint kOk{181, 96};
constexpr QPoint kRadioTestingTab{315, 11};
constexpr QPoint kProgrammingTab{104, 11};
constexpr QPoint kTestOn{106, 131};
constexpr QPoint kTestOff{106, 171};
constexpr QPoint kModuleAddressName{192, 75};

using Captions = QMap<QString, QString>;  // caption to window id

class X11Windows : public testing::Test {
 protected:
  void SetUp() override {
    // -noreset: each X11 tool is a client of its own, and a server that resets as its last
    // client leaves would turn the program away while it does.
    server_.start(
        "Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0", "1024x768x24"});
    if (!server_.waitForStarted() || !server_.waitForReadyRead(kPatienceMs)) {
      GTEST_SKIP() << "no Xvfb to show the windows on";
    }
    // The program and the X11 tools find the server from here on.
    qputenv("DISPLAY", ":" + server_.readLine().trimmed());
  }
  void TearDown() override {
    if (program_.state() != QProcess::NotRunning) {
      ::kill(static_cast<pid_t>(program_.processId()), SIGTERM);
      program_.waitForFinished(kPatienceMs);
    }
    server_.terminate();
    server_.waitForFinished();
  }

  // Starts the program with COM1 on `device`, chooses COM1 and presses OK.
  void StartOnCom1(const QString& device) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("XDG_CONFIG_HOME", settings_.path());
    environment.insert("TALVORA_COM1", device);
    program_.setProcessEnvironment(environment);
    program_.start(TALVORA_EXECUTABLE, {});
    ASSERT_TRUE(program_.waitForStarted());
    ASSERT_EQ(ShownOnceThey({"intro"}), QStringList{"intro"})
        << "talvora " << (program_.state() == QProcess::Running ? "runs" : "ended")
        << ", said: " << program_.readAllStandardError().toStdString();
    Click("intro", kFirstPort);
    Click("intro", kOk);
  }

  // An X11 tool's standard output.
  QString Run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(kPatienceMs);
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  // What xprop says a property of a window holds; empty when the window has none.
  QString Property(const QString& window, const char* name) {
    return Run("xprop", {"-id", window, name}).section(QRegularExpression("[=#]"), 1);
  }
  // The program's windows on the screen, by caption.
  Captions Shown() {
    Captions shown;
    const QString pid = QString::number(program_.processId());
    for (const QString& window :
         Run("xdotool", {"search", "--onlyvisible", "--pid", pid, ""}).split('\n')) {
      const QString caption = Property(window, "_NET_WM_NAME").trimmed().remove('"');
      if (!window.isEmpty() && !caption.isEmpty()) shown[caption] = window;
    }
    return shown;
  }
  QStringList ShownOnceThey(const QStringList& expected) {
    QStringList captions;
    e2e::WaitUntil(
        [&] {
          captions = Shown().keys();
          return captions == expected;
        },
        kPatienceMs);
    return captions;
  }
  void Click(const QString& caption, QPoint at) {
    Run("xdotool", {"mousemove", "--window", Shown()[caption], QString::number(at.x()),
                    QString::number(at.y()), "click", "1"});
  }
  // The window a dialog belongs to, as an id in decimal.
  QString Owner(const QString& caption) {
    return QString::number(
        Property(Shown()[caption], "WM_TRANSIENT_FOR").trimmed().toULong(nullptr, 16));
  }
  // Whether the window manager may offer Close (the Motif hints' functions, when given), once
  // that is `expected`.
  bool CloseOfferedOnceIt(bool expected) {
    const auto offered = [&] {
      const QStringList hints = Property(Shown()["TALVORA"], "_MOTIF_WM_HINTS").split(',');
      constexpr unsigned kFunctionsGiven = 1, kClose = 1U << 5;
      return hints.size() == 5 && (hints[0].trimmed().toUInt(nullptr, 16) & kFunctionsGiven) &&
             (hints[1].trimmed().toUInt(nullptr, 16) & kClose);
    };
    e2e::WaitUntil([&] { return offered() == expected; }, kPatienceMs);
    return offered();
  }

  QProcess server_;
  QTemporaryDir settings_;
  QProcess program_;
};

TEST_F(X11Windows, CaptionsOwnersAndTheCloseFunctionAreAsTheOperatorShouldSeeThem) {
  StartOnCom1("sim");
  ASSERT_EQ(ShownOnceThey({"TALVORA", "intro"}), (QStringList{"TALVORA", "intro"}));
  EXPECT_EQ(Owner("TALVORA"), Shown()["intro"]) << "the main window belongs to the start-up one";
  EXPECT_TRUE(CloseOfferedOnceIt(true));

  // The link test withholds Close while it runs.
  Click("TALVORA", kRadioTestingTab);
  Click("TALVORA", kTestOn);
  EXPECT_FALSE(CloseOfferedOnceIt(false)) << "Close offered during the link test";
  Click("TALVORA", kTestOff);
  EXPECT_TRUE(CloseOfferedOnceIt(true)) << "Close not offered again after TEST OFF";

  Click("TALVORA", kProgrammingTab);
  Click("TALVORA", kModuleAddressName);
  ASSERT_EQ(ShownOnceThey({"Remote Address", "TALVORA", "intro"}),
            (QStringList{"Remote Address", "TALVORA", "intro"}));
  EXPECT_EQ(Owner("Remote Address"), Shown()["TALVORA"]);
}

}  // namespace
