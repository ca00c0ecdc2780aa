// The virtual clock, its timers and its yield, which every other test relies on.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/interval_timer.h"
#include "platform/virtual_event_service.h"

namespace {

using testing::ElementsAre;

TEST(VirtualTimeTest, AYieldWithNothingDueJumpsToTheNextTimer) {
  auto& clock = platform::UseVirtualTime();
  std::vector<platform::Micros> fast;
  std::vector<platform::Micros> slow;
  clock.StartTimer(70, [&] { fast.push_back(clock.NowMicros()); });
  clock.StartTimer(500, [&] { slow.push_back(clock.NowMicros()); });
  const platform::Micros start = clock.NowMicros();
  platform::DoEvents();
  EXPECT_EQ(clock.NowMicros() - start, 70'000);
  clock.RunFor(1'000'000 - 70'000);
  EXPECT_EQ(fast.size(), 14u);
  EXPECT_THAT(slow, ElementsAre(start + 500'000, start + 1'000'000));
}

TEST(VirtualTimeTest, AnIntervalTimerTicksOneIntervalAfterEachEnable) {
  auto& clock = platform::UseVirtualTime();
  std::vector<platform::Micros> ticks;
  platform::IntervalTimer timer(500, [&] { ticks.push_back(clock.NowMicros()); });
  EXPECT_FALSE(timer.Enabled());
  clock.RunFor(1'000'000);
  EXPECT_TRUE(ticks.empty());
  const platform::Micros start = clock.NowMicros();
  timer.Enabled(true);
  clock.RunFor(1'200'000);
  EXPECT_THAT(ticks, ElementsAre(start + 500'000, start + 1'000'000));
  timer.Enabled(false);
  clock.RunFor(1'000'000);
  EXPECT_EQ(ticks.size(), 2u);
}

TEST(VirtualTimeTest, ANapMovesTheClockByItsLengthAndRunsNothing) {
  auto& clock = platform::UseVirtualTime();
  int ticks = 0;
  clock.StartTimer(1, [&] { ++ticks; });
  const platform::Micros start = clock.NowMicros();
  clock.Nap(600);
  clock.Nap(600);
  EXPECT_EQ(clock.NowMicros() - start, 1200);
  EXPECT_EQ(ticks, 0) << "a nap ran a timer that fell due";
  platform::DoEvents();
  EXPECT_EQ(ticks, 1);
}

}  // namespace
