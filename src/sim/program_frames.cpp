#include "sim/program_frames.h"

#include "sim/module.h"

namespace sim {

using serial::RtsLevel;

ProgramFrames::ProgramFrames(Timeline& timeline, Handler handler)
    : timeline_(timeline), handler_(std::move(handler)) {}

void ProgramFrames::OnByte(std::uint8_t byte, Micros at, RtsLevel rts, serial::PeerSink& sink) {
  // The module takes a frame's destination from RTS at its first byte: a keyed frame stays
  // keyed to its end, even when RTS falls while its last bytes are still crossing.
  if (rts == RtsLevel::Raised || !keyed_.bytes.empty()) {
    Add(keyed_, byte, RtsLevel::Raised);
    if (AsCommand(keyed_.bytes)) {
      Deliver(keyed_, at, Destination::Host, sink);
    } else {
      EndAfterGap(keyed_, at);
    }
    return;
  }
  Add(unkeyed_, byte, rts);
  EndAfterGap(unkeyed_, at);
}

void ProgramFrames::Add(Pending& frame, std::uint8_t byte, RtsLevel rts) {
  if (frame.bytes.empty()) frame.rts = rts;
  frame.bytes += static_cast<char>(byte);
}

void ProgramFrames::EndAfterGap(Pending& frame, Micros lastByte) {
  if (frame.end) timeline_.Cancel(*frame.end);
  frame.end = timeline_.At(lastByte + kFrameGap, [this, &frame](Micros at, serial::PeerSink& sink) {
    frame.end.reset();
    const bool toHost = frame.rts == RtsLevel::Raised ||
                        (frame.rts == RtsLevel::Unknown && AsCommand(frame.bytes).has_value());
    Deliver(frame, at, toHost ? Destination::Host : Destination::Air, sink);
  });
}

void ProgramFrames::Deliver(Pending& frame, Micros at, Destination to, serial::PeerSink& sink) {
  if (frame.end) timeline_.Cancel(*frame.end);
  frame.end.reset();
  const std::string bytes = std::move(frame.bytes);
  frame.bytes.clear();
  handler_(bytes, at, to, sink);
}

}  // namespace sim
