#include "platform/real_event_service.h"

#include <QCoreApplication>
#include <QTime>
#include <cerrno>
#include <ctime>
#include <thread>

#include "platform/platform_constants.h"

namespace platform {

RealEventService::RealEventService() : origin_(std::chrono::steady_clock::now()) {}

RealEventService::~RealEventService() = default;

Micros RealEventService::NowMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               origin_)
      .count();
}

std::uint32_t RealEventService::MillisecondCounter() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                  static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

double RealEventService::SecondsSinceMidnight() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm local{};
  localtime_r(&ts.tv_sec, &local);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
         static_cast<double>(ts.tv_nsec) / 1e9;
}

std::uintptr_t RealEventService::StartTimer(std::uint32_t periodMs,
                                            std::function<void()> callback) {
  if (QCoreApplication::instance() == nullptr || !callback) return 0;
  auto entry = std::make_shared<TimerEntry>();
  entry->callback = std::move(callback);
  entry->timer = std::make_unique<QTimer>();
  entry->timer->setTimerType(Qt::PreciseTimer);
  entry->timer->setInterval(static_cast<int>(periodMs));
  // The entry owns the timer and so its connection: the connection holds the entry weakly, or
  // a stopped timer would keep itself alive.
  QObject::connect(entry->timer.get(), &QTimer::timeout, &context_,
                   [this, weak = std::weak_ptr<TimerEntry>(entry)] { OnTimeout(weak); });
  entry->timer->start();
  const std::uintptr_t id = nextTimerId_++;
  timers_[id] = entry;
  return id;
}

void RealEventService::OnTimeout(const std::weak_ptr<TimerEntry>& weak) {
  const std::shared_ptr<TimerEntry> entry = weak.lock();
  // A tick that is still waiting to run absorbs the next one, as window-system timers do.
  if (!entry || entry->queued) return;
  entry->queued = true;
  QMetaObject::invokeMethod(
      &context_,
      [weak] {
        // A timer stopped since this tick was queued is gone: the tick does not run.
        const std::shared_ptr<TimerEntry> entry = weak.lock();
        if (!entry) return;
        entry->queued = false;
        entry->callback();  // held here, so the callback may stop its own timer
      },
      Qt::QueuedConnection);
}

bool RealEventService::StopTimer(std::uintptr_t id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return false;
  it->second->timer->stop();
  timers_.erase(it);  // frees the entry, unless its callback is running right now
  return true;
}

QTimer& RealEventService::WakeTimer() {
  if (!wake_) {
    wake_ = std::make_unique<QTimer>();
    wake_->setSingleShot(true);
    wake_->setTimerType(Qt::PreciseTimer);
    wake_->setInterval(static_cast<int>(kYieldWake.count()));
  }
  return *wake_;
}

void RealEventService::Yield() {
  if (QCoreApplication::instance() == nullptr) {
    std::this_thread::sleep_for(kYieldWake);
    return;
  }
  // Block in the event loop until something happens, but never longer than the wake timer:
  // a waiting operation costs almost no CPU and sees its deadline at most a tick late.
  QTimer& wake = WakeTimer();
  if (!wake.isActive()) wake.start();
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void RealEventService::Nap(Micros duration) {
  timespec remaining{static_cast<time_t>(duration / 1'000'000),
                     static_cast<long>(duration % 1'000'000) * 1000};
  while (clock_nanosleep(CLOCK_MONOTONIC, 0, &remaining, &remaining) == EINTR) {
  }
}

int RealEventService::WatchReadable(int fd, std::function<void()> onReady) {
  if (QCoreApplication::instance() == nullptr) return 0;
  auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(notifier.get(), &QSocketNotifier::activated, &context_,
                   [onReady = std::move(onReady)] { onReady(); });
  const int id = nextWatchId_++;
  watches_[id] = std::move(notifier);
  return id;
}

void RealEventService::Unwatch(int watchId) {
  auto it = watches_.find(watchId);
  if (it == watches_.end()) return;
  // The watch may be dropped from inside its own notification: delete the notifier later.
  it->second->setEnabled(false);
  it->second.release()->deleteLater();
  watches_.erase(it);
}

}  // namespace platform
