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
class RadioSystem final : public serial::LinePeer {
 public:
  explicit RadioSystem(Options options);
  RadioSystem(const RadioSystem&) = delete;
  RadioSystem& operator=(const RadioSystem&) = delete;

  void OnOpened(Micros at, serial::PeerSink& sink) override;
  void OnByteFromProgram(std::uint8_t byte, Micros at, serial::RtsLevel rts,
                         serial::PeerSink& sink) override;
  void AdvanceTo(Micros now, serial::PeerSink& sink) override;
  std::optional<Micros> NextDeadline() const override { return timeline_.Next(); }

  const Options& Settings() const { return options_; }
  FrameLog& Log() { return log_; }
  const FrameLog& Log() const { return log_; }
  Module& Host() { return host_; }
  const Module& Host() const { return host_; }
  std::vector<Module>& Remotes() { return air_.Remotes(); }
  // The remote with this address, or null.
  const Module* Remote(std::uint8_t address) const;

  // Takes the host module away at `at` and puts a fresh one in swap-gap later.
  void Swap(Micros at);
  // Whether a host module is on the line.
  bool HostPresent() const { return present_; }
  unsigned Swaps() const { return swaps_; }

 private:
  void OnFrame(const std::string& frame, Micros at, Destination to, serial::PeerSink& sink);
  void SendToLine(const std::string& bytes, Micros at, serial::PeerSink& sink);
  void PlanLineError(const LineErrorPlan& plan, Micros at);
  void PlanSwap(Micros at);
  void TakeAway(Micros at);
  void TakeSwapSignal(Micros now);

  Options options_;
  Timeline timeline_;
  FrameLog log_;
  Module host_;
  Air air_;
  ProgramFrames fromProgram_;
  bool present_ = true;
  unsigned swaps_ = 0;
  unsigned signalsSeen_ = 0;  // SIGUSR1 counted so far (built-in system)
};

}  // namespace sim
