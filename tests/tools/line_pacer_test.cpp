// The line pacer of talvora-sim: when bytes are due, how many it holds, and that a wake costs
// the same however many bytes are waiting.

#include "line_pacer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using sim::kByteTime;
using talvora_sim::LinePacer;

constexpr sim::Micros kStart = 5000;

TEST(LinePacer, HoldsNoMoreThanItsCapacityAndRefillsBackToBack) {
  LinePacer pacer(sim::kBytesPerSecond);
  EXPECT_EQ(pacer.Push(std::string(4096, 'a'), kStart), sim::kBytesPerSecond);
  EXPECT_EQ(pacer.Room(), 0U);
  EXPECT_EQ(pacer.Push("b", kStart), 0U);

  const auto crossed = pacer.TakeCrossed(kStart + 3 * kByteTime + kByteTime / 2);
  ASSERT_EQ(crossed.size(), 3U);
  EXPECT_EQ(crossed[2].due, kStart + 3 * kByteTime);
  EXPECT_EQ(pacer.Room(), 3U);

  // What is taken while the line is still busy follows the waiting bytes without a gap.
  EXPECT_EQ(pacer.Push("xyz!", kStart + 4 * kByteTime), 3U);
  EXPECT_EQ(pacer.Waiting(), sim::kBytesPerSecond);
  const auto end = kStart + static_cast<sim::Micros>(sim::kBytesPerSecond + 3) * kByteTime;
  EXPECT_EQ(pacer.NextDue(), end);
  const auto rest = pacer.TakeDue(end);
  ASSERT_EQ(rest.size(), sim::kBytesPerSecond);
  EXPECT_EQ(rest.back().value, 'z');
  EXPECT_EQ(rest.back().due, end);
  EXPECT_EQ(pacer.Room(), sim::kBytesPerSecond);
}

TEST(LinePacer, HandsOverABurstWholeAndEachBurstOnItsOwn) {
  LinePacer pacer;
  pacer.Push("ab", kStart);
  pacer.Push("c", kStart + kByteTime);  // still crossing "a b": joins the burst
  pacer.Push("d", kStart + 10 * kByteTime);
  const sim::Micros firstEnd = kStart + 3 * kByteTime;

  EXPECT_EQ(pacer.NextDue(), firstEnd);
  EXPECT_TRUE(pacer.TakeDue(firstEnd - 1).empty());
  const auto first = pacer.TakeDue(firstEnd);
  ASSERT_EQ(first.size(), 3U);
  EXPECT_EQ(std::string({static_cast<char>(first[0].value), static_cast<char>(first[1].value),
                         static_cast<char>(first[2].value)}),
            "abc");
  EXPECT_EQ(first[0].due, kStart + kByteTime);
  EXPECT_EQ(pacer.NextDue(), kStart + 11 * kByteTime);
  EXPECT_EQ(pacer.TakeDue(kStart + 11 * kByteTime).size(), 1U);
  EXPECT_FALSE(pacer.NextDue().has_value());
}

// A writer that never pauses makes one endless burst. Walking it byte by byte must cost one
// step a wake: a pacer that walks the waiting bytes on every wake needs some 5 * 10^11 steps
// here, hours, and never ends within the test's time limit.
TEST(LinePacer, AWakeCostsTheSameHoweverLongTheBurst) {
  constexpr std::size_t kBurst = 1'000'000;
  LinePacer pacer;
  std::string bytes(kBurst, '\0');
  for (std::size_t i = 0; i < kBurst; ++i)
    bytes[i] = static_cast<char>(i % 251);
  ASSERT_EQ(pacer.Push(bytes, kStart), kBurst);
  const sim::Micros end = kStart + static_cast<sim::Micros>(kBurst) * kByteTime;

  std::size_t handed = 0;
  for (sim::Micros now = kStart + kByteTime; now <= end; now += kByteTime) {
    ASSERT_EQ(pacer.NextDue(), end);
    const auto crossed = pacer.TakeCrossed(now);
    ASSERT_EQ(crossed.size(), 1U);
    ASSERT_EQ(crossed[0].value, handed % 251);
    ASSERT_EQ(crossed[0].due, now);
    ++handed;
  }
  EXPECT_EQ(handed, kBurst);
  EXPECT_EQ(pacer.Waiting(), 0U);
}

}  // namespace
