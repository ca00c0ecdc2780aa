#include "sim/timeline.h"

namespace sim {

Timeline::Id Timeline::At(Micros when, Action action) {
  const Id id{when, planned_++};
  actions_.emplace(id, std::move(action));
  return id;
}

std::optional<Micros> Timeline::Next() const {
  if (actions_.empty()) return std::nullopt;
  return actions_.begin()->first.first;
}

void Timeline::RunUntil(Micros now, serial::PeerSink& sink) {
  while (!actions_.empty() && actions_.begin()->first.first <= now) {
    auto node = actions_.extract(actions_.begin());
    node.mapped()(node.key().first, sink);
  }
}

}  // namespace sim
