#include "serial/receive_queue.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace win32 {

using platform::Micros;

bool ReceiveQueue::Push(std::uint8_t byte, Micros arrival) {
  if (bytes_.size() >= capacity_) return false;
  if (!bytes_.empty()) arrival = std::max(arrival, bytes_.back().arrival);
  bytes_.push_back(Entry{byte, arrival});
  return true;
}

ReceiveQueue::ReadEnd ReceiveQueue::Evaluate(Micros start, const COMMTIMEOUTS& timeouts,
                                             std::size_t maxBytes, Micros now) const {
  const Micros interval = static_cast<Micros>(timeouts.ReadIntervalTimeout) * 1000;
  const bool returnAtOnce = timeouts.ReadIntervalTimeout == MAXDWORD &&
                            timeouts.ReadTotalTimeoutMultiplier == 0 &&
                            timeouts.ReadTotalTimeoutConstant == 0;
  if (returnAtOnce) return ReadEnd{true, std::min(ArrivedBy(start), maxBytes), start};

  const bool hasTotal =
      timeouts.ReadTotalTimeoutMultiplier != 0 || timeouts.ReadTotalTimeoutConstant != 0;
  const Micros deadline = start + (static_cast<Micros>(timeouts.ReadTotalTimeoutMultiplier) *
                                       static_cast<Micros>(maxBytes) +
                                   static_cast<Micros>(timeouts.ReadTotalTimeoutConstant)) *
                                      1000;

  // Walk the queue as the read would have seen it: bytes already queued count as arriving at
  // the start; a byte joins the read unless it comes after the deadline or after an idle gap
  // on the line longer than the interval timeout.
  std::size_t count = 0;
  std::optional<Micros> last;
  for (const Entry& entry : bytes_) {
    if (count == maxBytes) break;
    const Micros arrival = std::max(entry.arrival, start);
    if (hasTotal && arrival > deadline) break;
    if (last && timeouts.ReadIntervalTimeout != 0) {
      const Micros idle = (arrival - byteDuration_) - *last;
      if (idle > interval) break;
    }
    ++count;
    last = arrival;
  }

  Micros end = std::numeric_limits<Micros>::max();
  if (count == maxBytes) {
    end = last.value_or(start);
  } else {
    if (hasTotal) end = deadline;
    if (last && timeouts.ReadIntervalTimeout != 0) end = std::min(end, *last + interval);
  }
  return ReadEnd{end <= now, count, end};
}

std::size_t ReceiveQueue::Take(std::uint8_t* out, std::size_t count) {
  const std::size_t n = std::min(count, bytes_.size());
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = bytes_.front().value;
    bytes_.pop_front();
  }
  return n;
}

std::size_t ReceiveQueue::ArrivedBy(Micros now) const {
  std::size_t n = 0;
  for (const Entry& entry : bytes_) {
    if (entry.arrival > now) break;
    ++n;
  }
  return n;
}

}  // namespace win32
