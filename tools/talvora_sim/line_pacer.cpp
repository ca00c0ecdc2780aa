#include "line_pacer.h"

#include <algorithm>

namespace talvora_sim {

std::size_t LinePacer::Push(std::string_view bytes, sim::Micros at) {
  const std::size_t count = std::min(bytes.size(), Room());
  if (count == 0) return 0;
  // Bytes sent while the line is still busy follow the last ones back to back.
  if (!runs_.empty() && at <= freeAt_) {
    runs_.back().count += count;
  } else {
    runs_.push_back(Run{std::max(at, freeAt_), count});
  }
  freeAt_ = End(runs_.back());
  values_.insert(values_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
  return count;
}

std::optional<sim::Micros> LinePacer::NextDue() const {
  if (runs_.empty()) return std::nullopt;
  return End(runs_.front());
}

std::vector<LinePacer::Byte> LinePacer::TakeDue(sim::Micros now) {
  std::vector<Byte> due;
  while (!runs_.empty() && End(runs_.front()) <= now)
    TakeFront(runs_.front().count, due);
  return due;
}

std::vector<LinePacer::Byte> LinePacer::TakeCrossed(sim::Micros now) {
  std::vector<Byte> crossed;
  while (!runs_.empty()) {
    const Run& front = runs_.front();
    const sim::Micros elapsed = std::max<sim::Micros>(0, now - front.start);
    const auto whole = static_cast<std::size_t>(elapsed / sim::kByteTime);
    const bool done = whole >= front.count;
    TakeFront(std::min(whole, front.count), crossed);
    if (!done) break;
  }
  return crossed;
}

void LinePacer::TakeFront(std::size_t upTo, std::vector<Byte>& into) {
  const Run front = runs_.front();
  for (; taken_ < upTo; ++taken_) {
    into.push_back(
        Byte{values_.front(), front.start + static_cast<sim::Micros>(taken_ + 1) * sim::kByteTime});
    values_.pop_front();
  }
  if (taken_ == front.count) {
    runs_.pop_front();
    taken_ = 0;
  }
}

}  // namespace talvora_sim
