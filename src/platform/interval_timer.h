#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// A timer control of a window: an interval, an enabled state and a tick handler. It ticks on
// the UI thread through the platform's timers, so it runs in virtual time in tests.
class IntervalTimer {
 public:
  explicit IntervalTimer(std::uint32_t intervalMs, std::function<void()> onTick = {});
  ~IntervalTimer();
  IntervalTimer(const IntervalTimer&) = delete;
  IntervalTimer& operator=(const IntervalTimer&) = delete;

  bool Enabled() const { return id_ != 0; }
  // Enabling starts a fresh interval: the first tick comes one interval later.
  void Enabled(bool vNewValue);
  std::uint32_t Interval() const { return intervalMs_; }
  void Interval(std::uint32_t vNewValue);
  void OnTick(std::function<void()> onTick) { onTick_ = std::move(onTick); }

 private:
  std::uint32_t intervalMs_;
  std::function<void()> onTick_;
  std::uintptr_t id_ = 0;
};

}  // namespace platform
