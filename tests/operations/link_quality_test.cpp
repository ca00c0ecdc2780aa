// How the link test writes a testing time.

#include "operations/link_quality.h"

#include <gtest/gtest.h>

namespace {

TEST(TestingTime, IsWholeMinutesAndSecondsEachAfterABlank) {
  EXPECT_EQ(operations::TestingTimeCaption(59.99f).toStdString(), " 0 min 59 sec");
  // Past 546 minutes the minute step no longer fits 16 bits.
  EXPECT_EQ(operations::TestingTimeCaption(40000.0f).toStdString(), " 666 min 40 sec");
}

}  // namespace
