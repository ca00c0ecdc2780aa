#pragma once

#include <map>
#include <vector>

#include "platform/event_service.h"

namespace platform {

// A clock that moves only when asked, for tests. A yield runs the timers that are due; when
// none is due it jumps to the next one, so a 0.7 s timeout costs microseconds and every run
// is deterministic. Each reading of the millisecond counter moves the clock a little, so a
// busy wait on it ends.
class VirtualEventService : public EventService {
 public:
  struct Start {
    double secondsSinceMidnight = 10 * 3600.0;  // ten in the morning
    std::uint32_t millisecondCounter = 1000000;
  };

  VirtualEventService();
  explicit VirtualEventService(Start start);

  Micros NowMicros() override { return now_; }
  std::uint32_t MillisecondCounter() override;
  double SecondsSinceMidnight() override;
  std::uintptr_t StartTimer(std::uint32_t periodMs, std::function<void()> callback) override;
  bool StopTimer(std::uintptr_t id) override;
  void Yield() override;
  // Moves the clock by the nap's length and runs nothing.
  void Nap(Micros duration) override { now_ += duration; }
  int WatchReadable(int fd, std::function<void()> onReady) override;
  void Unwatch(int watchId) override;

  // Moves the clock without running anything.
  void Advance(Micros by) { now_ += by; }
  // Yields until the clock has reached now + duration (timers run on their way).
  void RunFor(Micros duration);
  // Yields until `done` holds or the clock has moved `limit` further; returns `done()`.
  bool RunUntil(const std::function<bool()>& done, Micros limit);
  std::size_t TimerCount() const { return timers_.size(); }
  std::uint64_t YieldCount() const { return yields_; }

 private:
  struct TimerEntry {
    Micros period;
    Micros due;
    std::function<void()> callback;
  };

  bool RunDueTimers();
  void PollWatches();

  Start start_;
  Micros now_ = 0;
  std::map<std::uintptr_t, TimerEntry> timers_;
  std::uintptr_t nextTimerId_ = 1;
  std::map<int, std::pair<int, std::function<void()>>> watches_;
  int nextWatchId_ = 1;
  std::uint64_t yields_ = 0;
};

// Installs a fresh virtual service and returns it.
VirtualEventService& UseVirtualTime(VirtualEventService::Start start = {});

}  // namespace platform
