// When an overlapped read ends and which bytes it takes, with the program's timeouts: 1 ms after
// the last byte of a burst or 10 ms after it started.

#include "serial/receive_queue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr platform::Micros kByte = 1042;  // one byte at 9600 baud
constexpr win32::COMMTIMEOUTS kProgramTimeouts{1, 0, 10, 1, 1};

struct ReadCase {
  const char* name;
  std::vector<platform::Micros> arrivals;  // relative to the read's start
  std::size_t expectedCount;
  platform::Micros expectedEnd;  // relative to the read's start
};

class ReadWindow : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadWindow, EndsAfterTheBurstOrTheTotalTimeout) {
  const ReadCase& c = GetParam();
  win32::ReceiveQueue queue;
  queue.SetByteDuration(kByte);
  const platform::Micros start = 1'000'000;
  for (const auto at : c.arrivals)
    queue.Push('x', start + at);
  const auto pending = queue.Evaluate(start, kProgramTimeouts, 1024, start + c.expectedEnd - 1);
  EXPECT_FALSE(pending.finished) << "ended early";
  const auto end = queue.Evaluate(start, kProgramTimeouts, 1024, start + 100'000);
  EXPECT_TRUE(end.finished);
  EXPECT_EQ(end.count, c.expectedCount);
  EXPECT_EQ(end.at - start, c.expectedEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Bursts, ReadWindow,
    testing::Values(
        ReadCase{"Nothing", {}, 0, 10'000}, ReadCase{"OneByte", {3000}, 1, 4000},
        ReadCase{"BackToBack", {3000, 3000 + kByte, 3000 + 2 * kByte}, 3, 3000 + 2 * kByte + 1000},
        ReadCase{"GapEndsTheBurst", {2000, 2000 + kByte + 1500}, 1, 3000},
        ReadCase{"QueuedBeforeTheStart", {-50'000, -20'000, -5'000}, 3, 1000},
        ReadCase{"CutAtTenMilliseconds",
                 {8000, 8000 + kByte, 8000 + 2 * kByte, 8000 + 3 * kByte},
                 2,
                 10'000},
        ReadCase{"LateByteStaysQueued", {12'000}, 0, 10'000}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

}  // namespace
