// The "Link History" window beside the main window, against the simulated radio system.

#include "ui/link_history.h"

#include <QChart>
#include <QFileDialog>
#include <QGroupBox>
#include <QLegend>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "radio_window.h"
#include "records/link_test_records.h"
#include "records/record_database.h"
#include "settings/settings_file.h"
#include "ui/link_history_window.h"

namespace {

using operations::LinkEvaluation;

class LinkHistoryTest : public uitest::RadioWindowTest {
 protected:
  void SetUp() override {
    RadioWindowTest::SetUp();
    // Each test keeps its tests in a records database of its own.
    ASSERT_TRUE(data_.isValid());
    previousData_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
  }
  void TearDown() override {
    RadioWindowTest::TearDown();
    qputenv("XDG_DATA_HOME", previousData_);
  }

  ui::LinkHistoryWindow& History() { return Window().History().Window(); }
  const ui::RadioTestingControls& Page() { return Window().RadioTesting(); }
  // A test of `seconds` whole seconds, with TEST ON and TEST OFF clicked.
  void RunTest(int seconds) {
    uitest::Click(Page().Command3);
    RunMs(seconds * 1000 + 100);
    uitest::Click(Page().Command1);
  }
  template <typename Series>
  Series* Find(const char* name) {
    for (QAbstractSeries* one :
         History().Chart().LevelChart()->series() + History().Chart().PacketChart()->series()) {
      if (one->objectName() == name) return qobject_cast<Series*>(one);
    }
    return nullptr;
  }
  // What a chart series holds, as (x, y) pairs.
  template <typename Series>
  std::vector<std::pair<double, double>> Points(const char* name) {
    std::vector<std::pair<double, double>> points;
    if (Series* series = Find<Series>(name)) {
      for (const QPointF& point : series->points())
        points.emplace_back(point.x(), point.y());
    }
    return points;
  }
  std::vector<std::pair<double, double>> Levels(const std::vector<LinkEvaluation>& evaluations) {
    std::vector<std::pair<double, double>> points;
    for (const LinkEvaluation& evaluation : evaluations)
      points.emplace_back(evaluation.seconds, evaluation.level);
    return points;
  }
  std::vector<records::KeptLinkTest> Kept() {
    records::RecordDatabase database;
    EXPECT_TRUE(database.open(records::RecordDatabase::defaultPath()))
        << database.error().toStdString();
    return records::LinkTestRecords(database).List(true);
  }
  int Rows() { return History().List()->topLevelItemCount(); }

 private:
  QTemporaryDir data_;
  QByteArray previousData_;
};

TEST_F(LinkHistoryTest, OpensWithCtrlHAndFollowsTheRunningTestOnePointPerEvaluation) {
  Load("host=0,remotes=5,loss=0.5,seed=4");
  Window().SSTab1()->setCurrentIndex(operations::kRadioTestingPage);
  Activate();
  QTest::keySequence(&Window(), QKeySequence("Ctrl+H"));
  ASSERT_TRUE(History().isVisible());
  EXPECT_EQ(History().windowTitle(), "Link History");
  EXPECT_FALSE(History().isModal());

  uitest::Click(Page().Command3);
  std::vector<std::size_t> seen;
  for (int second = 1; second <= 6; ++second) {
    RunMs(1000);
    seen.push_back(Points<QScatterSeries>("evaluations 0").size());
  }
  EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6}));
  // Shown as the page shows it: the level the page's Label3 holds now is the last point's.
  EXPECT_EQ(Points<QScatterSeries>("evaluations 0").back().second, Page().Label3->text().toInt());
  uitest::Click(Page().Command1);

  const auto live = History().Chart().Runs().at(0).evaluations;
  ASSERT_EQ(live.size(), 6u);
  EXPECT_EQ(Points<QScatterSeries>("evaluations 0"), Levels(live));
  // The step line holds each level until the next evaluation changes it.
  const auto steps = Points<QLineSeries>("level 0");
  ASSERT_EQ(steps.size(), 2 * live.size() - 1);
  for (std::size_t k = 1; k < live.size(); ++k) {
    EXPECT_EQ(steps[2 * k - 1], std::make_pair(live[k].seconds, double(live[k - 1].level)));
    EXPECT_EQ(steps[2 * k], std::make_pair(live[k].seconds, double(live[k].level)));
  }

  // The finished test is kept, whole, and listed under the current test.
  const auto kept = Kept();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].state, records::LinkTestState::Finished);
  EXPECT_EQ(kept[0].evaluations, live);
  EXPECT_EQ(kept[0].setting.port, "COM1");
  EXPECT_EQ(kept[0].setting.module, "host");
  EXPECT_EQ(kept[0].totals.sent, Page().Label4->text().toInt());
  EXPECT_EQ(kept[0].totals.received, Page().Label5->text().toInt());
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(History().List()->topLevelItem(1)->text(5), "finished");

  // A kept test shown again is the same curve.
  History().Select({1});
  EXPECT_EQ(Points<QScatterSeries>("evaluations 0"), Levels(live));
}

TEST_F(LinkHistoryTest, TwoKeptTestsOverlayEachWithItsLabelInTheLegend) {
  Load("host=0,remotes=5");
  RunTest(4);  // every packet answered
  History().Select({1});
  History().Label("roof");
  Load("host=0,remotes=5,loss=1");  // the same place, nothing crosses the air
  RunTest(6);
  History().Refresh();
  History().Select({1});
  History().Label("cellar");

  ASSERT_EQ(Rows(), 3);
  EXPECT_EQ(History().List()->topLevelItem(1)->text(0), "cellar");  // newest first
  EXPECT_EQ(History().List()->topLevelItem(2)->text(0), "roof");
  History().Select({1, 2});
  const auto& runs = History().Chart().Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(runs[0].name.startsWith("cellar (")) << runs[0].name.toStdString();
  EXPECT_TRUE(runs[1].name.startsWith("roof (")) << runs[1].name.toStdString();
  EXPECT_EQ(Points<QScatterSeries>("evaluations 0").size(), 6u);
  EXPECT_EQ(Points<QScatterSeries>("evaluations 1").size(), 4u);
  // On a silent air the level falls to 0; on a good one it climbs to 5.
  EXPECT_EQ(Points<QScatterSeries>("evaluations 0").back().second, 0);
  EXPECT_EQ(Points<QScatterSeries>("evaluations 1").back().second, 5);
  // Every packet of the silent run is lost, none of the other's.
  EXPECT_EQ(Points<QScatterSeries>("lost 0").size(), 6u);
  EXPECT_TRUE(Points<QScatterSeries>("lost 1").empty());
  EXPECT_TRUE(History().Chart().LevelChart()->legend()->isVisible());
  auto* first = Find<QLineSeries>("level 0");
  auto* second = Find<QLineSeries>("level 1");
  ASSERT_TRUE(first != nullptr && second != nullptr);
  EXPECT_NE(first->pen().color(), second->pen().color());
  EXPECT_EQ(first->name(), runs[0].name);

  // The evaluations go out as CSV only for one test at a time.
  EXPECT_FALSE(History().findChild<QPushButton*>("ExportCsv")->isEnabled());
  History().Select({2});
  EXPECT_TRUE(History().findChild<QPushButton*>("ExportCsv")->isEnabled());
  QTemporaryDir folder;
  const QString csv = folder.filePath("roof.csv");
  History().ExportCsv(csv);
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(lines[0], "seconds,sent,received,level,caption");
  EXPECT_EQ(lines[4], "4.000,4,4,5,\"OK, Connection\"");
}

// The right-click menu of the "Testing" frame opens the window; its SVG button asks for a file
// as the profile's buttons do and draws one marker per evaluation.
TEST_F(LinkHistoryTest, TheFrameMenuOpensTheWindowWhichExportsTheChartThroughAFileDialog) {
  Load("host=0,remotes=5");
  Window().SSTab1()->setCurrentIndex(operations::kRadioTestingPage);
  RunTest(5);
  ASSERT_FALSE(History().isVisible());
  EXPECT_EQ(uitest::ChooseFromContextMenu(Page().Frame1, "Link History…", {300, 20}).entries,
            QStringList{"Link History…"});
  ASSERT_TRUE(History().isVisible());
  EXPECT_EQ(History().Chart().Runs().at(0).evaluations.size(), 5u);

  QTemporaryDir folder;
  const QString svg = folder.filePath("link.svg");
  const QPointer<QWidget> dialog =
      uitest::RunModal([this] { History().findChild<QPushButton*>("ExportSvg")->click(); },
                       [&svg](QWidget& shown) {
                         auto* files = qobject_cast<QFileDialog*>(&shown);
                         ASSERT_NE(files, nullptr);
                         files->selectFile(svg);
                         static_cast<QDialog*>(files)->accept();
                       });
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(file.readAll()).count("<circle "), 5);
  EXPECT_EQ(settings::OpenSettingsFile()->value("linkHistory/lastFolder").toString(),
            QFileInfo(svg).absolutePath());
}

}  // namespace
