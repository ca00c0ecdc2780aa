#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

#include "sim/sim_constants.h"

namespace talvora_sim {

// One direction of a serial line at 9600 baud: bytes cross one after another, each taking ten
// bit times, and each is due when it has crossed whole. A pseudo-terminal moves bytes at once,
// so bytes sent back to back are handed over together when the last of them has crossed: the
// reader on the other side sees one burst, as from a UART, however the server is scheduled.
class LinePacer {
 public:
  struct Byte {
    std::uint8_t value;
    sim::Micros due;
  };

  // Bytes that start crossing at `at`, or as soon as the line is free.
  void Push(std::string_view bytes, sim::Micros at) {
    sim::Micros start = std::max(at, freeAt_);
    for (const char c : bytes) {
      start += sim::kByteTime;
      queue_.push_back(Byte{static_cast<std::uint8_t>(c), start});
    }
    freeAt_ = start;
  }

  // When the burst at the front of the queue has crossed whole.
  std::optional<sim::Micros> NextDue() const {
    if (queue_.empty()) return std::nullopt;
    return queue_[BurstEnd(0)].due;
  }

  std::vector<Byte> TakeDue(sim::Micros now) {
    std::vector<Byte> due;
    while (!queue_.empty() && queue_[BurstEnd(0)].due <= now) {
      const std::size_t end = BurstEnd(0);
      due.insert(due.end(), queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(end + 1));
      queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(end + 1));
    }
    return due;
  }

 private:
  // The index of the last byte of the burst that starts at `first`.
  std::size_t BurstEnd(std::size_t first) const {
    std::size_t last = first;
    while (last + 1 < queue_.size() && queue_[last + 1].due == queue_[last].due + sim::kByteTime)
      ++last;
    return last;
  }

  std::deque<Byte> queue_;
  sim::Micros freeAt_ = 0;
};

}  // namespace talvora_sim
