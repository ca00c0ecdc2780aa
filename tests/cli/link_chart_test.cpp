// The link test's chart and records from talvora-cli, in virtual time against the simulated
// radio system: the chart's series hold exactly the run's evaluations, files hold one point per
// evaluation, and a test kept with its label is listed again with every evaluation.

#include "charts/link_chart.h"

#include <gmock/gmock.h>

#include <QChart>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineSeries>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QTemporaryDir>

#include "charts/chart_files.h"
#include "commands.h"
#include "link/functions.h"
#include "link_test_job.h"
#include "platform/virtual_event_service.h"
#include "sim/simulated_system.h"

namespace {

using operations::LinkEvaluation;
using Points = std::vector<std::pair<double, double>>;

cli::LinkTestResult RunOn(const std::string& device, double seconds,
                          charts::LinkChart* follow = nullptr) {
  platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  functions::OpenSerial(device);
  cli::HeadlessPages pages;
  const cli::LinkTestResult result = cli::RunLinkTest(pages, seconds, [&](const LinkEvaluation& e) {
    if (follow != nullptr) follow->Append(e);
  });
  functions::CloseSerial();
  return result;
}

Points SeriesPoints(const charts::LinkChart& chart, const QString& name) {
  Points points;
  for (QChart* one : {chart.LevelChart(), chart.PacketChart()}) {
    for (QAbstractSeries* series : one->series()) {
      if (series->objectName() != name) continue;
      for (const QPointF& point : qobject_cast<QXYSeries*>(series)->points())
        points.emplace_back(point.x(), point.y());
    }
  }
  return points;
}

struct Air {
  const char* device;
  int lost;  // packets the run loses; -1: some, not all
  friend void PrintTo(const Air& air, std::ostream* out) { *out << air.device; }
};

class ChartOfARun : public testing::TestWithParam<Air> {};

TEST_P(ChartOfARun, SeriesHoldExactlyTheEvaluationsFollowedOrShownAfterwards) {
  charts::LinkChart followed;
  const cli::LinkTestResult result = RunOn(GetParam().device, 12.0, &followed);
  ASSERT_EQ(result.evaluations.size(), 12u);
  Points levels, sent, answered, lost, steps;
  int previousReceived = 0;
  for (std::size_t k = 0; k < result.evaluations.size(); ++k) {
    const LinkEvaluation& e = result.evaluations[k];
    // In virtual time each evaluation comes on its whole second.
    EXPECT_NEAR(e.seconds, double(k + 1), 1e-3);
    levels.emplace_back(e.seconds, e.level);
    sent.emplace_back(e.seconds, e.sent);
    answered.emplace_back(e.seconds, e.received);
    if (e.received == previousReceived) lost.emplace_back(e.seconds, e.sent);
    previousReceived = e.received;
    if (k > 0) steps.emplace_back(e.seconds, result.evaluations[k - 1].level);
    steps.emplace_back(e.seconds, e.level);
  }
  // One packet per evaluation: each one lost is one sent and not answered.
  EXPECT_EQ(static_cast<int>(lost.size()),
            result.evaluations.back().sent - result.evaluations.back().received);
  if (GetParam().lost >= 0) {
    EXPECT_EQ(static_cast<int>(lost.size()), GetParam().lost);
  } else {
    EXPECT_GT(lost.size(), 0u);
    EXPECT_LT(lost.size(), result.evaluations.size());
  }

  charts::LinkChart shown;
  shown.Show({{"run", result.evaluations}});
  for (const charts::LinkChart* chart : {&followed, &shown}) {
    EXPECT_EQ(SeriesPoints(*chart, "evaluations 0"), levels);
    EXPECT_EQ(SeriesPoints(*chart, "level 0"), steps);
    EXPECT_EQ(SeriesPoints(*chart, "sent 0"), sent);
    EXPECT_EQ(SeriesPoints(*chart, "answered 0"), answered);
    EXPECT_EQ(SeriesPoints(*chart, "lost 0"), lost);
  }
}

INSTANTIATE_TEST_SUITE_P(Airs, ChartOfARun,
                         testing::Values(Air{"sim:host=0,remotes=5", 0},
                                         Air{"sim:host=0,remotes=5,loss=0.5,seed=3", -1},
                                         Air{"sim:remotes=none", 12}));

// Counts the round markers an SVG drawing holds.
int Markers(const QByteArray& svg) {
  return static_cast<int>(QString::fromUtf8(svg).count(QRegularExpression("<circle ")));
}

TEST(ChartFiles, OnePointPerEvaluationInSvgAPictureInPngAndOtherNamesRefused) {
  const cli::LinkTestResult result = RunOn("sim:remotes=none", 7.0);
  ASSERT_EQ(result.evaluations.size(), 7u);
  QTemporaryDir folder;
  charts::LinkChart chart;
  QString error;
  // A run without losses shows one marker per evaluation and no red one.
  chart.Show({{QString(), RunOn("sim:host=0,remotes=5", 7.0).evaluations}});
  ASSERT_TRUE(charts::SaveChart(chart, folder.filePath("good.svg"), error)) << error.toStdString();
  QFile good(folder.filePath("good.svg"));
  ASSERT_TRUE(good.open(QIODevice::ReadOnly));
  EXPECT_EQ(Markers(good.readAll()), 7);
  // Every packet of a silent run is lost: a level marker and a lost marker per evaluation.
  chart.Show({{QString(), result.evaluations}});
  ASSERT_TRUE(charts::SaveChart(chart, folder.filePath("silent.svg"), error));
  QFile silent(folder.filePath("silent.svg"));
  ASSERT_TRUE(silent.open(QIODevice::ReadOnly));
  EXPECT_EQ(Markers(silent.readAll()), 14);

  ASSERT_TRUE(charts::SaveChart(chart, folder.filePath("silent.PNG"), error));
  const QImage picture(folder.filePath("silent.PNG"));
  EXPECT_EQ(picture.size(), charts::kChartFileSize);

  EXPECT_FALSE(charts::SaveChart(chart, folder.filePath("silent.txt"), error));
  EXPECT_THAT(error.toStdString(), testing::HasSubstr("ends in .png or .svg"));
  EXPECT_FALSE(charts::SaveChart(chart, folder.filePath("none/x.svg"), error));
  EXPECT_THAT(error.toStdString(), testing::HasSubstr("cannot write"));
}

// talvora-cli linktest with a label, a plot and a database; then records lists the test.
TEST(KeptLinkTests, LinktestKeepsTheTestWithItsLabelAndRecordsListsItWithEveryEvaluation) {
  platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  QTemporaryDir folder;
  cli::Options options;
  options.port = "sim:host=0,remotes=5,loss=0.5,seed=3";
  options.command = "linktest";
  options.seconds = "5";
  options.record = folder.filePath("records.sqlite");
  options.plot = folder.filePath("roof.svg");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  for (const char* label : {"roof", "cellar, north wall"}) {
    options.label = label;
    EXPECT_EQ(cli::RunCommand(options), 0);
  }
  options.plot = folder.filePath("roof.pdf");
  EXPECT_EQ(cli::RunCommand(options), cli::kBadUsage);  // refused before the test
  testing::internal::GetCapturedStdout();
  EXPECT_THAT(testing::internal::GetCapturedStderr(), testing::HasSubstr("'"));
  QFile plot(folder.filePath("roof.svg"));
  ASSERT_TRUE(plot.open(QIODevice::ReadOnly));
  EXPECT_GE(Markers(plot.readAll()), 5);

  cli::Options list;
  list.command = "records";
  list.kind = "linktest";
  list.record = options.record;
  list.json = true;
  testing::internal::CaptureStdout();
  ASSERT_EQ(cli::RunCommand(list), 0);
  const QJsonArray tests =
      QJsonDocument::fromJson(QByteArray::fromStdString(testing::internal::GetCapturedStdout()))
          .object()["tests"]
          .toArray();
  ASSERT_EQ(tests.size(), 2);  // the refused command kept nothing
  EXPECT_EQ(tests[0]["label"].toString(), "cellar, north wall");  // newest first
  EXPECT_EQ(tests[1]["label"].toString(), "roof");
  for (const QJsonValue& test : tests) {
    EXPECT_EQ(test["state"].toString(), "finished");
    EXPECT_EQ(test["evaluations"].toArray().size(), 5);
    EXPECT_EQ(test["sent"].toInt(), 5);
    EXPECT_EQ(test["port"].toString(), options.port);
  }

  list.json = false;
  list.csv = folder.filePath("kept.csv");
  ASSERT_EQ(cli::RunCommand(list), 0);
  QFile csv(list.csv);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const QStringList rows = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 11);
  EXPECT_EQ(rows[0],
            "test,started,label,port,device,module,state,seconds,sent,received,level,caption");
  EXPECT_THAT(rows[1].toStdString(), testing::HasSubstr(",\"cellar, north wall\","));

  list.kind = "station";
  testing::internal::CaptureStderr();
  EXPECT_EQ(cli::RunCommand(list), cli::kBadUsage);
  EXPECT_THAT(testing::internal::GetCapturedStderr(), testing::HasSubstr("--kind linktest"));
}

}  // namespace
