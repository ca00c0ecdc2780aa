// talvora-sim's --link: one live server owns a link, a second is refused, a link left by a
// server that was killed is taken over, a server removes only its own link, and a hang-up
// ends it as cleanly as SIGTERM.

#include <gmock/gmock.h>
#include <signal.h>
#include <unistd.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using testing::HasSubstr;

// A talvora-sim process with a link; the first line it prints is its terminal's path.
class Sim {
 public:
  explicit Sim(const QString& link) {
    process_.start(QStringLiteral(TALVORA_SIM_EXECUTABLE), {"--quiet", "--link", link});
    process_.waitForStarted(10000);
    if (process_.waitForReadyRead(10000)) path_ = QString(process_.readLine()).trimmed();
  }
  ~Sim() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(10000);
    }
  }
  const QString& Path() const { return path_; }
  // Sends `signal` and waits for the end; the exit status, or -1 for a crash.
  int End(int signal) {
    ::kill(static_cast<pid_t>(process_.processId()), signal);
    return Finished();
  }
  // Waits for a server that ends by itself; -2 when it does not.
  int Finished() {
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(10000)) return -2;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  QString Errors() { return QString(process_.readAllStandardError()); }

 private:
  QProcess process_;
  QString path_;
};

class SimLink : public testing::Test {
 protected:
  QString Link() const { return folder_.filePath("radio"); }
  QString Target() const { return QFileInfo(Link()).symLinkTarget(); }
  bool Exists(const QString& path) const {
    return QFileInfo(path).isSymLink() || QFileInfo::exists(path);
  }
  QTemporaryDir folder_;
};

TEST_F(SimLink, ASecondServerIsRefusedWhileTheFirstLivesAndAHangUpEndsTheFirstCleanly) {
  Sim first(Link());
  ASSERT_FALSE(first.Path().isEmpty());
  EXPECT_EQ(Target(), first.Path());

  Sim second(Link());
  EXPECT_EQ(second.Finished(), 2);
  EXPECT_THAT(second.Errors().toStdString(),
              HasSubstr("belongs to another talvora-sim that is still running"));
  EXPECT_EQ(Target(), first.Path()) << "the first server's link is untouched";

  EXPECT_EQ(first.End(SIGHUP), 0);
  EXPECT_FALSE(Exists(Link()));
  EXPECT_FALSE(Exists(Link() + ".lock"));
}

TEST_F(SimLink, ALinkLeftByAKilledServerIsTakenOver) {
  {
    Sim killed(Link());
    ASSERT_FALSE(killed.Path().isEmpty());
    EXPECT_EQ(killed.End(SIGKILL), -1);
  }
  ASSERT_TRUE(Exists(Link()));
  Sim next(Link());
  ASSERT_FALSE(next.Path().isEmpty());
  EXPECT_EQ(Target(), next.Path());
  EXPECT_EQ(next.End(SIGTERM), 0);
  EXPECT_FALSE(Exists(Link()));
}

TEST_F(SimLink, OnlyItsOwnLinkIsRemoved) {
  Sim server(Link());
  ASSERT_FALSE(server.Path().isEmpty());
  // Someone points the name elsewhere while the server runs.
  ASSERT_EQ(::unlink(Link().toLocal8Bit().constData()), 0);
  ASSERT_EQ(::symlink("/dev/null", Link().toLocal8Bit().constData()), 0);
  EXPECT_EQ(server.End(SIGINT), 0);
  EXPECT_EQ(Target(), "/dev/null");
}

}  // namespace
