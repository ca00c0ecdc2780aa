#include "platform/interval_timer.h"

#include "platform/event_service.h"

namespace platform {

IntervalTimer::IntervalTimer(std::uint32_t intervalMs, std::function<void()> onTick)
    : intervalMs_(intervalMs), onTick_(std::move(onTick)) {}

IntervalTimer::~IntervalTimer() {
  Enabled(false);
}

void IntervalTimer::Enabled(bool vNewValue) {
  if (id_ != 0) {
    Events().StopTimer(id_);
    id_ = 0;
  }
  if (vNewValue && intervalMs_ != 0) {
    id_ = Events().StartTimer(intervalMs_, [this] {
      auto onTick = onTick_;  // the handler may replace itself
      if (onTick) onTick();
    });
  }
}

void IntervalTimer::Interval(std::uint32_t vNewValue) {
  intervalMs_ = vNewValue;
  if (Enabled()) Enabled(true);
}

}  // namespace platform
