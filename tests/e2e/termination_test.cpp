// SIGINT, SIGTERM and SIGHUP end the program as closing it does: the port is closed (exclusive
// use lifted) and the status is 0. The program runs in a child process (this test program
// started again in its child mode) with its main window open on a pseudo-terminal the test
// made; the test keeps its own descriptor of that terminal to look at the device afterwards.

#include "ui/termination.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/real_event_service.h"
#include "ui/intro.h"
#include "ui/kit/design.h"

namespace {

constexpr const char* kChildMode = "TALVORA_TEST_TERMINATION_CHILD";

// The program as main() runs it, with COM1 chosen in the start-up window; prints "ready" once
// the main window is open, and exits with the status the event loop returns.
TEST(TerminationChild, RunsTheProgramUntilItEnds) {
  if (std::getenv(kChildMode) == nullptr) GTEST_SKIP() << "runs only as the child of a test";
  platform::InstallEventService(std::make_unique<platform::RealEventService>());
  ui::RegisterFontSubstitutes();
  ui::EndOnTerminationSignals();
  ui::intro start;
  start.show();
  QTimer::singleShot(0, [&start] {
    start.Form().Option1[0]->setChecked(true);
    QTimer::singleShot(200, [] {
      std::puts("ready");
      std::fflush(stdout);
    });
    start.Command1_Click();
  });
  std::exit(QCoreApplication::exec());
}

class Termination : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    char name[128] = {};
    ASSERT_EQ(::openpty(&master_, &terminal_, name, nullptr, nullptr), 0);
    path_ = name;
  }
  void TearDown() override {
    ::close(terminal_);
    ::close(master_);
  }

  bool Exclusive() const {
    int exclusive = 0;
    return ::ioctl(terminal_, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
  }
  // Whether another program holds the lock the program takes on the device.
  bool Locked() const {
    const int probe = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const bool locked = probe >= 0 && ::flock(probe, LOCK_EX | LOCK_NB) != 0;
    if (probe >= 0) ::close(probe);
    return locked;
  }

  // Starts the program in a child process; true once its main window is open.
  bool StartChild(QProcess& child, bool ignoreHangup = false) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildMode, "1");
    environment.insert("TALVORA_COM1", QString::fromStdString(path_));
    child.setProcessEnvironment(environment);
    if (ignoreHangup) child.setChildProcessModifier([] { ::signal(SIGHUP, SIG_IGN); });
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=TerminationChild.RunsTheProgramUntilItEnds"});
    bool ready = false;
    while (!ready && child.waitForReadyRead(20000)) {
      while (child.canReadLine())
        ready = ready || child.readLine().trimmed() == "ready";
    }
    return ready;
  }

  int master_ = -1;
  int terminal_ = -1;
  std::string path_;
};

TEST_P(Termination, ClosesThePortAndEndsWithStatusZero) {
  QProcess child;
  ASSERT_TRUE(StartChild(child)) << child.readAllStandardError().toStdString();
  EXPECT_TRUE(Exclusive()) << "the open port is held exclusively";
  EXPECT_TRUE(Locked());
  ::kill(static_cast<pid_t>(child.processId()), GetParam());
  ASSERT_TRUE(child.waitForFinished(20000));
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
  EXPECT_FALSE(Exclusive()) << "exclusive use was lifted";
  EXPECT_FALSE(Locked());
}

// Under nohup the hangup is ignored from the start, and stays so: the window stays open with
// the port held, and SIGTERM still ends it the normal way.
TEST_F(Termination, AHangupIgnoredAtTheStartStaysIgnored) {
  QProcess child;
  ASSERT_TRUE(StartChild(child, true)) << child.readAllStandardError().toStdString();
  ::kill(static_cast<pid_t>(child.processId()), SIGHUP);
  EXPECT_FALSE(child.waitForFinished(1500)) << "a hangup ignored at the start ended the program";
  EXPECT_TRUE(Exclusive());
  ::kill(static_cast<pid_t>(child.processId()), SIGTERM);
  ASSERT_TRUE(child.waitForFinished(20000));
  EXPECT_EQ(child.exitCode(), 0);
  EXPECT_FALSE(Exclusive());
}

INSTANTIATE_TEST_SUITE_P(Signals, Termination, testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

}  // namespace
