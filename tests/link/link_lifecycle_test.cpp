// Opening, configuring and closing the link, and what the poll timer does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "link/functions.h"
#include "support/message_box_recorder.h"
#include "support/virtual_port.h"

namespace {

using testing::ElementsAre;
using testsupport::kMs;

class LinkLifecycleTest : public testsupport::VirtualPortTest {
 protected:
  void TearDown() override {
    functions::CloseSerial();
    VirtualPortTest::TearDown();
  }
};

TEST_F(LinkLifecycleTest, OpenSerialConfiguresTheRadioLineAndStartsThePollTimer) {
  functions::OpenSerial("COM1");
  EXPECT_NE(functions::lngTimerID, 0);
  EXPECT_EQ(Clock().TimerCount(), 1u);
  const win32::DCB& settings = win32::SimulatedLineOf(functions::serial->handle())->Settings();
  EXPECT_EQ(settings.BaudRate, 9600u);
  EXPECT_EQ(settings.ByteSize, 8);
  EXPECT_EQ(settings.Parity, 0);
  EXPECT_EQ(settings.StopBits, 0);
  EXPECT_EQ(settings.Flags, 0u) << "no parity check, no flow control, DTR off, RTS by hand";
  EXPECT_EQ(settings.XonLim, 100);
  EXPECT_EQ(settings.XoffLim, 1948);
}

TEST_F(LinkLifecycleTest, ReopeningTheSameNameKeepsTheDeviceAnotherNameReplacesIt) {
  setenv("TALVORA_COM2", "sim", 1);
  functions::OpenSerial("COM1");
  const auto first = functions::serial->handle();
  functions::OpenSerial("COM1");
  EXPECT_EQ(functions::serial->handle(), first);

  functions::OpenSerial("COM2");
  EXPECT_NE(functions::serial->handle(), first);
  EXPECT_EQ(win32::SimulatedLineOf(first), nullptr) << "the old device was closed";
  EXPECT_EQ(functions::serial->devicename(), "COM2");
}

TEST_F(LinkLifecycleTest, CloseSerialReleasesThePortAndStopsTheTimer) {
  functions::OpenSerial("COM1");
  const auto handle = functions::serial->handle();
  functions::CloseSerial();
  EXPECT_EQ(functions::serial, nullptr);
  EXPECT_EQ(functions::lngTimerID, 0);
  EXPECT_EQ(Clock().TimerCount(), 0u);
  EXPECT_EQ(win32::SimulatedLineOf(handle), nullptr);
  functions::PollTimerProc(0, 0, 0, 0);  // a tick with no serial object does nothing
  functions::OpenSerial("COM1");
  EXPECT_NE(functions::serial, nullptr) << "a later open starts again from the beginning";
}

TEST_F(LinkLifecycleTest, LineErrorsShowInOrderAndPollingGoesOnWhileABoxIsOpen) {
  testsupport::MessageBoxRecorder boxes;
  testsupport::RecordingWindow received;
  std::vector<std::string> receivedWhileOpen;
  boxes.WhileOpen([&](const testsupport::MessageBoxRecorder::Box&) {
    // The operator reads the box for a second; meanwhile data arrives and more errors occur.
    auto* line = win32::SimulatedLineOf(functions::serial->handle());
    line->SendToProgram("hello", Now());
    if (boxes.Boxes().size() == 1) line->InjectLineError(win32::CE_BREAK, Now() + 100 * kMs);
    Clock().RunFor(1000 * kMs);
    receivedWhileOpen.push_back(received.Text());
  });
  functions::OpenSerial("COM1");
  functions::SetTextWindow(received.Handle());
  auto* line = win32::SimulatedLineOf(functions::serial->handle());
  line->InjectLineError(win32::CE_FRAME | win32::CE_OVERRUN, Now() + 100 * kMs);
  Clock().RunFor(300 * kMs);

  EXPECT_THAT(boxes.Texts(), ElementsAre("Receive Overrun Error", "Frame Error", "Break Detected"));
  EXPECT_EQ(boxes.MostOpenAtOnce(), 1) << "one box at a time, the others wait their turn";
  ASSERT_FALSE(receivedWhileOpen.empty());
  EXPECT_EQ(receivedWhileOpen.front(), "hello") << "reads were delivered while the box was open";
}

}  // namespace
