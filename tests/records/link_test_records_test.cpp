// Kept link tests in the records database: a test's life from TEST ON to TEST OFF, labels,
// the order of the list, and a test stopped by Ctrl+C marked interrupted.

#include "records/link_test_records.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "records/record_database.h"

namespace {

using operations::LinkEvaluation;
using records::LinkTestState;

class LinkTestRecordsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(database_.open(folder_.filePath("records.sqlite")))
        << database_.error().toStdString();
  }
  records::LinkTestSetting Setting(const char* label, int minute) {
    return {QDateTime(QDate(2026, 5, 4), QTime(10, minute), Qt::UTC), "COM2", "/dev/ttyUSB0",
            "remote", label};
  }
  QTemporaryDir folder_;
  records::RecordDatabase database_;
  records::LinkTestRecords records_{database_};
};

TEST_F(LinkTestRecordsTest, ATestIsRunningUntilTestOffThenFinishedWithItsTotals) {
  const auto test = records_.Begin(Setting("roof", 0));
  ASSERT_TRUE(test) << records_.Error().toStdString();
  const std::vector<LinkEvaluation> evaluations = {{1.0, 1, 1, 5, "OK, Connection"},
                                                   {2.0, 2, 1, 4, "OK, Connection"},
                                                   {3.0, 3, 1, 3, "Difficult Connection"}};
  for (const LinkEvaluation& evaluation : evaluations)
    ASSERT_TRUE(records_.AddEvaluation(*test, evaluation));
  // This process writes it and lives: the test is running, with what it has so far.
  auto kept = records_.Find(*test);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->state, LinkTestState::Running);
  EXPECT_EQ(kept->evaluations, evaluations);
  EXPECT_EQ(kept->totals.sent, 3);

  ASSERT_TRUE(records_.Finish(*test, {3.4, 3, 2, 3}, false));
  kept = records_.Find(*test);
  EXPECT_EQ(kept->state, LinkTestState::Finished);
  EXPECT_EQ(kept->totals.received, 2);  // TEST OFF's count, not the last evaluation's
  EXPECT_DOUBLE_EQ(kept->totals.seconds, 3.4);
  EXPECT_EQ(kept->setting.port, "COM2");
  EXPECT_EQ(kept->setting.device, "/dev/ttyUSB0");
  EXPECT_EQ(kept->setting.module, "remote");
  EXPECT_EQ(kept->setting.started, Setting("", 0).started);
  // A test ends once.
  EXPECT_FALSE(records_.Finish(*test, {9, 9, 9, 0}, false));
  EXPECT_EQ(records_.Find(*test)->totals.sent, 3);
}

TEST_F(LinkTestRecordsTest, ListedNewestFirstLabelledAfterwardsAndRefusalsSaid) {
  const auto older = records_.Begin(Setting("", 0));
  const auto newer = records_.Begin(Setting("cellar", 30));
  const auto middle = records_.Begin(Setting("garden", 15));
  ASSERT_TRUE(older && newer && middle);
  ASSERT_TRUE(records_.SetLabel(*older, "roof, mast 2"));
  std::vector<QString> labels;
  for (const records::KeptLinkTest& test : records_.List(false))
    labels.push_back(test.setting.label);
  EXPECT_EQ(labels, (std::vector<QString>{"cellar", "garden", "roof, mast 2"}));

  EXPECT_FALSE(records_.SetLabel(*newer + 100, "nowhere"));
  EXPECT_FALSE(records_.Error().isEmpty());
  EXPECT_FALSE(records_.AddEvaluation(*older, {1.0, 1, 1, 6, "level out of range"}));
  records::LinkTestSetting odd = Setting("", 1);
  odd.module = "satellite";
  EXPECT_FALSE(records_.Begin(odd));
  EXPECT_EQ(records_.List(false).size(), 3u);
}

// Ctrl+C in the command line ends a test the normal way, marked interrupted. (A test whose
// program died reads as interrupted too: the kill -9 test of talvora-cli.)
TEST_F(LinkTestRecordsTest, ATestStoppedByCtrlCIsInterrupted) {
  const auto stopped = records_.Begin(Setting("", 5));
  ASSERT_TRUE(stopped);
  ASSERT_TRUE(records_.Finish(*stopped, {0.5, 0, 0, 4}, true));
  EXPECT_EQ(records_.Find(*stopped)->state, LinkTestState::Interrupted);
}

}  // namespace
