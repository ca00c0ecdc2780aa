// Frames on the wire and the RTS timeline of keyed and plain transmissions.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/functions.h"
#include "support/virtual_port.h"

namespace {

using testing::ElementsAre;
using testsupport::Frame;
using testsupport::kMs;

class FramesTest : public testsupport::VirtualPortTest {
 protected:
  void SetUp() override {
    VirtualPortTest::SetUp();
    functions::OpenSerial("COM1");
  }
  void TearDown() override {
    functions::CloseSerial();
    VirtualPortTest::TearDown();
  }
  win32::SimulatedLine& Line() { return *win32::SimulatedLineOf(functions::serial->handle()); }
  std::vector<Frame> SentFrames() {
    std::vector<Frame> sent;
    for (const Frame& frame : FramesOn(functions::serial->handle())) {
      if (frame.direction == win32::LineByte::Direction::FromProgram) sent.push_back(frame);
    }
    return sent;
  }
  std::vector<std::string> Lines() {
    return testsupport::TranscriptLines(FramesOn(functions::serial->handle()));
  }
  // When RTS last rose before `t`.
  platform::Micros RtsRiseBefore(platform::Micros t) {
    platform::Micros rise = -1;
    for (const auto& change : Line().RtsLog()) {
      if (change.at <= t && change.raised) rise = change.at;
    }
    return rise;
  }
  static std::string Chr(int code) { return std::string(1, static_cast<char>(code)); }
};

TEST_F(FramesTest, KeyedFramesGoOutWithTheirLeadAndRtsFallsAtTheNextTick) {
  EXPECT_EQ(functions::SendHashCommand(Chr(5), Chr(200)), 1);
  Clock().RunFor(200 * kMs);
  EXPECT_EQ(functions::SendDollarCommand(Chr(0)), 1);
  Clock().RunFor(200 * kMs);
  EXPECT_THAT(Lines(), ElementsAre(">> 23 05 C8 [RTS]", ">> 24 00 [RTS]"));

  const auto frames = SentFrames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_GE(frames[0].start - RtsRiseBefore(frames[0].start), 10 * kMs);
  EXPECT_GE(frames[1].start - RtsRiseBefore(frames[1].start), 20 * kMs);

  // RTS falls at the first poll tick after the write, within one poll period.
  const auto& log = Line().RtsLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_FALSE(log[1].raised);
  EXPECT_GT(log[1].at, frames[0].start);
  EXPECT_LE(log[1].at, frames[0].start + 70 * kMs);
  EXPECT_FALSE(Line().Rts());
}

TEST_F(FramesTest, KeyedArgumentsLoseLeadingAndTrailingBlanksOnly) {
  functions::SendDollarCommand(" ");
  Clock().RunFor(100 * kMs);
  functions::SendHashCommand("  A  ", " v ");
  Clock().RunFor(100 * kMs);
  functions::SendDollarCommand(Chr(0) + " ");
  Clock().RunFor(100 * kMs);
  EXPECT_THAT(Lines(), ElementsAre(">> 24 [RTS]", ">> 23 41 20 76 20 [RTS]", ">> 24 00 [RTS]"));
}

TEST_F(FramesTest, PlainFramesLeaveRtsAloneAndReturnTheJoinedText) {
  std::string text = "AB";
  functions::SendPlain("$", text);
  EXPECT_EQ(text, "$AB");
  Clock().RunFor(100 * kMs);
  EXPECT_THAT(Lines(), ElementsAre(">> 24 41 42"));
  EXPECT_TRUE(Line().RtsLog().empty());
}

TEST_F(FramesTest, NothingIsSentWhileThePollTimerIsStoppedButKeyedSendsStillRaiseRts) {
  platform::KillTimer(0, static_cast<std::uintptr_t>(functions::lngTimerID));
  functions::lngTimerID = 0;
  const platform::Micros before = Now();
  EXPECT_EQ(functions::SendDollarCommand(Chr(3)), 0);
  EXPECT_GE(Now() - before, 20 * kMs) << "the lead is still waited";
  EXPECT_EQ(functions::SendHashCommand(Chr(3), Chr(4)), 0);
  std::string text = "x";
  functions::SendPlain("$", text);
  EXPECT_EQ(text, "x");
  Clock().RunFor(500 * kMs);
  EXPECT_TRUE(SentFrames().empty());
  EXPECT_TRUE(Line().Rts()) << "only the poll tick drops RTS";
}

TEST_F(FramesTest, TheReplyFlagIsClearedBySendingAndSetByADelivery) {
  SetScript(testsupport::AnswerWith("\x5A"));
  functions::SendDollarCommand(Chr(3));
  EXPECT_FALSE(functions::ReplyArrived());
  Clock().RunFor(300 * kMs);
  EXPECT_TRUE(functions::ReplyArrived());
  EXPECT_THAT(Lines(), ElementsAre(">> 24 03 [RTS]", "<< 5A"));
  EXPECT_EQ(functions::TakeReply(), "\x5A");
  EXPECT_TRUE(functions::ReplyArrived()) << "taking the text leaves the flag";
  EXPECT_EQ(functions::TakeReply(), "");
}

}  // namespace
