#pragma once

#include <cmath>
#include <cstdint>
#include <random>

namespace sim {

// Decides, frame by frame, whether the air loses it. The draws come from a seeded Mersenne
// twister compared against a fixed threshold, so a seed loses the same frames on every run and
// on every machine (the standard distributions are free to differ between libraries).
class PacketLoss {
 public:
  PacketLoss(double rate, std::uint32_t seed)
      : threshold_(static_cast<std::uint64_t>(std::llround(rate * 4294967296.0))), engine_(seed) {}

  bool NextLost() { return static_cast<std::uint64_t>(engine_()) < threshold_; }

 private:
  std::uint64_t threshold_;  // out of 2^32
  std::mt19937 engine_;
};

}  // namespace sim
