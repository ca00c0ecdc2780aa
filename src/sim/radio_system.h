#pragma once

#include <optional>
#include <string>
#include <vector>

#include "serial/sim_line/line_peer.h"
#include "sim/air.h"
#include "sim/frame_log.h"
#include "sim/module.h"
#include "sim/options.h"
#include "sim/program_frames.h"
#include "sim/timeline.h"

namespace sim {

// The simulated radio system on the far end of the program's serial line: a host module on the
// line and remote modules on the air. Every reaction is planned for the exact moment it
// happens and handed to the line then, so a run is the same however often the time is looked
// at.
class RadioSystem final : public win32::LinePeer {
 public:
  explicit RadioSystem(Options options);
  RadioSystem(const RadioSystem&) = delete;
  RadioSystem& operator=(const RadioSystem&) = delete;

  void OnOpened(Micros at, win32::PeerSink& sink) override;
  void OnByteFromProgram(std::uint8_t byte, Micros at, win32::RtsLevel rts,
                         win32::PeerSink& sink) override;
  void AdvanceTo(Micros now, win32::PeerSink& sink) override;
  std::optional<Micros> NextDeadline() const override { return timeline_.Next(); }

  const Options& Settings() const { return options_; }
  FrameLog& Log() { return log_; }
  const FrameLog& Log() const { return log_; }
  Module& Host() { return host_; }
  const Module& Host() const { return host_; }
  std::vector<Module>& Remotes() { return air_.Remotes(); }
  // The remote with this address, or null.
  const Module* Remote(std::uint8_t address) const;

 private:
  void OnFrame(const std::string& frame, Micros at, Destination to, win32::PeerSink& sink);
  void SendToLine(const std::string& bytes, Micros at, win32::PeerSink& sink);
  void PlanLineError(const LineErrorPlan& plan, Micros at);

  Options options_;
  Timeline timeline_;
  FrameLog log_;
  Module host_;
  Air air_;
  ProgramFrames fromProgram_;
};

}  // namespace sim
