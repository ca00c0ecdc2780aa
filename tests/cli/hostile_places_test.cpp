// Files and names that are not what they should be. What the link test and its records write,
// given places that cannot take it: each is refused with exit 2 before the port opens (no test
// runs), says why, and leaves what is there as it was; a FIFO or a device is never replaced by
// a regular file, from the CLI or the window's exports. A profile that is a FIFO with no
// writer or a folder is refused at once, not waited on.

#include <gmock/gmock.h>
#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>

#include "charts/chart_files.h"
#include "charts/link_chart.h"
#include "cli_run.h"
#include "operations/link_evaluation.h"
#include "records/link_test_records.h"
#include "station/station_command.h"

namespace {

using testing::HasSubstr;

bool IsFifo(const QString& path) {
  struct stat status {};
  return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

class HostilePlaces : public testing::Test {
 protected:
  void SetUp() override {
    platform::UseVirtualTime();
    sim::RegisterSimulatedSystem();
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(folder_.path()).mkdir("folder"));
  }
  QString Path(const char* name) const { return folder_.filePath(name); }
  // A two-second link test kept in the folder's records, with `more` options.
  clitest::Ran LinkTest(const QStringList& more) const {
    return clitest::Run(QStringList{"--port", "sim", "--seconds", "2", "--record",
                                    Path("records.sqlite"), "linktest"} +
                        more);
  }

  QTemporaryDir folder_;
};

TEST_F(HostilePlaces, APlaceThatCannotTakeTheResultIsRefusedBeforeTheTestRuns) {
  const struct {
    const char* name;
    QStringList more;
    std::string said;
  } rows[] = {
      {"plot into a FIFO", {"--plot", Path("fifo.svg")}, ""},
      {"plot into a missing folder", {"--plot", Path("none/x.png")}, "No such file or directory"},
      {"records in a folder", {"--record", Path("folder")}, "the link test is not kept: "},
      {"CSV to standard output", {"--csv", "-"}, "--csv -: standard output carries"},
      {"records in a FIFO", {"--record", Path("fifo")}, "not a regular file"},
      {"a control character in the label",
       {"--label", "roof\x01"},
       "--label: the label 'roof\\x01' holds a control character"},
      {"a label too long",
       {"--label", QString(records::kLongestLabel + 1, u'a')},
       "--label: the label is longer than 200 characters"},
  };
  // "fifo.svg" is a FIFO too for the first row.
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.svg")).constData(), 0600), 0);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const clitest::Ran ran = LinkTest(row.more);
    EXPECT_EQ(ran.status, cli::kBadUsage);
    EXPECT_THAT(ran.err, HasSubstr(row.said));
    EXPECT_THAT(ran.out, testing::Not(HasSubstr("sent")));  // no test ran
  }
  EXPECT_TRUE(IsFifo(Path("fifo.svg")));
  EXPECT_TRUE(IsFifo(Path("fifo")));
  EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
  EXPECT_FALSE(QFileInfo::exists(Path("records.sqlite"))) << "a refused test kept";

  // A label is kept without the spaces around it, up to the longest.
  EXPECT_EQ(LinkTest({"--label", "  " + QString(records::kLongestLabel, u'b') + " "}).status, 0);
  const QStringList list = {"--kind", "linktest", "--record", Path("records.sqlite"), "records"};
  EXPECT_THAT(clitest::Run(list).out,
              HasSubstr("\"" + std::string(records::kLongestLabel, 'b') + "\" sim"));

  // The kept tests are not written over a FIFO, a device or a folder, nor read from a device.
  for (const char* place : {"fifo", "folder"}) {
    SCOPED_TRACE(place);
    const clitest::Ran ran = clitest::Run(list + QStringList{"--csv", Path(place)});
    EXPECT_EQ(ran.status, cli::kBadUsage);
    EXPECT_THAT(ran.err, HasSubstr("not a regular file; it is left as it is"));
  }
  EXPECT_EQ(clitest::Run(list + QStringList{"--csv", "/dev/full"}).status, cli::kBadUsage);
  EXPECT_EQ(clitest::Run({"--kind", "linktest", "--record", "/dev/zero", "records"}).status,
            cli::kBadUsage);
  EXPECT_TRUE(IsFifo(Path("fifo")));
}

TEST_F(HostilePlaces, ExportsLeaveAFifoAFifo) {
  QString error;
  EXPECT_FALSE(operations::SaveLinkEvaluationsCsv(Path("fifo"), {}, error));
  EXPECT_THAT(error.toStdString(), HasSubstr("it is a FIFO, not a regular file"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("chart.png")).constData(), 0600), 0);
  charts::LinkChart chart;
  error.clear();
  EXPECT_FALSE(charts::SaveChart(chart, Path("chart.png"), error));
  EXPECT_THAT(error.toStdString(), HasSubstr("it is a FIFO, not a regular file"));
  EXPECT_TRUE(IsFifo(Path("fifo")));
  EXPECT_TRUE(IsFifo(Path("chart.png")));
}

TEST_F(HostilePlaces, AProfileOrAPortListThatIsNotWhatItShouldBeIsRefusedAtOnce) {
  const struct {
    QString profile;
    std::string said;
  } rows[] = {
      {Path("fifo"), "fifo: not JSON"},
      {Path("folder"), "folder: it is a folder"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.profile.toStdString());
    for (const char* command : {"load", "diff"}) {
      const clitest::Ran ran = clitest::Run({"--port", "sim", command, row.profile});
      EXPECT_EQ(ran.status, cli::kBadUsage);
      EXPECT_THAT(ran.err, HasSubstr(row.said));
    }
  }
  QFile profile(Path("p.json"));
  ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
  profile.write(R"({"talvora": "registers", "version": 1, "registers": {"0": 0}})");
  profile.close();
  testing::internal::CaptureStderr();
  const auto status = station::RunStationCommand(
      {"talvora-cli", "station", "--profile", Path("p.json"), "--ports", QString("sim,sim\x01")});
  EXPECT_EQ(status, cli::kBadUsage);
  EXPECT_THAT(testing::internal::GetCapturedStderr(),
              HasSubstr("--ports 'sim,sim\\x01': names separated by commas, nothing around them"));
}

}  // namespace
