#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sim/frame_log.h"
#include "sim/module.h"
#include "sim/options.h"
#include "sim/packet_loss.h"
#include "sim/timeline.h"

namespace sim {

// The air between the host module and the remote modules. A frame takes the radio delay to
// cross, and is heard whole by every remote, or lost whole. Every remote that has something
// to say answers at once; answers that reach the host together go to the line in the order the
// remotes were listed.
class Air {
 public:
  // Hands a frame that reached the host module over to the line.
  using ToLine = std::function<void(const std::string& bytes, Micros at, serial::PeerSink& sink)>;

  Air(Timeline& timeline, FrameLog& log, const Options& options, ToLine toLine);
  Air(const Air&) = delete;
  Air& operator=(const Air&) = delete;

  void SendFromHost(const std::string& frame, Micros at);

  std::vector<Module>& Remotes() { return remotes_; }
  const std::vector<Module>& Remotes() const { return remotes_; }

 private:
  void SendFromRemote(std::size_t index, const std::string& frame, Micros at);

  Timeline& timeline_;
  FrameLog& log_;
  Micros delay_;
  PacketLoss loss_;
  std::vector<Module> remotes_;
  ToLine toLine_;
};

}  // namespace sim
