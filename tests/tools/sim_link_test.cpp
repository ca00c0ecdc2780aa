// talvora-sim's --link: one live server owns a link, a second is refused, a link left by a
// server that was killed is taken over, a server removes only its own link, and a hang-up
// ends it as cleanly as SIGTERM.

#include <gmock/gmock.h>
#include <signal.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "e2e/sim_process.h"

namespace {

using testing::HasSubstr;

// talvora-sim serving its terminal behind `link`.
struct Sim : e2e::SimProcess {
  explicit Sim(const QString& link) : SimProcess({"--quiet", "--link", link}) {}
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
  EXPECT_EQ(second.End(0), 2);
  EXPECT_THAT(second.Log().join('\n').toStdString(),
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
