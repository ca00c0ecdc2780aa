// What the link test shows for a quality level, and how it writes a testing time.

#include "operations/link_quality.h"

#include <gtest/gtest.h>

#include <ostream>

#include "operations/radio_testing_controls.h"

namespace {

struct LevelCase {
  int level;
  const char* caption;
  int lamp;
};

void PrintTo(const LevelCase& row, std::ostream* out) {
  *out << "level " << row.level;
}

class QualityLevel : public testing::TestWithParam<LevelCase> {};

TEST_P(QualityLevel, ShowsItsVerdictAndLamp) {
  const LevelCase& row = GetParam();
  EXPECT_EQ(operations::QualityCaption(row.level).toStdString(), row.caption);
  EXPECT_EQ(operations::QualityLamp(row.level), row.lamp);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, QualityLevel,
    testing::Values(LevelCase{0, "No Connection", operations::kRedLamp},
                    LevelCase{1, "No Connection", operations::kRedLamp},
                    LevelCase{2, "Difficult Connection", operations::kGreyLamp},
                    LevelCase{3, "Difficult Connection", operations::kGreyLamp},
                    LevelCase{4, "OK, Connection", operations::kGreenLamp},
                    LevelCase{5, "OK, Connection", operations::kGreenLamp}));

struct TimeCase {
  float seconds;
  const char* caption;
};

void PrintTo(const TimeCase& row, std::ostream* out) {
  *out << row.seconds << " s";
}

class TestingTime : public testing::TestWithParam<TimeCase> {};

TEST_P(TestingTime, IsWholeMinutesAndSecondsEachAfterABlank) {
  EXPECT_EQ(operations::TestingTimeCaption(GetParam().seconds).toStdString(), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Durations, TestingTime,
    testing::Values(TimeCase{0.0f, " 0 min 0 sec"}, TimeCase{7.9f, " 0 min 7 sec"},
                    TimeCase{59.99f, " 0 min 59 sec"}, TimeCase{60.0f, " 1 min 0 sec"},
                    TimeCase{125.3f, " 2 min 5 sec"}, TimeCase{3605.0f, " 60 min 5 sec"},
                    // Past 546 minutes the minute step no longer fits 16 bits.
                    TimeCase{40000.0f, " 666 min 40 sec"},
                    // A whole day, the longest a clock of seconds since midnight can measure.
                    TimeCase{86399.0f, " 1439 min 59 sec"}));

}  // namespace
