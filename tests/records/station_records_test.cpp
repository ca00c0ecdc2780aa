#include "records/station_records.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

using records::StationFilter;
using records::StationModule;

StationModule Module(const QString& started, const QString& port, const QString& verdict) {
  StationModule m;
  m.started = QDateTime::fromString(started, Qt::ISODate);
  m.finished = m.started.addSecs(9);
  m.host = "bench";
  m.port = port;
  m.device = "/dev/" + port;
  m.profile = "/profiles/site.json";
  m.profileSha256 = QString(64, 'a');
  m.before[0] = 0;
  m.before[1] = 8;
  m.after[1] = 9;
  m.verdict = verdict;
  m.detail = verdict == "pass" ? QString() : QString("register 1 reads 8, not 9");
  m.readMs = 400;
  m.totalMs = 9000;
  return m;
}

class StationRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(database_.open(dir_.filePath("records.sqlite"))) << database_.error().toStdString();
    QString error;
    for (const StationModule& m : {Module("2026-12-01T10:00:00Z", "ttyUSB0", "pass"),
                                   Module("2026-12-01T10:05:00Z", "ttyUSB1", "fail"),
                                   Module("2026-12-02T08:00:00Z", "ttyUSB0", "interrupted"),
                                   Module("2026-12-03T09:30:00Z", "ttyUSB1", "pass")})
      ASSERT_TRUE(store_.Add(m, error)) << error.toStdString();
  }

  std::vector<QString> Listed(const StationFilter& filter) {
    QString error;
    const auto rows = store_.List(filter, error);
    EXPECT_TRUE(rows.has_value()) << error.toStdString();
    std::vector<QString> listed;
    for (const StationModule& m : rows.value_or(std::vector<StationModule>{}))
      listed.push_back(m.started.toUTC().toString("dd hh:mm") + " " + m.port + " " + m.verdict);
    return listed;
  }

  QTemporaryDir dir_;
  records::RecordDatabase database_;
  records::StationRecords store_{database_};
};

struct FilterRow {
  const char* name;
  StationFilter filter;
  std::vector<QString> expected;
  friend void PrintTo(const FilterRow& row, std::ostream* out) { *out << row.name; }
};

class StationFilterTest : public StationRecordsTest,
                          public ::testing::WithParamInterface<FilterRow> {};

TEST_P(StationFilterTest, ListsExactlyTheSelectedRowsInTimeOrder) {
  EXPECT_EQ(Listed(GetParam().filter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, StationFilterTest,
    ::testing::Values(
        FilterRow{"All",
                  {},
                  {"01 10:00 ttyUSB0 pass", "01 10:05 ttyUSB1 fail", "02 08:00 ttyUSB0 interrupted",
                   "03 09:30 ttyUSB1 pass"}},
        FilterRow{"Since",
                  {QDateTime::fromString("2026-12-02T00:00:00Z", Qt::ISODate), {}, {}},
                  {"02 08:00 ttyUSB0 interrupted", "03 09:30 ttyUSB1 pass"}},
        FilterRow{"SinceTheVeryStartOfARow",
                  {QDateTime::fromString("2026-12-02T08:00:00Z", Qt::ISODate), {}, {}},
                  {"02 08:00 ttyUSB0 interrupted", "03 09:30 ttyUSB1 pass"}},
        FilterRow{"PortByName",
                  {std::nullopt, "ttyUSB1", {}},
                  {"01 10:05 ttyUSB1 fail", "03 09:30 ttyUSB1 pass"}},
        FilterRow{"PortByDevice",
                  {std::nullopt, "/dev/ttyUSB0", {}},
                  {"01 10:00 ttyUSB0 pass", "02 08:00 ttyUSB0 interrupted"}},
        FilterRow{"Verdict",
                  {std::nullopt, {}, "pass"},
                  {"01 10:00 ttyUSB0 pass", "03 09:30 ttyUSB1 pass"}},
        FilterRow{"AllThree",
                  {QDateTime::fromString("2026-12-01T10:01:00Z", Qt::ISODate), "ttyUSB1", "pass"},
                  {"03 09:30 ttyUSB1 pass"}},
        FilterRow{"NothingMatches", {std::nullopt, "COM9", {}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StationRecordsTest, HostileTextIsKeptAsTextAndSelectsNothingElse) {
  const QString hostile = "x'); DROP TABLE station_modules; --\"\n,;";
  StationModule m = Module("2026-12-04T00:00:00Z", hostile, "fail");
  m.detail = hostile;
  m.profile = hostile;
  QString error;
  ASSERT_TRUE(store_.Add(m, error)) << error.toStdString();
  EXPECT_EQ(Listed({}).size(), 5u);
  QString listError;
  const auto rows = store_.List({std::nullopt, hostile, {}}, listError);
  ASSERT_TRUE(rows.has_value()) << listError.toStdString();
  ASSERT_EQ(rows->size(), 1u);
  EXPECT_EQ(rows->front().port, hostile);
  EXPECT_EQ(rows->front().detail, hostile);
  EXPECT_EQ(rows->front().profile, hostile);
  EXPECT_TRUE(Listed({std::nullopt, "' OR '1'='1", {}}).empty());
}

TEST_F(StationRecordsTest, ARowKeepsEveryRegisterAndDurationAsWritten) {
  QString error;
  const auto rows = store_.List({std::nullopt, {}, "pass"}, error);
  ASSERT_TRUE(rows.has_value());
  const StationModule& m = rows->front();
  EXPECT_EQ(m.before[1], 8);
  EXPECT_FALSE(m.before[2].has_value());
  EXPECT_EQ(m.after[1], 9);
  EXPECT_FALSE(m.after[0].has_value());
  EXPECT_EQ(m.readMs, 400);
  EXPECT_FALSE(m.programMs.has_value());
  EXPECT_EQ(m.totalMs, 9000);
  EXPECT_EQ(m.finished, m.started.addSecs(9));
}

TEST_F(StationRecordsTest, AVerdictOutsideTheThreeIsRefusedAndNothingWritten) {
  QString error;
  EXPECT_FALSE(store_.Add(Module("2026-12-05T00:00:00Z", "ttyUSB0", "maybe"), error));
  EXPECT_TRUE(error.contains("maybe"));
  EXPECT_EQ(Listed({}).size(), 4u);
}

TEST(RegistersText, RoundTripsAndRefusesWhatIsNotThirtyTwoBytes) {
  records::RegisterValues values;
  values[0] = 0;
  values[31] = 255;
  EXPECT_EQ(records::ParseRegistersText(records::RegistersText(values)), values);
  const QString nulls = QString(",null").repeated(31) + "]";
  for (const QString& text : {QString("[]"), QString("[1,2]"), QString("{}"), QString("not json"),
                              "[256" + nulls, "[-1" + nulls, "[1.5" + nulls})
    EXPECT_FALSE(records::ParseRegistersText(text).has_value()) << text.toStdString();
}

}  // namespace
