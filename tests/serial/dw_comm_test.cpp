// The serial-port object on a simulated line; the poll ticks are driven by hand, so that each
// test says when the object looks at its operations.

#include "serial/dw_comm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "platform/app_error.h"
#include "serial/comm_api.h"
#include "serial/module_link.h"
#include "support/message_box_recorder.h"
#include "support/virtual_port.h"

namespace {

using testing::ElementsAre;
using testsupport::RecordingWindow;

const char kNotify = 0;  // any object will do: the serial object only tests that it is set

// COM1 open on a simulated line, its received text going to `text_`.
class DwCommTest : public testsupport::VirtualPortTest {
 protected:
  void SetUp() override {
    VirtualPortTest::SetUp();
    comm_.OpenComm("COM1", &kNotify);
    comm_.manigl(text_.Handle());
  }
  void Tick(int ticks) {
    for (int i = 0; i < ticks; ++i) {
      Clock().Advance(70'000);
      comm_.PollWrite();
      comm_.PollRead();
      comm_.PollEvent();
    }
  }
  // `bytes` from the far end, and the three ticks that take them in.
  void Deliver(const std::string& bytes) {
    Line().SendToProgram(bytes, Now());
    Tick(3);
  }
  std::vector<std::string> Written() { return testsupport::Written(FramesOn(comm_.handle())); }
  serial::SimulatedLine& Line() { return *serial::SimulatedLineOf(comm_.handle()); }

  RecordingWindow text_;
  dwComm comm_;
};

TEST_F(DwCommTest, AWriteTakesAtMost1024BytesAndTheRestGoesOutWithTheNextOutput) {
  std::string text;
  for (int i = 0; i < 1500; ++i)
    text.push_back(static_cast<char>('a' + i % 26));
  EXPECT_EQ(comm_.CommOutput(text), -1);
  EXPECT_EQ(comm_.CommOutput("CD"), -1);  // a write is outstanding: only queued
  Tick(30);                               // 1024 bytes take about 1.07 s at 9600 baud
  EXPECT_THAT(Written(), ElementsAre(text.substr(0, 1024)));
  EXPECT_EQ(comm_.PendingOutput(), text.substr(1024) + "CD") << "only CommOutput starts a write";

  EXPECT_EQ(comm_.CommOutput(""), -1);
  Tick(15);
  EXPECT_THAT(Written(), ElementsAre(text.substr(0, 1024), text.substr(1024) + "CD"));
  EXPECT_EQ(comm_.CommOutput(""), -1) << "empty text, empty queue";
  Tick(2);
  EXPECT_EQ(Written().size(), 2u);
}

TEST_F(DwCommTest, OpeningClosesTheOpenDeviceFirstAndOneNeverOpenedRaisesNotOpen) {
  const auto first = comm_.handle();
  functions::ReplyArrivedFlag = true;
  comm_.OpenComm("COM1", &kNotify);
  EXPECT_FALSE(functions::ReplyArrivedFlag) << "opening clears the reply flag";
  EXPECT_EQ(serial::SimulatedLineOf(first), nullptr) << "the first device was closed";
  const auto second = comm_.handle();
  EXPECT_EQ(comm_.CloseComm(), 0);
  EXPECT_EQ(serial::SimulatedLineOf(second), nullptr);
  EXPECT_EQ(comm_.CloseComm(), 0);
  EXPECT_EQ(comm_.SetCommTimeouts(), 0);

  dwComm closed;
  for (const std::function<void()>& call : std::vector<std::function<void()>>{
           [&] { closed.CommOutput("x"); }, [&] { closed.GetCommState(); },
           [&] { closed.SetCommState(); }, [&] { closed.PollRead(); },
           [&] { closed.PollEvent(); }}) {
    try {
      call();
      ADD_FAILURE() << "no error raised";
    } catch (const platform::AppError& error) {
      EXPECT_EQ(error.Number(), 0x80047923u);
      EXPECT_EQ(error.Source() + ": " + error.Description(),
                "dwComm: Communication Device is not open");
    }
  }
}

TEST_F(DwCommTest, ReceivedBlocksGoToTheTwoWindows) {
  RecordingWindow firstByte;
  comm_.manigl2(firstByte.Handle());
  Deliver(std::string("\x07Hi"));
  EXPECT_EQ(firstByte.Text(), "7");
  EXPECT_EQ(text_.Text(), "Hi");
  EXPECT_TRUE(functions::ReplyArrivedFlag);
  EXPECT_EQ(comm_.EL_D(), "\x07Hi");
  EXPECT_EQ(comm_.EL_D(), "") << "taking the text empties it";

  Deliver("A");
  EXPECT_EQ(firstByte.Text(), "65");
  EXPECT_EQ(text_.Text(), "");

  comm_.manigl2(0);
  Deliver(std::string("\x07Hi"));
  EXPECT_EQ(text_.Text(), "\x07Hi");

  comm_.manigl2(firstByte.Handle());
  functions::ReplyArrivedFlag = false;
  Deliver(std::string("\0Z", 2));
  EXPECT_EQ(text_.Text(), "");
  EXPECT_EQ(firstByte.Text(), "");
  EXPECT_TRUE(functions::ReplyArrivedFlag) << "a block starting with 0 still counts";
  EXPECT_EQ(comm_.EL_D(), std::string("\0\0", 2)) << "a zero byte cuts the text";
  Deliver(std::string("A\0B", 3));
  EXPECT_EQ(comm_.EL_D(), std::string("A\0\0", 3)) << "zeros from the first zero byte on";

  // Reads that bring nothing leave the reply flag as it was.
  for (const bool flag : {false, true}) {
    functions::ReplyArrivedFlag = flag;
    Tick(3);
    EXPECT_EQ(functions::ReplyArrivedFlag, flag);
  }
  Deliver("first");
  Deliver("second");
  EXPECT_EQ(comm_.EL_D(), "second") << "the last delivery replaces the one before";
}

// An input queue of four bytes drops the rest of a burst; with one size alone given, the
// default sizes stand for both.
TEST_F(DwCommTest, QueueSizesAreSetOnlyWhenBothAreGiven) {
  testsupport::MessageBoxRecorder boxes;
  for (const auto& [out, kept] : {std::pair<std::optional<std::int32_t>, std::string>{1024, "0123"},
                                  {std::nullopt, "0123456789"}}) {
    comm_.OpenComm("COM1", &kNotify, 4, out);
    Line().SendToProgram("0123456789", Now());
    const auto before = text_.Texts().size();
    Tick(3);
    std::string delivered;
    for (auto piece = text_.Texts().begin() + static_cast<std::ptrdiff_t>(before);
         piece != text_.Texts().end(); ++piece)
      delivered += *piece;
    EXPECT_EQ(delivered, kept);
  }
}

TEST_F(DwCommTest, EveryPollTickDropsRtsEvenWithNoWriteOutstanding) {
  win32::EscapeCommFunction(comm_.handle(), win32::SETRTS);
  comm_.PollWrite();
  EXPECT_FALSE(Line().Rts());
}

}  // namespace
