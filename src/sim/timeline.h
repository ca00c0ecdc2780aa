#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "serial/sim_line/line_peer.h"
#include "sim/sim_constants.h"

namespace sim {

// What the radio system has planned, in time order. Actions due at the same moment run in the
// order they were planned, so a run never depends on how often the time is looked at.
class Timeline {
 public:
  using Action = std::function<void(Micros at, serial::PeerSink& sink)>;
  using Id = std::pair<Micros, std::uint64_t>;

  Id At(Micros when, Action action);
  void Cancel(const Id& id) { actions_.erase(id); }
  std::optional<Micros> Next() const;
  // Runs every action due by `now`, including those that the actions plan on the way.
  void RunUntil(Micros now, serial::PeerSink& sink);

 private:
  std::map<Id, Action> actions_;
  std::uint64_t planned_ = 0;
};

}  // namespace sim
