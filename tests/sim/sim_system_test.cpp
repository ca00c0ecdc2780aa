// Rules of the simulated radio system as a whole: packet loss, determinism, routing without
// RTS, line errors, and how it is reached through the device "sim".

#include <gtest/gtest.h>

#include "radio_on_line.h"
#include "sim/frame_log.h"
#include "sim/simulated_system.h"

namespace {

using namespace simtest;

// Sends the link test's packet every 100 ms; which of them got an answer.
std::vector<bool> LinkTestAnswers(const std::string& options, int packets,
                                  sim::FrameLog* log = nullptr) {
  RadioOnLine sim(options);
  std::vector<bool> answered;
  for (int i = 0; i < packets; ++i) {
    const Micros sent = sim.Send(Bytes({'$', 0}), false);
    sim.RunFor(100 * kMs - 2 * kByte);
    answered.push_back(!sim.TextSince(sent).empty());
  }
  if (log != nullptr) *log = sim.Radio().Log();
  return answered;
}

TEST(SimPacketLoss, ASeedLosesTheSameFramesOnEveryRunAndAboutTheRateOfThem) {
  sim::FrameLog log;
  const auto first = LinkTestAnswers("radio=10,loss=0.3,seed=42", 400, &log);
  const auto second = LinkTestAnswers("radio=10,loss=0.3,seed=42", 400);
  EXPECT_EQ(first, second);
  EXPECT_NE(first, LinkTestAnswers("radio=10,loss=0.3,seed=43", 400));

  // Either way across the air, each frame is lost on its own.
  const auto sentOnAir = static_cast<double>(log.Where(sim::Route::HostToAir).size() +
                                             log.Where(sim::Route::RemoteToAir).size());
  const auto lost = static_cast<double>(log.Where(sim::Route::LostOnAir).size());
  EXPECT_NEAR(lost / sentOnAir, 0.3, 0.05);
  EXPECT_EQ(std::count(first.begin(), first.end(), false),
            static_cast<long>(log.Where(sim::Route::LostOnAir).size()))
      << "a packet is unanswered exactly when its request or its answer was lost";
}

// Everything that happens, both ways on the line and in the frame log.
std::string RecordRun(Micros step) {
  RadioOnLine sim("host=0,remotes=1+2,radio=7,host-delay=1.5,loss=0.5,seed=9");
  const Micros start = sim.Now();
  for (int i = 0; i < 6; ++i) {
    sim.Send(Bytes({'$', 0}), true);
    sim.RunFor(3 * kMs, step);
    sim.Send(Bytes({'$', i % 2}), false);
    sim.Send(Bytes({1, 'o', 'k'}), false);
    sim.RunFor(5 * kMs, step);
    sim.Send(Bytes({2, 'n', 'o'}), false);
    sim.RunFor(40 * kMs, step);
  }
  std::string text = sim.Radio().Log().Text();
  for (const win32::LineByte& byte : sim.Line().Transcript()) {
    text += std::to_string(byte.at - start) +
            (byte.direction == win32::LineByte::Direction::ToProgram ? " << " : " >> ") +
            sim::ToHex(std::string(1, static_cast<char>(byte.value))) + "\n";
  }
  return text;
}

TEST(SimRadioSystem, ARunIsTheSameHoweverOftenTheLineIsLookedAt) {
  const std::string seldom = RecordRun(0);
  EXPECT_NE(seldom.find("remote 2->air"), std::string::npos) << seldom;
  EXPECT_EQ(RecordRun(100), seldom);
  EXPECT_EQ(RecordRun(kByte), seldom);
}

TEST(SimRadioSystem, InjectsTheConfiguredLineErrorsFromTheMomentTheLineOpens) {
  auto& clock = platform::UseVirtualTime();
  sim::RegisterSimulatedSystem();
  clock.Advance(5 * kMs);
  win32::OpenFailure failure;
  auto device = win32::OpenSimulatedLine("error=frame+parity@100/50,error=break@120", failure);
  ASSERT_TRUE(device) << failure.reason;

  const auto errorsAt = [&](Micros sinceOpen) {
    clock.Advance(5 * kMs + sinceOpen - clock.NowMicros());
    device->Advance(clock.NowMicros());
    return device->TakeLineErrors();
  };
  EXPECT_EQ(errorsAt(99 * kMs), 0u);
  EXPECT_EQ(errorsAt(100 * kMs), win32::CE_FRAME | win32::CE_RXPARITY);
  EXPECT_EQ(errorsAt(140 * kMs), win32::CE_BREAK);
  EXPECT_EQ(errorsAt(149 * kMs), 0u);
  EXPECT_EQ(errorsAt(300 * kMs), win32::CE_FRAME | win32::CE_RXPARITY) << "every 50 ms";

  auto* radio = sim::RadioSystemOf(dynamic_cast<win32::SimulatedLine*>(device.get()));
  ASSERT_NE(radio, nullptr);
  const auto logged = radio->Log().Where(sim::Route::LineError);
  ASSERT_EQ(logged.size(), 6u);  // 100, 120, 150, 200, 250, 300 ms
  EXPECT_EQ(sim::FormatRecord(logged[1], radio->Log().Origin()),
            "    0.120000  line error         break");
}

}  // namespace
