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
#include "commands.h"
#include "operations/link_evaluation.h"
#include "platform/virtual_event_service.h"
#include "records/link_test_records.h"
#include "sim/simulated_system.h"
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

  struct Ran {
    int status;
    std::string out, err;
  };
  Ran Run(cli::Options options) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = cli::RunCommand(options);
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
  }
  cli::Options LinkTest() const {
    cli::Options options;
    options.port = "sim";
    options.command = "linktest";
    options.seconds = "2";
    options.record = Path("records.sqlite");
    return options;
  }

  QTemporaryDir folder_;
};

TEST_F(HostilePlaces, APlaceThatCannotTakeTheResultIsRefusedBeforeTheTestRuns) {
  const QString longest(records::kLongestLabel + 1, u'a');
  const struct {
    const char* name;
    cli::Options options;
    std::string said;
  } rows[] = {
      {"plot into a FIFO",
       [&] {
         auto o = LinkTest();
         o.plot = Path("fifo.svg");
         return o;
       }(),
       ""},
      {"plot into a missing folder",
       [&] {
         auto o = LinkTest();
         o.plot = Path("none/x.png");
         return o;
       }(),
       "No such file or directory"},
      {"records in a folder",
       [&] {
         auto o = LinkTest();
         o.record = Path("folder");
         return o;
       }(),
       "the link test is not kept: "},
      {"records in a FIFO",
       [&] {
         auto o = LinkTest();
         o.record = Path("fifo");
         return o;
       }(),
       "not a regular file"},
      {"a control character in the label",
       [&] {
         auto o = LinkTest();
         o.label = "roof\x01";
         return o;
       }(),
       "--label: the label 'roof\\x01' holds a control character"},
      {"a label too long",
       [&] {
         auto o = LinkTest();
         o.label = longest;
         return o;
       }(),
       "--label: the label is longer than 200 characters"},
  };
  // "fifo.svg" is a FIFO too for the first row.
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.svg")).constData(), 0600), 0);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Ran ran = Run(row.options);
    EXPECT_EQ(ran.status, cli::kBadUsage);
    EXPECT_THAT(ran.err, HasSubstr(row.said));
    EXPECT_THAT(ran.out, testing::Not(HasSubstr("sent")));  // no test ran
  }
  EXPECT_TRUE(IsFifo(Path("fifo.svg")));
  EXPECT_TRUE(IsFifo(Path("fifo")));
  EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
  EXPECT_FALSE(QFileInfo::exists(Path("records.sqlite"))) << "a refused test kept";

  // A label is kept without the spaces around it, up to the longest.
  cli::Options labelled = LinkTest();
  labelled.label = "  " + QString(records::kLongestLabel, u'b') + " ";
  EXPECT_EQ(Run(labelled).status, 0);
  cli::Options list;
  list.command = "records";
  list.kind = "linktest";
  list.record = Path("records.sqlite");
  EXPECT_THAT(Run(list).out, HasSubstr("\"" + std::string(records::kLongestLabel, 'b') + "\" sim"));

  // The kept tests are not written over a FIFO, a device or a folder, nor read from a device.
  for (const char* place : {"fifo", "folder"}) {
    SCOPED_TRACE(place);
    list.csv = Path(place);
    const Ran ran = Run(list);
    EXPECT_EQ(ran.status, cli::kBadUsage);
    EXPECT_THAT(ran.err, HasSubstr("not a regular file; it is left as it is"));
  }
  list.csv = "/dev/full";
  EXPECT_EQ(Run(list).status, cli::kBadUsage);
  list.csv.clear();
  list.record = "/dev/zero";
  EXPECT_EQ(Run(list).status, cli::kBadUsage);
  EXPECT_TRUE(IsFifo(Path("fifo")));
}

// The window's exports write through the same safe replacement.
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
    std::string profile;
    std::string said;
  } rows[] = {
      {Path("fifo").toStdString(), "fifo: not JSON"},
      {Path("folder").toStdString(), "folder: it is a folder"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.profile);
    for (const char* command : {"load", "diff"}) {
      cli::Options options;
      options.port = "sim";
      options.command = command;
      options.arguments = {QString::fromStdString(row.profile)};
      const Ran ran = Run(options);
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
