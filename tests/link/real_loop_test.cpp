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

TEST(RealLoopTest, ReadsAreDeliveredWhileALineErrorBoxIsOpen) {
  platform::InstallEventService(std::make_unique<platform::RealEventService>());
  setenv("TALVORA_COM1", "sim", 1);
  testsupport::UseScriptedPeers();
  testsupport::RecordingWindow received;
  testsupport::MessageBoxRecorder boxes;
  std::string seenWhileOpen;
  boxes.WhileOpen([&](const testsupport::MessageBoxRecorder::Box&) {
    auto* line = win32::SimulatedLineOf(functions::serial->handle());
    line->SendToProgram("during", platform::Events().NowMicros());
    QEventLoop modal;
    QTimer::singleShot(600, &modal, &QEventLoop::quit);
    modal.exec();
    seenWhileOpen = received.Text();
  });

  functions::OpenSerial("COM1");
  functions::SetTextWindow(received.Handle());
  auto* line = win32::SimulatedLineOf(functions::serial->handle());
  line->InjectLineError(win32::CE_FRAME, platform::Events().NowMicros() + 100'000);
  QEventLoop wait;
  QTimer::singleShot(1500, &wait, &QEventLoop::quit);
  wait.exec();
  functions::CloseSerial();
  win32::SetSimulatedPeerFactory({});

  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "Frame Error");
  EXPECT_EQ(seenWhileOpen, "during");
}

// On the real clock the lead is never short: the module needs it to wake before the frame.
TEST(RealLoopTest, TheRtsLeadOfAKeyedCommandIsNeverShort) {
  platform::InstallEventService(std::make_unique<platform::RealEventService>());
  setenv("TALVORA_COM1", "sim", 1);
  testsupport::UseScriptedPeers();
  const struct Row {
    char command;
    platform::Micros lead;
  } rows[] = {{'#', 10'000}, {'$', 20'000}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    functions::OpenSerial("COM1");
    auto* line = win32::SimulatedLineOf(functions::serial->handle());
    for (int i = 0; i < 5; ++i) {
      const std::size_t raisedBefore = line->RtsLog().size();
      const std::size_t bytesBefore = line->Transcript().size();
      if (row.command == '#') {
        functions::SendHashCommand("3", "\x05");
      } else {
        functions::SendDollarCommand("3");
      }
      QEventLoop settle;  // the frame crosses, the next tick drops RTS
      QTimer::singleShot(100, &settle, &QEventLoop::quit);
      settle.exec();
      const std::vector<win32::RtsChange>& log = line->RtsLog();
      ASSERT_GT(log.size(), raisedBefore);
      ASSERT_TRUE(log[raisedBefore].raised);
      const std::vector<win32::LineByte> bytes = line->Transcript();
      ASSERT_GT(bytes.size(), bytesBefore);
      EXPECT_EQ(bytes[bytesBefore].direction, win32::LineByte::Direction::FromProgram);
      EXPECT_EQ(bytes[bytesBefore].value, static_cast<std::uint8_t>(row.command));
      EXPECT_GE(bytes[bytesBefore].at - log[raisedBefore].at, row.lead);
    }
    functions::CloseSerial();
  }
  win32::SetSimulatedPeerFactory({});
}

}  // namespace
