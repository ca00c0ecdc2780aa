#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "sim/sim_constants.h"

namespace talvora_sim {

// One direction of a serial line at 9600 baud: bytes cross one after another, each taking ten
// bit times, and each is due when it has crossed whole. A pseudo-terminal moves bytes at once,
// so the pacer holds them until they are due. It holds at most `capacity` bytes: a writer that
// is faster than the line must wait, as it would on a real one. Every call costs the same however
// many bytes are waiting; taking bytes costs one step per byte taken.
class LinePacer {
 public:
  struct Byte {
    std::uint8_t value;
    sim::Micros due;
  };

  explicit LinePacer(std::size_t capacity = std::numeric_limits<std::size_t>::max())
      : capacity_(capacity) {}

  // Bytes not yet taken, and how many more the pacer holds.
  std::size_t Waiting() const { return values_.size(); }
  std::size_t Room() const { return capacity_ - values_.size(); }

  // Bytes that start crossing at `at`, or as soon as the line is free. Takes as many as there is
  // room for and returns how many that was.
  std::size_t Push(std::string_view bytes, sim::Micros at);

  // When the burst at the front has crossed whole. Bytes sent back to back form one burst.
  std::optional<sim::Micros> NextDue() const;

  // Every burst that has crossed whole by `now`: a reader on the other side sees each burst at
  // once, as from a UART, however the server is scheduled.
  std::vector<Byte> TakeDue(sim::Micros now);
  // Every byte that has crossed by `now`, also from a burst that is still crossing.
  std::vector<Byte> TakeCrossed(sim::Micros now);

 private:
  // Bytes that cross back to back from `start`.
  struct Run {
    sim::Micros start;
    std::size_t count;
  };

  sim::Micros End(const Run& run) const {
    return run.start + static_cast<sim::Micros>(run.count) * sim::kByteTime;
  }
  // Hands over the front run's bytes up to (not including) `upTo`.
  void TakeFront(std::size_t upTo, std::vector<Byte>& into);

  std::size_t capacity_;
  std::deque<std::uint8_t> values_;
  std::deque<Run> runs_;
  std::size_t taken_ = 0;  // bytes of the front run already handed over
  sim::Micros freeAt_ = 0;
};

}  // namespace talvora_sim
