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
// bit times, and each is due when it has crossed whole.
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

  std::optional<sim::Micros> NextDue() const {
    if (queue_.empty()) return std::nullopt;
    return queue_.front().due;
  }

  std::vector<Byte> TakeDue(sim::Micros now) {
    std::vector<Byte> due;
    while (!queue_.empty() && queue_.front().due <= now) {
      due.push_back(queue_.front());
      queue_.pop_front();
    }
    return due;
  }

 private:
  std::deque<Byte> queue_;
  sim::Micros freeAt_ = 0;
};

}  // namespace talvora_sim
