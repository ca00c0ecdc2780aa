// The programs as a shell runs them, with standard output that cannot be written: a full
// device, a closed descriptor, a reader that quits, a pipe nobody reads. Whatever the output
// does, the program ends on its own time or on a signal, closes the port the normal way (the
// traffic log says so) and says why it failed. Then the command lines both programs refuse.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "sim_process.h"

namespace {

using namespace std::chrono_literals;

// A hang shows as this; no test waits for it unless something is wrong.
constexpr int kHangMs = 30000;

enum class Out { DevFull, Closed, HeadOne, FullPipe, DevNull };

// A pipe already full, so that the child's first write would block.
void FillPipe(int writer) {
  ::fcntl(writer, F_SETPIPE_SZ, 4096);
  const int flags = ::fcntl(writer, F_GETFL);
  ::fcntl(writer, F_SETFL, flags | O_NONBLOCK);
  const std::string chunk(512, 'x');
  while (::write(writer, chunk.data(), chunk.size()) > 0) {
  }
  ::fcntl(writer, F_SETFL, flags);
}

std::string FileText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

class BrokenOutput : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    setenv("XDG_DATA_HOME", folder_.path().toLocal8Bit().constData(), 1);
  }
  void TearDown() override {
    if (reader_ >= 0) ::close(reader_);
  }

  QString Log() const { return folder_.filePath("traffic.log"); }
  QString Errors() const { return folder_.filePath("stderr.txt"); }

  // talvora-cli --port sim --log LOG `arguments`, standard output as `out`; a pipe's other end
  // is the test's `reader_`.
  void Start(Out out, const QStringList& arguments, bool ignoreHangup = false) {
    int pipe[2] = {-1, -1};
    if (out == Out::HeadOne || out == Out::FullPipe) {
      ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    }
    if (out == Out::FullPipe) FillPipe(pipe[1]);
    if (out == Out::DevFull || out == Out::DevNull)
      cli_.setStandardOutputFile(out == Out::DevFull ? "/dev/full" : "/dev/null");
    cli_.setStandardErrorFile(Errors());
    const int writer = pipe[1];
    cli_.setChildProcessModifier([out, writer, ignoreHangup] {
      if (out == Out::Closed) ::close(STDOUT_FILENO);
      if (writer >= 0) ::dup2(writer, STDOUT_FILENO);
      if (ignoreHangup) ::signal(SIGHUP, SIG_IGN);
    });
    cli_.start(TALVORA_CLI_EXECUTABLE, QStringList{"--port", "sim", "--log", Log()} + arguments);
    if (writer >= 0) ::close(writer);
    reader_ = pipe[0];
  }

  // The exit status, or -1 when a signal ended it, or -1000 for a hang.
  int Wait() {
    if (!cli_.waitForFinished(kHangMs)) {
      cli_.kill();
      cli_.waitForFinished();
      return -1000;
    }
    return cli_.exitStatus() == QProcess::NormalExit ? cli_.exitCode() : -1;
  }

  // Waits until the traffic log holds `event`; false after kHangMs.
  bool LogShows(const char* event) const {
    return e2e::WaitUntil([&] { return FileText(Log()).find(event) != std::string::npos; },
                          kHangMs);
  }

  QTemporaryDir folder_;
  QProcess cli_;
  int reader_ = -1;
};

struct Broken {
  Out out;
  QStringList arguments;
  int status;
  const char* error;  // a part of standard error
  bool portOpened;
};

class BrokenOutputs : public BrokenOutput, public testing::WithParamInterface<Broken> {};

TEST_P(BrokenOutputs, FailWithTheReasonAndThePortClosedTheNormalWay) {
  const Broken& broken = GetParam();
  Start(broken.out, broken.arguments);
  if (broken.out == Out::HeadOne) {
    // head -1: one line, then the reader is gone.
    char c = 0;
    while (::read(reader_, &c, 1) == 1 && c != '\n') {
    }
    ::close(std::exchange(reader_, -1));
  }
  EXPECT_EQ(Wait(), broken.status);
  EXPECT_THAT(FileText(Errors()), testing::HasSubstr(broken.error));
  const std::string log = FileText(Log());
  EXPECT_EQ(log.find("port opened") != std::string::npos, broken.portOpened) << log;
  EXPECT_EQ(log.find("port closed") != std::string::npos, broken.portOpened) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, BrokenOutputs,
    testing::Values(
        Broken{Out::DevFull, {"read", "0"}, 2, "cannot write standard output: No space left", true},
        Broken{Out::DevFull, {"--json", "read", "0"}, 2, "No space left on device", true},
        Broken{Out::Closed, {"read", "0"}, 2, "cannot write standard output: it is closed", false},
        Broken{Out::HeadOne,
               {"linktest", "--seconds", "6"},
               2,
               "cannot write standard output: Broken pipe",
               true}));

struct Ending {
  int signal;
  int status;
};

class SignalDuringBlockedOutput : public BrokenOutput,
                                  public testing::WithParamInterface<Ending> {};

// The pipe is full from the start and nobody reads it: every line the link test prints waits.
TEST_P(SignalDuringBlockedOutput, EndsTheRunWith130AndThePortClosed) {
  Start(Out::FullPipe, {"linktest", "--seconds", "60"});
  ASSERT_TRUE(LogShows("port opened"));
  std::this_thread::sleep_for(1500ms);  // a few lines waiting by now
  ::kill(static_cast<pid_t>(cli_.processId()), GetParam().signal);
  EXPECT_EQ(Wait(), GetParam().status);
  EXPECT_THAT(FileText(Log()), testing::HasSubstr("port closed"));
  EXPECT_THAT(FileText(Errors()), testing::HasSubstr("interrupted"));
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalDuringBlockedOutput,
                         testing::Values(Ending{SIGINT, 130}, Ending{SIGTERM, 130}));

// A run keeps its own time limit while its output waits: the port is closed when the time is
// up, and what was printed is written once the reader reads.
TEST_F(BrokenOutput, ATimeLimitHoldsWhileTheOutputWaits) {
  Start(Out::FullPipe, {"linktest", "--seconds", "2"});
  ASSERT_TRUE(LogShows("port closed"));
  siginfo_t ended{};  // looked at, not collected
  ::waitid(P_PID, static_cast<id_t>(cli_.processId()), &ended, WEXITED | WNOHANG | WNOWAIT);
  EXPECT_EQ(ended.si_pid, 0) << "ended with its output unwritten";
  std::string printed;
  char buffer[4096];
  for (ssize_t n = 0; (n = ::read(reader_, buffer, sizeof buffer)) > 0;)
    printed.append(buffer, static_cast<std::size_t>(n));
  EXPECT_EQ(Wait(), 0);
  EXPECT_THAT(printed, testing::HasSubstr("Received Packets"));
}

// nohup: a hangup ignored when the program started does not end it.
TEST_F(BrokenOutput, AHangupIgnoredAtTheStartStaysIgnored) {
  Start(Out::DevNull, {"listen", "--seconds", "3"}, true);
  ASSERT_TRUE(LogShows("port opened"));
  ::kill(static_cast<pid_t>(cli_.processId()), SIGHUP);
  EXPECT_EQ(Wait(), 0);
  EXPECT_THAT(FileText(Errors()), testing::Not(testing::HasSubstr("interrupted")));
}

struct Refused {
  const char* program;
  std::vector<const char*> arguments;
  const char* error;  // a part of standard error
};

class RefusedCommandLine : public testing::TestWithParam<Refused> {};

// Refused with status 2 and the reason on standard error, before any window or port: there is
// no display to find (were one looked for, Qt would abort), and the port named does not exist.
TEST_P(RefusedCommandLine, ExitsWith2BeforeTouchingADisplayOrAPort) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.insert("QT_QPA_PLATFORM", "xcb");
  program.setProcessEnvironment(environment);
  QStringList arguments;
  for (const char* word : GetParam().arguments)
    arguments << QString::fromUtf8(word);
  program.start(GetParam().program, arguments);
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 2);
  EXPECT_THAT(program.readAllStandardError().toStdString(), testing::HasSubstr(GetParam().error));
  EXPECT_EQ(program.readAllStandardOutput().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Programs, RefusedCommandLine,
    testing::Values(Refused{TALVORA_EXECUTABLE, {"--bogus"}, "Unknown option 'bogus'"},
                    Refused{TALVORA_EXECUTABLE, {"--verison"}, "Usage: talvora"},
                    Refused{TALVORA_EXECUTABLE, {"-v"}, "Unknown option 'v'"},
                    Refused{TALVORA_EXECUTABLE, {"COM1"}, "talvora takes no arguments: COM1"},
                    Refused{TALVORA_EXECUTABLE, {"--log", ""}, "talvora: --log needs a FILE"},
                    Refused{TALVORA_CLI_EXECUTABLE,
                            {"--port", "/nonexistent/tty", "read", "-1"},
                            "register -1 is not 0 to 31"},
                    Refused{TALVORA_CLI_EXECUTABLE,
                            {"--port", "/nonexistent/tty", "write", "-1=5", "3=4"},
                            "register -1 is not 0 to 31"},
                    Refused{TALVORA_CLI_EXECUTABLE,
                            {"--port", "/nonexistent/tty", "linktest", "--seconds", "-2"},
                            "--seconds -2 is not a number of seconds"},
                    Refused{TALVORA_CLI_EXECUTABLE,
                            {"--port", "/nonexistent/tty", "load", "/dev/zero"},
                            "/dev/zero: larger than 1048576 bytes"}));

}  // namespace
