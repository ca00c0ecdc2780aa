#pragma once

#include <cstdint>
#include <deque>

#include "platform/event_service.h"
#include "serial/win32_types.h"

namespace win32 {

// The driver's input queue: received bytes with their arrival times, and the rule that decides
// when an overlapped read ends and which bytes it takes. With the program's timeouts a read ends
// 1 ms after the last byte of a burst or 10 ms after it started; later bytes stay queued.
class ReceiveQueue {
 public:
  struct ReadEnd {
    bool finished = false;
    std::size_t count = 0;    // bytes the read takes
    platform::Micros at = 0;  // when it ends (meaningful when finished)
  };

  // Time one byte occupies the line; back-to-back bytes have no idle gap between them.
  void SetByteDuration(platform::Micros duration) { byteDuration_ = duration; }
  void SetCapacity(std::size_t bytes) { capacity_ = bytes; }

  // Adds a byte arriving at `arrival` (not earlier than the previous one); false when the queue
  // is full and the byte was dropped.
  bool Push(std::uint8_t byte, platform::Micros arrival);

  // Where a read started at `start` for at most `maxBytes` stands at `now`.
  ReadEnd Evaluate(platform::Micros start, const COMMTIMEOUTS& timeouts, std::size_t maxBytes,
                   platform::Micros now) const;

  // Removes up to `count` bytes from the front into `out`; returns how many.
  std::size_t Take(std::uint8_t* out, std::size_t count);

  // Bytes that have arrived by `now`.
  std::size_t ArrivedBy(platform::Micros now) const;
  std::size_t Size() const { return bytes_.size(); }

 private:
  struct Entry {
    std::uint8_t value;
    platform::Micros arrival;
  };
  std::deque<Entry> bytes_;
  platform::Micros byteDuration_ = 1042;  // 9600 baud, ten bit times
  std::size_t capacity_ = 8192;
};

}  // namespace win32
