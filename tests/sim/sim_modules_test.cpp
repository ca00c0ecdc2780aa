// The host module and the remote modules as the program sees them through the serial line.

#include <gtest/gtest.h>
#include <signal.h>

#include "radio_on_line.h"
#include "sim/frame_log.h"
#include "sim/swap_signal.h"

namespace {

using namespace simtest;

// Reads register `n` keyed and returns the answer, or -1 when none came within 50 ms.
int ReadKeyed(RadioOnLine& sim, int n) {
  const auto sent = sim.Send(Bytes({'$', n}), /*keyed=*/true);
  sim.RunFor(50 * kMs);
  const auto answers = sim.ReceivedSince(sent);
  return answers.empty() ? -1 : answers.front().value;
}

TEST(SimHostModule, AnswersKeyedReadsWithItsRegistersAfterTheHostDelayAtLineRate) {
  RadioOnLine sim("host=7,host-delay=3");
  // Two reads back to back in one write: each is answered as soon as it is complete.
  const Micros sent = sim.Send(Bytes({'$', 0, '$', 31}), /*keyed=*/true);
  sim.RunFor(50 * kMs);

  const auto answers = sim.ReceivedSince(sent);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].value, 7) << "register 0 holds the module's address";
  EXPECT_EQ(answers[0].at, sent + 2 * kByte + 3 * kMs);
  EXPECT_EQ(answers[1].value, 0x12) << "register 31 holds the firmware release";
  EXPECT_EQ(answers[1].at, sent + 4 * kByte + 3 * kMs);
  // A keyed command never reaches the air.
  EXPECT_TRUE(sim.Radio().Log().Where(sim::Route::HostToAir).empty());
}

// The frame ends after a gap of idle line (its two bytes and three byte times: 5210 us), crosses
// the air, and the remote's answer crosses back.
TEST(SimAir, RemoteAnswersPlainReadAfterTwoRadioCrossings) {
  RadioOnLine sim("host=0,remotes=5,radio=30");
  const Micros sent = sim.Send(Bytes({'$', 0}), false);
  sim.RunFor(200 * kMs);
  EXPECT_EQ(sim.TextSince(sent), Bytes({5})) << "the remote's own address, not the host's";
  std::vector<std::string> routes;
  for (const sim::FrameRecord& record : sim.Radio().Log().Records()) {
    routes.push_back(std::to_string(record.at - sent) + " " + sim::RouteName(record) + " " +
                     sim::ToHex(record.bytes));
  }
  EXPECT_EQ(routes, (std::vector<std::string>{"5210 program->host 24 00", "5210 host->air 24 00",
                                              "35210 air->remote 5 24 00", "35210 remote 5->air 05",
                                              "65210 host->program 05"}));
  EXPECT_EQ(sim.ReceivedSince(sent).at(0).at, sent + 65210);
}

TEST(SimAir, RemoteEchoesOnlyBlocksAddressedToIt) {
  RadioOnLine sim("host=0,remotes=3+5,radio=10");
  // Written in two parts less than a frame gap apart: one block on the air.
  const Micros start = sim.Now();
  sim.Send(Bytes({5, 'H', 'i'}), false);
  sim.RunFor(kByte);
  sim.Send("!!", false);
  sim.RunFor(100 * kMs);
  EXPECT_EQ(sim.TextSince(start), Bytes({5, 'H', 'i', '!', '!'}));
  EXPECT_EQ(sim.Radio().Log().Where(sim::Route::AirToRemote).size(), 2u) << "both remotes hear it";
  ASSERT_EQ(sim.Radio().Log().Where(sim::Route::RemoteToAir).size(), 1u);
  EXPECT_EQ(sim.Radio().Log().Where(sim::Route::RemoteToAir)[0].remote, 5);
}

// Only a frame of exactly three bytes beginning with "#" writes a register: four such bytes are
// a text block, which the module whose address is "#" echoes.
TEST(SimAir, AFourByteBlockBeginningWithAHashIsNoRegisterWrite) {
  RadioOnLine sim("host=0,remotes=5+35,radio=10");
  const Micros sent = sim.Send(Bytes({'#', 1, 7, 9}), false);
  sim.RunFor(100 * kMs);
  EXPECT_EQ(sim.TextSince(sent), Bytes({'#', 1, 7, 9}));
  EXPECT_EQ(sim.Radio().Remote(5)->EepromRegisters()[1], 8);
  EXPECT_EQ(sim.Radio().Remote(35)->EepromRegisters()[1], 8);
}

// A swap takes the module away for the gap (nothing answers, nothing is stored), then a fresh
// one answers with the factory's settings and a serial number of its own; the period repeats it.
TEST(SimSwap, TheModuleIsGoneForTheGapAndComesBackFresh) {
  RadioOnLine sim("swap=2,swap-gap=500");
  sim.Send(Bytes({'#', 1, 42}), /*keyed=*/true);
  sim.RunFor(10 * kMs);
  EXPECT_EQ(ReadKeyed(sim, 1), 42);
  EXPECT_EQ(ReadKeyed(sim, 4), 0xFF);
  sim.RunFor(2000 * kMs - sim.Now() + 100 * kMs);
  EXPECT_FALSE(sim.Radio().HostPresent());
  EXPECT_EQ(ReadKeyed(sim, 0), -1);
  sim.RunFor(500 * kMs);
  EXPECT_TRUE(sim.Radio().HostPresent());
  EXPECT_EQ(ReadKeyed(sim, 1), 8) << "a fresh module has the factory's preamble length";
  EXPECT_EQ(ReadKeyed(sim, 4), 1);
  sim.RunFor(2000 * kMs);
  EXPECT_EQ(sim.Radio().Swaps(), 2u);
  EXPECT_EQ(ReadKeyed(sim, 4), 2);
}

TEST(SimSwap, AStuckRegisterKeepsItsValueAndTheOthersTakeWrites) {
  RadioOnLine sim("stuck=3+5");
  for (const int n : {3, 5, 6})
    sim.Send(Bytes({'#', n, 77}), /*keyed=*/true);
  sim.RunFor(10 * kMs);
  EXPECT_EQ(ReadKeyed(sim, 3), 0);
  EXPECT_EQ(ReadKeyed(sim, 5), 0xFF);
  EXPECT_EQ(ReadKeyed(sim, 6), 77);
}

// The built-in system swaps on SIGUSR1 as talvora-sim does, the next time the line looks at it.
TEST(SimSwap, SigusrOneSwapsTheBuiltInModule) {
  RadioOnLine sim("swap-gap=300");
  sim::CatchSwapSignal();
  ASSERT_EQ(::raise(SIGUSR1), 0);
  sim.RunFor(kMs);
  EXPECT_FALSE(sim.Radio().HostPresent());
  sim.RunFor(300 * kMs);
  EXPECT_EQ(ReadKeyed(sim, 4), 1);
}

}  // namespace
