#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/virtual_event_service.h"
#include "serial/sim_line/simulated_line.h"
#include "sim/radio_system.h"

namespace simtest {

using platform::Micros;
inline constexpr Micros kByte = 1042;  // 9600 baud, ten bit times
inline constexpr Micros kMs = 1000;

inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values)
    bytes += static_cast<char>(v);
  return bytes;
}

// A radio system on the far end of a simulated line, in virtual time. The test plays the
// program: it raises and drops RTS, writes frames and looks at the line when it likes.
class RadioOnLine {
 public:
  explicit RadioOnLine(const std::string& options) : clock_(platform::UseVirtualTime()) {
    std::string error;
    auto parsed = sim::ParseOptions(options, error);
    EXPECT_TRUE(parsed) << error;
    radio_ = std::make_shared<sim::RadioSystem>(parsed.value_or(sim::Options{}));
    line_ = std::make_unique<serial::SimulatedLine>(radio_);
    radio_->OnOpened(Now(), *line_);
  }

  Micros Now() { return clock_.NowMicros(); }
  sim::RadioSystem& Radio() { return *radio_; }

  // Writes a frame, keyed (RTS raised while it crosses) or plain; returns when it was written.
  Micros Send(const std::string& bytes, bool keyed) {
    const Micros at = Now();
    line_->SetRts(keyed, at);
    line_->Transmit(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), at);
    // RTS drops once the whole frame has crossed.
    RunFor(static_cast<Micros>(bytes.size()) * line_->ByteDuration());
    line_->SetRts(false, Now());
    return at;
  }

  // Lets time pass, and the line look at it at the end.
  void RunFor(Micros duration) {
    clock_.Advance(duration);
    line_->Advance(Now());
  }

  // Bytes that reached the program since `since`, in order, with when each started crossing.
  std::vector<serial::LineByte> ReceivedSince(Micros since) {
    std::vector<serial::LineByte> received;
    for (const serial::LineByte& byte : line_->Transcript()) {
      if (byte.direction == serial::LineByte::Direction::ToProgram && byte.at >= since) {
        received.push_back(byte);
      }
    }
    return received;
  }

  std::string TextSince(Micros since) {
    std::string text;
    for (const serial::LineByte& byte : ReceivedSince(since))
      text += static_cast<char>(byte.value);
    return text;
  }

 private:
  platform::VirtualEventService& clock_;
  std::shared_ptr<sim::RadioSystem> radio_;
  std::unique_ptr<serial::SimulatedLine> line_;
};

}  // namespace simtest
