// The line pacer of talvora-sim: a wake costs the same however many bytes are waiting.

#include "line_pacer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using sim::kByteTime;
using talvora_sim::LinePacer;

constexpr sim::Micros kStart = 5000;

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
