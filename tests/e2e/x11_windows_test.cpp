// The program's windows as an X11 window manager sees them, on an Xvfb server of the test's
// own: the captions, which window each dialog belongs to, the hints that decide the title-bar
// buttons, the Close function of the main window's title bar while an operation withholds Close,
// and, with Openbox managing the windows, the frame's place, the error box's paint and a close
// request as the main window maps. xdotool clicks the controls at their designed places as the
// operator's mouse would; xprop reads what the windows tell the window manager.

#include <gtest/gtest.h>
#include <signal.h>

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "program_leaks.h"
#include "sim_process.h"
#include "x11_client.h"

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

// The Motif hints' flags, functions and decorations.
constexpr unsigned kFunctionsGiven = 1, kDecorationsGiven = 2;
constexpr unsigned kMinimizeFunction = 1U << 3, kMaximizeFunction = 1U << 4,
                   kCloseFunction = 1U << 5;
constexpr unsigned kMinimizeBox = 1U << 5, kMaximizeBox = 1U << 6;

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
    const QString suppressions = e2e::WriteLeakSuppressions(settings_.path());
    ASSERT_FALSE(suppressions.isEmpty());
    environment.insert("LSAN_OPTIONS", "suppressions=" + suppressions);
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
      // Openbox's own check window answers to any process.
      if (!window.isEmpty() && !caption.isEmpty() && caption != "Openbox") shown[caption] = window;
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
      const std::vector<unsigned> hints = MotifHints("TALVORA");
      return !hints.empty() && (hints[0] & kFunctionsGiven) && (hints[1] & kCloseFunction);
    };
    e2e::WaitUntil([&] { return offered() == expected; }, kPatienceMs);
    return offered();
  }

  // The Motif hints a window gives: flags, functions, decorations; empty when it gives none.
  std::vector<unsigned> MotifHints(const QString& caption) {
    std::vector<unsigned> hints;
    for (const QString& field : Property(Shown()[caption], "_MOTIF_WM_HINTS").split(','))
      hints.push_back(field.trimmed().toUInt(nullptr, 16));
    return hints.size() == 5 ? hints : std::vector<unsigned>{};
  }
  // The minimum and the maximum size of WM_NORMAL_HINTS, as xprop words them.
  QStringList SizeLimits(const QString& caption) {
    const QString hints = Run("xprop", {"-id", Shown()[caption], "WM_NORMAL_HINTS"});
    const QRegularExpression size("program specified (minimum|maximum) size: (\\d+ by \\d+)");
    QStringList limits;
    for (auto it = size.globalMatch(hints); it.hasNext();)
      limits << it.next().captured(2);
    return limits;
  }
  // Starts Openbox on the server with its default configuration; false if it is not there.
  bool StartWindowManager() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", settings_.path());
    windowManager_.setProcessEnvironment(environment);
    windowManager_.start("openbox", {"--sm-disable"});
    if (!windowManager_.waitForStarted()) return false;
    // Openbox names itself on the root window once it manages the screen.
    return e2e::WaitUntil(
        [&] {
          return Run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
        },
        kPatienceMs);
  }
  // The window's frame as the window manager drew it: client geometry grown by the frame's
  // extents (left, right, top, bottom).
  QRect Frame(const QString& caption) {
    const QString id = Shown()[caption];
    QRect client;
    for (const QString& line : Run("xwininfo", {"-id", id}).split('\n')) {
      const int value = line.section(':', 1).trimmed().toInt();
      if (line.contains("Absolute upper-left X:")) client.moveLeft(value);
      if (line.contains("Absolute upper-left Y:")) client.moveTop(value);
      if (line.contains("Width:")) client.setWidth(value);
      if (line.contains("Height:")) client.setHeight(value);
    }
    const QStringList extents = Property(id, "_NET_FRAME_EXTENTS").split(',');
    if (extents.size() != 4) return {};
    return client.adjusted(-extents[0].toInt(), -extents[2].toInt(), extents[1].toInt(),
                           extents[3].toInt());
  }

  QProcess server_;
  QTemporaryDir settings_;
  QProcess program_;
  QProcess windowManager_;
};

// Under a window manager (Openbox): the main window offers no maximize and does not stay
// minimized, its frame is centred on the screen at the first opening, and a line-error box opened
// from the poll timer while the main window's modal loop runs is painted at once.
TEST_F(X11Windows, UnderOpenboxTheMainWindowIsCentredAndTheErrorBoxIsPainted) {
  if (!StartWindowManager()) GTEST_SKIP() << "no Openbox (scripts/setup.sh installs it)";
  StartOnCom1("sim:error=frame@20000");  // the box after the minimize, even on a busy machine
  ASSERT_TRUE(e2e::WaitUntil([&] { return Shown().contains("TALVORA"); }, kPatienceMs));
  // Openbox reads no maximize from the hints; minimize it offers in its window menu whatever
  // the hints say, and the program puts the window back.
  const QString actions = Property(Shown()["TALVORA"], "_NET_WM_ALLOWED_ACTIONS");
  EXPECT_TRUE(actions.contains("_NET_WM_ACTION_CLOSE")) << actions.toStdString();
  EXPECT_FALSE(actions.contains("MAXIMIZE")) << actions.toStdString();
  // The program moves the window once the frame around it is known, a moment after mapping.
  QRect frame;
  const auto offCentre = [&] {
    return (frame.center() - QRect(0, 0, 1024, 768).center()).manhattanLength();
  };
  e2e::WaitUntil(
      [&] {
        frame = Frame("TALVORA");
        return frame.isValid() && frame.height() > 457 && offCentre() <= 1;
      },
      kPatienceMs);
  EXPECT_GT(frame.height(), 457) << "no frame around the main window";
  EXPECT_LE(offCentre(), 1) << "frame at " << frame.x() << "," << frame.y() << " size "
                            << frame.width() << "x" << frame.height();

  // Minimized through the window manager, the main window comes back.
  Run("xdotool", {"windowminimize", Shown()["TALVORA"]});
  QString said;
  EXPECT_TRUE(e2e::WaitUntil(
      [&] {
        said += QString::fromUtf8(program_.readAllStandardError());
        // Openbox minimizes the start-up window with its transient main window, or the main
        // window alone; either is put back.
        return said.contains("minimized by the desktop");
      },
      kPatienceMs))
      << said.toStdString();
  EXPECT_TRUE(e2e::WaitUntil([&] { return Shown().contains("TALVORA"); }, kPatienceMs))
      << "minimized and left so";

  ASSERT_TRUE(e2e::WaitUntil([&] { return Shown().contains("Errore"); }, kPatienceMs));
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::PaintedPixels(Shown()["Errore"]) > 0; }, 3000))
      << "the box stays black";
}

// A close request (the window manager's close button) that reaches the main window as it maps
// closes it and leaves the start-up window; a close request there ends the program.
TEST_F(X11Windows, UnderOpenboxACloseRequestAsTheMainWindowMapsClosesIt) {
  if (!StartWindowManager()) GTEST_SKIP() << "no Openbox (scripts/setup.sh installs it)";
  StartOnCom1("sim");
  QString mainWindow;
  ASSERT_TRUE(e2e::WaitUntil(
      [&] {
        mainWindow = Shown().value("TALVORA");
        return !mainWindow.isEmpty();
      },
      kPatienceMs));
  ASSERT_TRUE(e2e::SendCloseRequest(mainWindow));
  EXPECT_EQ(ShownOnceThey({"intro"}), QStringList{"intro"}) << "the close request was ignored";
  ASSERT_TRUE(e2e::SendCloseRequest(Shown()["intro"]));
  EXPECT_TRUE(program_.waitForFinished(kPatienceMs));
  EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program_.exitCode(), 0) << program_.readAllStandardError().toStdString();
}

// Captions, the window each dialog belongs to, and the Close function of the main window's
// title bar, withheld while the link test runs. Then the hints that decide a window manager's
// title-bar buttons, for each designed window: a fixed size (minimum equal to maximum) and Motif
// functions and decorations without maximize, and without minimize except on the start-up window.
TEST_F(X11Windows, CaptionsOwnersCloseAndTheHintsOfEachWindowAreAsDesigned) {
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
  const struct {
    const char* caption;
    const char* size;
    bool minimize;
  } rows[] = {{"intro", "314 by 224", true},
              {"TALVORA", "632 by 457", false},
              {"Remote Address", "525 by 80", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.caption);
    EXPECT_EQ(SizeLimits(row.caption), (QStringList{row.size, row.size}));
    const std::vector<unsigned> hints = MotifHints(row.caption);
    ASSERT_EQ(hints.size(), 5u);
    EXPECT_EQ(hints[0] & (kFunctionsGiven | kDecorationsGiven),
              kFunctionsGiven | kDecorationsGiven);
    EXPECT_EQ(hints[1] & kMaximizeFunction, 0u);
    EXPECT_EQ(hints[2] & kMaximizeBox, 0u);
    EXPECT_EQ((hints[1] & kMinimizeFunction) != 0, row.minimize);
    EXPECT_EQ((hints[2] & kMinimizeBox) != 0, row.minimize);
  }
}

}  // namespace
