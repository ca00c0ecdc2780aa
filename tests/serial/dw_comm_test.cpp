// The serial-port object through a simulated line, in virtual time. The poll ticks are driven
// by hand here, so each test says exactly when the object looks at its operations.

#include "serial/dw_comm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/app_error.h"
#include "serial/comm_api.h"
#include "serial/module_link.h"
#include "support/message_box_recorder.h"
#include "support/virtual_port.h"

namespace {

using testing::ElementsAre;
using testsupport::RecordingWindow;

constexpr platform::Micros kTick = 70'000;
const char kNotify = 0;  // any object will do: the serial object only tests that it is set

class DwCommTest : public testsupport::VirtualPortTest {
 protected:
  void Tick(dwComm& comm, int ticks = 1) {
    for (int i = 0; i < ticks; ++i) {
      Clock().Advance(kTick);
      comm.PollWrite();
      comm.PollRead();
      comm.PollEvent();
    }
  }
  std::vector<std::string> Written(dwComm& comm) {
    return testsupport::Written(FramesOn(comm.handle()));
  }
  win32::SimulatedLine& Line(dwComm& comm) { return *win32::SimulatedLineOf(comm.handle()); }
};

TEST_F(DwCommTest, LongTextGoesOutInChunksOf1024AndTheRestWaitsForTheNextOutput) {
  dwComm comm;
  comm.OpenComm("COM1", &kNotify);
  std::string text;
  for (int i = 0; i < 1500; ++i)
    text.push_back(static_cast<char>('a' + i % 26));

  EXPECT_EQ(comm.CommOutput(text), -1);
  EXPECT_EQ(comm.PendingOutput().size(), 476u);
  Tick(comm, 30);  // 1024 bytes take about 1.07 s at 9600 baud
  ASSERT_EQ(Written(comm).size(), 1u);
  EXPECT_EQ(Written(comm)[0], text.substr(0, 1024));
  EXPECT_EQ(comm.PendingOutput().size(), 476u) << "nothing but CommOutput starts a write";

  EXPECT_EQ(comm.CommOutput(""), -1);  // an empty text still pushes the queue
  Tick(comm, 15);
  std::string all;
  for (const auto& frame : Written(comm))
    all += frame;
  EXPECT_EQ(all, text);
  EXPECT_TRUE(comm.PendingOutput().empty());
}

TEST_F(DwCommTest, OutputWhileAWriteIsOutstandingIsOnlyQueued) {
  dwComm comm;
  comm.OpenComm("COM1", &kNotify);
  EXPECT_EQ(comm.CommOutput("AB"), -1);
  EXPECT_EQ(comm.CommOutput("CD"), -1);
  EXPECT_EQ(comm.PendingOutput(), "CD");
  Tick(comm, 2);
  EXPECT_THAT(Written(comm), ElementsAre("AB"));

  EXPECT_EQ(comm.CommOutput(""), -1);
  Tick(comm, 2);
  EXPECT_THAT(Written(comm), ElementsAre("AB", "CD"));

  EXPECT_EQ(comm.CommOutput(""), -1) << "empty text, empty queue";
  Tick(comm, 2);
  EXPECT_EQ(Written(comm).size(), 2u);
}

TEST_F(DwCommTest, OpeningClosesTheOpenDeviceFirstAndClosingIsIdempotent) {
  dwComm comm;
  functions::ReplyArrivedFlag = true;
  EXPECT_EQ(comm.OpenComm("COM1", &kNotify), 0);
  EXPECT_FALSE(functions::ReplyArrivedFlag) << "opening clears the reply flag";
  const auto first = comm.handle();
  EXPECT_NE(first, 0);
  EXPECT_EQ(comm.devicename(), "COM1");

  comm.OpenComm("COM1", &kNotify);
  EXPECT_NE(comm.handle(), first);
  EXPECT_EQ(win32::SimulatedLineOf(first), nullptr) << "the first device was closed";

  win32::SimulatedLine& line = Line(comm);
  win32::EscapeCommFunction(comm.handle(), win32::SETRTS);
  EXPECT_TRUE(line.Rts());
  const auto second = comm.handle();
  EXPECT_EQ(comm.CloseComm(), 0);
  EXPECT_EQ(comm.handle(), 0);
  EXPECT_EQ(win32::SimulatedLineOf(second), nullptr);
  EXPECT_EQ(comm.CloseComm(), 0);
  EXPECT_EQ(comm.devicename(), "COM1");
}

TEST_F(DwCommTest, TimeoutsReachTheDeviceOnlyOnRequest) {
  dwComm comm;
  comm.OpenComm("COM1", &kNotify);
  comm.GetCommTimeouts();
  EXPECT_EQ(comm.ReadIntervalTimeout(), 1);
  EXPECT_EQ(comm.ReadTotalTimeoutConstant(), 10);
  EXPECT_EQ(comm.WriteTotalTimeoutMultiplier(), 1);

  comm.ReadTotalTimeoutConstant(50);
  win32::COMMTIMEOUTS onDevice{};
  win32::GetCommTimeouts(comm.handle(), &onDevice);
  EXPECT_EQ(onDevice.ReadTotalTimeoutConstant, 10u) << "a setter alone does not touch the device";
  EXPECT_EQ(comm.SetCommTimeouts(), -1);
  win32::GetCommTimeouts(comm.handle(), &onDevice);
  EXPECT_EQ(onDevice.ReadTotalTimeoutConstant, 50u);

  comm.CloseComm();
  EXPECT_EQ(comm.SetCommTimeouts(), 0);
}

TEST_F(DwCommTest, RaisesItsErrorsForAClosedOrUnopenableDevice) {
  dwComm comm;
  const auto expectError = [](auto&& call, std::uint32_t number, const std::string& text) {
    try {
      call();
      ADD_FAILURE() << "no error raised";
    } catch (const platform::AppError& error) {
      EXPECT_EQ(error.Number(), number);
      EXPECT_EQ(error.Source(), "dwComm");
      EXPECT_EQ(error.Description(), text);
    }
  };
  const std::string notOpen = "Communication Device is not open";
  expectError([&] { comm.CommOutput("x"); }, 0x80047923u, notOpen);
  expectError([&] { comm.GetCommState(); }, 0x80047923u, notOpen);
  expectError([&] { comm.SetCommState(); }, 0x80047923u, notOpen);
  expectError([&] { comm.PollRead(); }, 0x80047923u, notOpen);
  expectError([&] { comm.PollEvent(); }, 0x80047923u, notOpen);

  setenv("TALVORA_COM2", "/nonexistent/talvora-tty", 1);
  try {
    comm.OpenComm("COM2", &kNotify);
    ADD_FAILURE() << "no error raised";
  } catch (const platform::AppError& error) {
    EXPECT_EQ(error.Number(), 0x80047922u);
    EXPECT_EQ(error.Description(), "Unable to open communications device");
    EXPECT_NE(error.Detail().find("/nonexistent/talvora-tty"), std::string::npos) << error.Detail();
  }
  EXPECT_EQ(comm.handle(), -1);
  EXPECT_EQ(comm.devicename(), "COM2");
}

TEST_F(DwCommTest, ReceivedBlocksGoToTheTwoWindows) {
  RecordingWindow text;
  RecordingWindow firstByte;
  dwComm comm;
  comm.OpenComm("COM1", &kNotify);
  comm.manigl(text.Handle());
  comm.manigl2(firstByte.Handle());

  Line(comm).SendToProgram(std::string("\x07Hi"), Now());
  Tick(comm, 3);
  EXPECT_EQ(firstByte.Text(), "7");
  EXPECT_EQ(text.Text(), "Hi");
  EXPECT_TRUE(functions::ReplyArrivedFlag);
  EXPECT_EQ(comm.EL_D(), "\x07Hi");
  EXPECT_EQ(comm.EL_D(), "") << "taking the text empties it";

  Line(comm).SendToProgram("A", Now());
  Tick(comm, 3);
  EXPECT_EQ(firstByte.Text(), "65");
  EXPECT_EQ(text.Text(), "");

  comm.manigl2(0);
  Line(comm).SendToProgram(std::string("\x07Hi"), Now());
  Tick(comm, 3);
  EXPECT_EQ(text.Text(), "\x07Hi");

  comm.manigl2(firstByte.Handle());
  functions::ReplyArrivedFlag = false;
  Line(comm).SendToProgram(std::string("\0Z", 2), Now());
  Tick(comm, 3);
  EXPECT_EQ(text.Text(), "");
  EXPECT_EQ(firstByte.Text(), "");
  EXPECT_TRUE(functions::ReplyArrivedFlag) << "a block starting with 0 still counts";
  EXPECT_EQ(comm.EL_D(), std::string("\0\0", 2)) << "a zero byte cuts the text";
  Line(comm).SendToProgram(std::string("A\0B", 3), Now());
  Tick(comm, 3);
  EXPECT_EQ(comm.EL_D(), std::string("A\0\0", 3)) << "zeros from the first zero byte on";

  // Reads that bring nothing leave the reply flag as it was.
  for (const bool flag : {false, true}) {
    functions::ReplyArrivedFlag = flag;
    Tick(comm, 3);
    EXPECT_EQ(functions::ReplyArrivedFlag, flag);
  }

  Line(comm).SendToProgram("first", Now());
  Tick(comm, 3);
  Line(comm).SendToProgram("second", Now());
  Tick(comm, 3);
  EXPECT_EQ(comm.EL_D(), "second") << "the last delivery replaces the one before";
}

TEST_F(DwCommTest, WithoutANotifyObjectReceivedDataAndLineErrorsAreDropped) {
  testsupport::MessageBoxRecorder boxes;
  RecordingWindow text;
  dwComm comm;
  comm.OpenComm("COM1", nullptr);
  comm.manigl(text.Handle());
  functions::ReplyArrivedFlag = false;
  Line(comm).SendToProgram("data", Now());
  Line(comm).InjectLineError(win32::CE_FRAME, Now() + 1000);
  Tick(comm, 4);
  EXPECT_FALSE(functions::ReplyArrivedFlag);
  EXPECT_TRUE(text.Texts().empty());
  EXPECT_EQ(comm.aaaa(), "");
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(DwCommTest, ALineErrorShowsOneBoxPerFlagInTableOrder) {
  testsupport::MessageBoxRecorder boxes;
  dwComm comm;
  comm.OpenComm("COM1", &kNotify);
  Tick(comm);
  Line(comm).InjectLineError(
      win32::CE_TXFULL | win32::CE_FRAME | win32::CE_OVERRUN | win32::CE_RXOVER, Now() + 1000);
  Tick(comm, 2);
  EXPECT_THAT(boxes.Texts(), ElementsAre("Receive Queue Full Error", "Receive Overrun Error",
                                         "Frame Error", "Transmit Queue Full"));
  for (const auto& box : boxes.Boxes()) {
    EXPECT_EQ(box.caption, "Errore");
    EXPECT_EQ(box.style, 17u);
  }

  Line(comm).InjectLineError(win32::CE_BREAK | win32::CE_RXPARITY, Now() + 1000);
  Tick(comm, 2);
  ASSERT_EQ(boxes.Texts().size(), 6u) << "the event wait was started again";
  EXPECT_EQ(boxes.Texts()[4], "Receive Parity Error");
  EXPECT_EQ(boxes.Texts()[5], "Break Detected");
}

TEST_F(DwCommTest, AReadTakesABurstAndLeavesLaterBytesForTheNextRead) {
  RecordingWindow text;
  dwComm comm;
  comm.OpenComm("COM1", &kNotify);  // the first read starts here
  comm.manigl(text.Handle());
  const platform::Micros start = Now();
  // A burst of three bytes inside the read's first 10 ms, then one byte after it.
  Line(comm).SendToProgram("XYZ", start + 1000);
  Line(comm).SendToProgram("W", start + 12'000);
  Tick(comm, 4);
  EXPECT_THAT(text.Texts(), ElementsAre("XYZ", "W"));
}

// An input queue of four bytes drops the rest of a burst; with one size alone given, the
// default sizes stand for both.
TEST_F(DwCommTest, QueueSizesAreSetOnlyWhenBothAreGiven) {
  testsupport::MessageBoxRecorder boxes;
  const std::pair<std::optional<std::int32_t>, const char*> rows[] = {{1024, "0123"},
                                                                      {std::nullopt, "0123456789"}};
  for (const auto& [out, kept] : rows) {
    RecordingWindow text;
    dwComm comm;
    comm.OpenComm("COM1", &kNotify, 4, out);
    comm.manigl(text.Handle());
    Line(comm).SendToProgram("0123456789", Now());
    Tick(comm, 3);
    std::string delivered;
    for (const std::string& piece : text.Texts())
      delivered += piece;
    EXPECT_EQ(delivered, kept);
  }
}

TEST_F(DwCommTest, EveryPollTickDropsRtsEvenWithNoWriteOutstanding) {
  dwComm comm;
  comm.OpenComm("COM1", &kNotify);
  win32::EscapeCommFunction(comm.handle(), win32::SETRTS);
  comm.PollWrite();
  EXPECT_FALSE(Line(comm).Rts());
}

}  // namespace
