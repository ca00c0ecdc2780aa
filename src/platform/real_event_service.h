#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>

#include "platform/event_service.h"

namespace platform {

// The clock, timers and yield of the running program, on Qt's event loop.
//
// Timer callbacks are not run inside the QTimer's own handler but from a queued call, so that
// a callback which opens a modal box (a nested event loop) does not stop its own timer: ticks
// go on while the box is open, as the program relies on. Stopping a timer frees it at once, and
// a tick of it that was already queued does not run.
class RealEventService : public EventService {
 public:
  RealEventService();
  ~RealEventService() override;

  Micros NowMicros() override;
  std::uint32_t MillisecondCounter() override;
  double SecondsSinceMidnight() override;
  std::uintptr_t StartTimer(std::uint32_t periodMs, std::function<void()> callback) override;
  bool StopTimer(std::uintptr_t id) override;
  void Yield() override;
  void Nap(Micros duration) override;
  int WatchReadable(int fd, std::function<void()> onReady) override;
  void Unwatch(int watchId) override;

 private:
  struct TimerEntry {
    std::unique_ptr<QTimer> timer;
    std::function<void()> callback;
    bool queued = false;
  };

  void OnTimeout(const std::weak_ptr<TimerEntry>& weak);
  QTimer& WakeTimer();

  std::chrono::steady_clock::time_point origin_;
  QObject context_;
  std::unique_ptr<QTimer> wake_;
  std::map<std::uintptr_t, std::shared_ptr<TimerEntry>> timers_;
  std::uintptr_t nextTimerId_ = 1;
  std::map<int, std::unique_ptr<QSocketNotifier>> watches_;
  int nextWatchId_ = 1;
};

}  // namespace platform
