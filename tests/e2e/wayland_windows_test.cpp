// The program on a Wayland compositor of the test's own (weston, headless), natively through
// Qt's Wayland plugin, where Qt draws the title bars itself. No outside tool can click or read a
// Wayland client's windows, so the program is run with its window probe (TALVORA_WINDOW_PROBE):
// requests on its standard input, answers on its standard output. A maximize or a minimize is
// asked of the main window's platform window, which goes to the compositor exactly as a desktop
// shortcut's request comes back from it.

#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "program_leaks.h"
#include "sim_process.h"

namespace {

constexpr int kWaylandPatienceMs = 60000;
constexpr const char* kShownNormally = "TALVORA|normal|632x457|exposed";

class WaylandWindows : public testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("weston").isEmpty())
      GTEST_SKIP() << "no weston to show the windows on (scripts/setup.sh installs it)";
    if (!QFileInfo::exists(
            "/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so") &&
        !QFileInfo::exists("/usr/lib/qt6/plugins/platforms/libqwayland-generic.so"))
      GTEST_SKIP() << "no Qt Wayland plugin (qt6-wayland, installed by scripts/setup.sh)";
    ASSERT_TRUE(runtime_.isValid());
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime_.path());
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    compositor_.setProcessEnvironment(environment);
    compositor_.setProcessChannelMode(QProcess::MergedChannels);
    compositor_.start("weston", {"--backend=headless-backend.so", "--socket=talvora-test",
                                 "--width=1024", "--height=768", "--idle-time=0"});
    const QString socket = runtime_.filePath("talvora-test");
    if (!compositor_.waitForStarted() ||
        !e2e::WaitUntil(
            [&] {
              return QFileInfo::exists(socket) || compositor_.state() == QProcess::NotRunning;
            },
            kWaylandPatienceMs) ||
        !QFileInfo::exists(socket)) {
      GTEST_SKIP() << "weston did not start: " << compositor_.readAll().toStdString();
    }
    environment.insert("WAYLAND_DISPLAY", "talvora-test");
    environment.insert("QT_QPA_PLATFORM", "wayland");
    environment.insert("XDG_CONFIG_HOME", settings_.path());
    environment.insert("XDG_DATA_HOME", settings_.path());
    environment.insert("TALVORA_WINDOW_PROBE", "1");
    environment.insert("TALVORA_COM1", "sim");
    const QString suppressions = e2e::WriteLeakSuppressions(runtime_.path());
    ASSERT_FALSE(suppressions.isEmpty());
    environment.insert("LSAN_OPTIONS", "suppressions=" + suppressions);
    program_.setProcessEnvironment(environment);
  }
  void TearDown() override {
    if (program_.state() != QProcess::NotRunning) {
      ::kill(static_cast<pid_t>(program_.processId()), SIGTERM);
      program_.waitForFinished(kWaylandPatienceMs);
    }
    compositor_.terminate();
    compositor_.waitForFinished(kWaylandPatienceMs);
  }

  // Sends one request and returns the program's answer: its lines up to "ok", "end" or a refusal.
  QStringList Ask(const QString& request) {
    program_.write(request.toUtf8() + '\n');
    QStringList lines;
    e2e::WaitUntil(
        [&] {
          while (program_.canReadLine()) {
            lines << QString::fromUtf8(program_.readLine()).trimmed();
          }
          return !lines.isEmpty() && (lines.back() == "ok" || lines.back() == "end" ||
                                      lines.back().startsWith("refused"));
        },
        kWaylandPatienceMs);
    return lines;
  }
  // The shown windows, "<caption>|<state>|<size>|<exposed>", once `done` holds of them.
  QStringList WindowsOnce(const std::function<bool(const QStringList&)>& done) {
    QStringList shown;
    e2e::WaitUntil(
        [&] {
          shown.clear();
          for (const QString& line : Ask("windows")) {
            if (line != "end") shown << line.section('|', 0, 3);
          }
          return done(shown);
        },
        kWaylandPatienceMs);
    return shown;
  }
  bool ShownOnce(const QString& line) {
    return WindowsOnce([&](const QStringList& shown) { return shown.contains(line); })
        .contains(line);
  }
  // Whether the program runs, and what it has said on standard error so far.
  QString Said() {
    errors_ += QString::fromUtf8(program_.readAllStandardError());
    return "talvora " + QString(program_.state() == QProcess::Running ? "runs" : "ended") +
           ", said: " + errors_;
  }

  QTemporaryDir runtime_;
  QTemporaryDir settings_;
  QProcess compositor_;
  QProcess program_;
  QString errors_;
};

TEST_F(WaylandWindows, MaximizeAndMinimizeLeaveTheMainWindowUsableAndCloseWaitsForTestOff) {
  program_.start(TALVORA_EXECUTABLE, {});
  ASSERT_TRUE(program_.waitForStarted());
  ASSERT_TRUE(ShownOnce("intro|normal|314x224|exposed")) << Said().toStdString();
  EXPECT_EQ(Ask("click intro Option1(0)"), QStringList{"ok"});
  EXPECT_EQ(Ask("click intro Command1"), QStringList{"ok"});
  ASSERT_TRUE(ShownOnce(kShownNormally)) << Said().toStdString();

  // A Wayland client hears of a maximize; of a minimize it sees only that it is not shown.
  const struct {
    const char* request;
    const char* said;
  } changes[] = {{"maximize TALVORA", "\"TALVORA\" maximized by the desktop"},
                 {"minimize TALVORA", "\"TALVORA\" hidden by the desktop"}};
  for (const auto& change : changes) {
    SCOPED_TRACE(change.request);
    EXPECT_EQ(Ask(change.request), QStringList{"ok"});
    EXPECT_TRUE(e2e::WaitUntil([&] { return Said().contains(change.said); }, kWaylandPatienceMs))
        << Said().toStdString();
    ASSERT_EQ(program_.state(), QProcess::Running) << Said().toStdString();
    EXPECT_TRUE(ShownOnce(kShownNormally)) << Said().toStdString();
  }

  // The link test withholds Close: the platform's close request is refused while it runs.
  EXPECT_EQ(Ask("click TALVORA Command3"), QStringList{"ok"});
  EXPECT_EQ(Ask("close TALVORA"), QStringList{"ok"});
  EXPECT_TRUE(ShownOnce(kShownNormally)) << "closed during TEST ON";
  EXPECT_EQ(Ask("click TALVORA Command1"), QStringList{"ok"});
  EXPECT_EQ(Ask("close TALVORA"), QStringList{"ok"});
  EXPECT_FALSE(
      WindowsOnce([](const QStringList& shown) { return !shown.join(' ').contains("TALVORA"); })
          .join(' ')
          .contains("TALVORA"))
      << "still open after TEST OFF";
  EXPECT_EQ(Ask("close intro"), QStringList{"ok"});
  EXPECT_TRUE(program_.waitForFinished(kWaylandPatienceMs));
  EXPECT_EQ(program_.exitCode(), 0) << Said().toStdString();
}

}  // namespace
