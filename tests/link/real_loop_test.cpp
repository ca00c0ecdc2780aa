// The link on the real event loop: poll ticks keep delivering reads while a line-error box,
// a modal loop, is open.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <cstdlib>

#include "link/functions.h"
#include "platform/real_event_service.h"
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

}  // namespace
