// The link on a simulated line in virtual time: opening, configuring and closing it, the poll
// timer, keyed and plain frames with their RTS timeline, and the reply flag.

#include "link/functions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <tuple>

#include "support/virtual_port.h"

namespace {

using testing::ElementsAre;
using testsupport::kMs;

class LinkTest : public testsupport::VirtualPortTest {
 protected:
  void SetUp() override {
    VirtualPortTest::SetUp();
    functions::OpenSerial("COM1");
  }
  void TearDown() override {
    functions::CloseSerial();
    VirtualPortTest::TearDown();
  }
  serial::SimulatedLine& Line() { return *serial::SimulatedLineOf(functions::serial->handle()); }
  std::vector<std::string> Lines() {
    return testsupport::TranscriptLines(FramesOn(functions::serial->handle()));
  }
  static std::string Chr(int code) { return std::string(1, static_cast<char>(code)); }
};

TEST_F(LinkTest, OpenSerialConfiguresTheRadioLineAndStartsThePollTimer) {
  EXPECT_NE(functions::lngTimerID, 0);
  EXPECT_EQ(Clock().TimerCount(), 1u);
  // 9600 baud, 8 bits, no parity, one stop bit; no parity check, no flow control, DTR off,
  // RTS by hand (a flag word of 0); the record's other fields as a new one has them.
  const win32::DCB& s = Line().Settings();
  EXPECT_EQ(std::tuple(s.DCBlength, s.BaudRate, s.Flags, s.XonLim, s.XoffLim, s.ByteSize, s.Parity,
                       s.StopBits, s.XonChar, s.XoffChar, s.ErrorChar, s.EofChar, s.EvtChar),
            std::tuple(28u, 9600u, 0u, 100, 1948, 8, 0, 0, 0x11, 0x13, '~', 0x1A, 0xFF));
}

// Keyed arguments lose leading and trailing blanks only; a plain frame goes as given.
TEST_F(LinkTest, FramesGoOutKeyedOrPlainAndRtsFallsAtTheNextTick) {
  EXPECT_EQ(functions::SendHashCommand("  A  ", " v "), 1);
  Clock().RunFor(200 * kMs);
  EXPECT_EQ(functions::SendDollarCommand(Chr(0) + " "), 1);
  Clock().RunFor(100 * kMs);
  functions::SendDollarCommand(" ");
  Clock().RunFor(100 * kMs);
  std::string text = "AB";
  functions::SendPlain("$", text);
  EXPECT_EQ(text, "$AB");
  Clock().RunFor(100 * kMs);
  EXPECT_THAT(Lines(), ElementsAre(">> 23 41 20 76 20 [RTS]", ">> 24 00 [RTS]", ">> 24 [RTS]",
                                   ">> 24 41 42"));

  // RTS falls at the first poll tick after the write, within one poll period.
  const auto& log = Line().RtsLog();
  ASSERT_EQ(log.size(), 6u);
  const platform::Micros start = FramesOn(functions::serial->handle())[0].start;
  EXPECT_FALSE(log[1].raised);
  EXPECT_GT(log[1].at, start);
  EXPECT_LE(log[1].at, start + 70 * kMs);
  EXPECT_FALSE(Line().Rts());
}

TEST_F(LinkTest, TheReplyFlagIsClearedBySendingAndSetByADelivery) {
  std::string text = "x";
  for (const std::function<void()>& send : std::vector<std::function<void()>>{
           [] { functions::SendHashCommand(Chr(3), Chr(4)); },
           [&] { functions::SendPlain("", text); }, [] { functions::SendDollarCommand(Chr(3)); }}) {
    functions::ReplyArrivedFlag = true;
    send();
    EXPECT_FALSE(functions::ReplyArrived());
  }
  Clock().RunFor(300 * kMs);
  SetScript(testsupport::AnswerWith("\x5A"));
  functions::SendDollarCommand(Chr(3));
  Clock().RunFor(300 * kMs);
  EXPECT_TRUE(functions::ReplyArrived());
  EXPECT_EQ(Lines().back(), "<< 5A");
  EXPECT_EQ(functions::TakeReply(), "\x5A");
  EXPECT_TRUE(functions::ReplyArrived()) << "taking the text leaves the flag";
  EXPECT_EQ(functions::TakeReply(), "");
}

}  // namespace
