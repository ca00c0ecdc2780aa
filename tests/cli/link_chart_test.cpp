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
#include "cli_run.h"
#include "link/functions.h"
#include "link_test_job.h"

namespace {

using operations::LinkEvaluation;
using Points = std::vector<std::pair<double, double>>;

cli::LinkTestResult RunOn(const std::string& device, double seconds,
                          charts::LinkChart* follow = nullptr) {
  platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  functions::OpenSerial(device);
  cli::HeadlessPages pages;
  cli::LinkTestResult result = cli::RunLinkTest(pages, seconds, [&](const LinkEvaluation& e) {
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

// Counts the round markers an SVG file holds; -1 when it cannot be read.
int Markers(const QString& svg) {
  QFile file(svg);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(QString::fromUtf8(file.readAll()).count(QRegularExpression("<circle ")));
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
  EXPECT_EQ(Markers(folder.filePath("good.svg")), 7);
  // Every packet of a silent run is lost: a level marker and a lost marker per evaluation.
  chart.Show({{QString(), result.evaluations}});
  ASSERT_TRUE(charts::SaveChart(chart, folder.filePath("silent.svg"), error));
  EXPECT_EQ(Markers(folder.filePath("silent.svg")), 14);

  ASSERT_TRUE(charts::SaveChart(chart, folder.filePath("silent.PNG"), error));
  EXPECT_EQ(QImage(folder.filePath("silent.PNG")).size(), charts::kChartFileSize);

  EXPECT_FALSE(charts::SaveChart(chart, folder.filePath("silent.txt"), error));
  EXPECT_THAT(error.toStdString(), testing::HasSubstr("ends in .png or .svg"));
  EXPECT_FALSE(charts::SaveChart(chart, folder.filePath("none/x.svg"), error));
  EXPECT_THAT(error.toStdString(), testing::HasSubstr("cannot write"));
}

// talvora-cli linktest with a label, a plot and a database; then records lists the test.
TEST(KeptLinkTests, LinktestKeepsTheTestWithItsLabelAndRecordsListsItWithEveryEvaluation) {
  QTemporaryDir folder;
  const QString port = "sim:host=0,remotes=5,loss=0.5,seed=3";
  const QStringList kept = {"--record", folder.filePath("records.sqlite")};
  const QStringList linktest = kept + QStringList{"--port", port, "--seconds", "5", "linktest"};
  const QString svg = folder.filePath("roof.svg");
  for (const char* label : {"roof", "cellar, north wall"})
    EXPECT_EQ(clitest::Run(linktest + QStringList{"--plot", svg, "--label", label}).status, 0);
  const clitest::Ran refused =
      clitest::Run(linktest + QStringList{"--plot", folder.filePath("roof.pdf")});
  EXPECT_EQ(refused.status, cli::kBadUsage);  // refused before the test
  EXPECT_THAT(refused.err, testing::HasSubstr("'"));
  EXPECT_GE(Markers(svg), 5);

  const QStringList records = kept + QStringList{"--kind", "linktest", "records"};
  const clitest::Ran listed = clitest::Run(QStringList{"--json"} + records);
  ASSERT_EQ(listed.status, 0);
  const QJsonArray tests =
      QJsonDocument::fromJson(QByteArray::fromStdString(listed.out)).object()["tests"].toArray();
  ASSERT_EQ(tests.size(), 2);  // the refused command kept nothing
  EXPECT_EQ(tests[0]["label"].toString(), "cellar, north wall");  // newest first
  EXPECT_EQ(tests[1]["label"].toString(), "roof");
  for (const QJsonValue test : tests) {
    EXPECT_EQ(test["state"].toString(), "finished");
    EXPECT_EQ(test["evaluations"].toArray().size(), 5);
    EXPECT_EQ(test["sent"].toInt(), 5);
    EXPECT_EQ(test["port"].toString(), port);
  }

  const QString csvPath = folder.filePath("kept.csv");
  ASSERT_EQ(clitest::Run(QStringList{"--csv", csvPath} + records).status, 0);
  QFile csv(csvPath);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const QStringList rows = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 11);
  EXPECT_EQ(rows[0],
            "test,started,label,port,device,module,state,seconds,sent,received,level,caption");
  EXPECT_THAT(rows[1].toStdString(), testing::HasSubstr(",\"cellar, north wall\","));

  const clitest::Ran station =
      clitest::Run(kept + QStringList{"--csv", csvPath, "--kind", "station", "records"});
  EXPECT_EQ(station.status, cli::kBadUsage);
  EXPECT_THAT(station.err, testing::HasSubstr("--kind linktest"));
}

}  // namespace
