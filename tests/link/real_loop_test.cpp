// The link on the real event loop: poll ticks keep delivering reads while a line-error box,
// a modal loop, is open; the RTS lead of keyed commands on the real clock.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <cstdlib>

#include "link/functions.h"
#include "platform/real_event_service.h"
#include "support/line_transcript.h"
#include "support/message_box_recorder.h"
#include "support/scripted_peer.h"
#include "support/virtual_port.h"

namespace {

class RealLoopTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::InstallEventService(std::make_unique<platform::RealEventService>());
    setenv("TALVORA_COM1", "sim", 1);
    testsupport::UseScriptedPeers();
  }
  void TearDown() override { serial::SetSimulatedPeerFactory({}); }
  // Runs the event loop for `ms` on the real clock.
  static void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }
};

TEST_F(RealLoopTest, ReadsAreDeliveredWhileALineErrorBoxIsOpen) {
  testsupport::RecordingWindow received;
  testsupport::MessageBoxRecorder boxes;
  std::string seenWhileOpen;
  boxes.WhileOpen([&](const testsupport::MessageBoxRecorder::Box&) {
    auto* line = serial::SimulatedLineOf(functions::serial->handle());
    line->SendToProgram("during", platform::Events().NowMicros());
    RunFor(600);  // a modal loop, as the box runs
    seenWhileOpen = received.Text();
  });

  functions::OpenSerial("COM1");
  functions::SetTextWindow(received.Handle());
  auto* line = serial::SimulatedLineOf(functions::serial->handle());
  line->InjectLineError(win32::CE_FRAME, platform::Events().NowMicros() + 100'000);
  RunFor(1500);
  functions::CloseSerial();

  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "Frame Error");
  EXPECT_EQ(seenWhileOpen, "during");
}

// On the real clock the lead is never short: the module needs it to wake before the frame.
TEST_F(RealLoopTest, TheRtsLeadOfAKeyedCommandIsNeverShort) {
  const struct Row {
    char command;
    platform::Micros lead;
  } rows[] = {{'#', 10'000}, {'$', 20'000}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    functions::OpenSerial("COM1");
    auto* line = serial::SimulatedLineOf(functions::serial->handle());
    for (int i = 0; i < 5; ++i) {
      const std::size_t raisedBefore = line->RtsLog().size();
      const std::size_t bytesBefore = line->Transcript().size();
      if (row.command == '#') {
        functions::SendHashCommand("3", "\x05");
      } else {
        functions::SendDollarCommand("3");
      }
      RunFor(100);  // the frame crosses, the next tick drops RTS
      const std::vector<serial::RtsChange>& log = line->RtsLog();
      ASSERT_GT(log.size(), raisedBefore);
      ASSERT_TRUE(log[raisedBefore].raised);
      const std::vector<serial::LineByte> bytes = line->Transcript();
      ASSERT_GT(bytes.size(), bytesBefore);
      EXPECT_EQ(bytes[bytesBefore].direction, serial::LineByte::Direction::FromProgram);
      EXPECT_EQ(bytes[bytesBefore].value, static_cast<std::uint8_t>(row.command));
      EXPECT_GE(bytes[bytesBefore].at - log[raisedBefore].at, row.lead);
    }
    functions::CloseSerial();
  }
}

}  // namespace
