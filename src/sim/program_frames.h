#pragma once

#include <functional>
#include <optional>
#include <string>

#include "serial/sim_line/line_peer.h"
#include "sim/timeline.h"

namespace sim {

// Where a frame from the program goes.
enum class Destination { Host, Air };

// Splits what the program writes into frames, the way the host module reads its line:
// - RTS raised at a frame's first byte: commands for the host module. A command counts as soon as
// its last byte is in;
//   bytes that make no command are dropped as one frame once the line has been idle a frame gap.
// - RTS low: a frame for the air, ended by a frame gap of idle line.
// - RTS unknown (no modem lines): frames end the same way; a frame that is exactly a command
//   goes to the host module, anything else over the air.
class ProgramFrames {
 public:
  using Handler = std::function<void(const std::string& frame, Micros at, Destination to,
                                     serial::PeerSink& sink)>;

  ProgramFrames(Timeline& timeline, Handler handler);
  ProgramFrames(const ProgramFrames&) = delete;
  ProgramFrames& operator=(const ProgramFrames&) = delete;

  void OnByte(std::uint8_t byte, Micros at, serial::RtsLevel rts, serial::PeerSink& sink);

 private:
  struct Pending {
    std::string bytes;
    serial::RtsLevel rts = serial::RtsLevel::Low;
    std::optional<Timeline::Id> end;
  };

  void Add(Pending& frame, std::uint8_t byte, serial::RtsLevel rts);
  void EndAfterGap(Pending& frame, Micros lastByte);
  void Deliver(Pending& frame, Micros at, Destination to, serial::PeerSink& sink);

  Timeline& timeline_;
  Handler handler_;
  Pending keyed_;
  Pending unkeyed_;
};

}  // namespace sim
