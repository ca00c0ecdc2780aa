#include "platform/virtual_event_service.h"

#include <poll.h>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/platform_constants.h"

namespace platform {

VirtualEventService::VirtualEventService() : VirtualEventService(Start{}) {}

VirtualEventService::VirtualEventService(Start start) : start_(start) {}

std::uint32_t VirtualEventService::MillisecondCounter() {
  now_ += kVirtualCounterStep.count();
  return start_.millisecondCounter + static_cast<std::uint32_t>(now_ / 1000);
}

double VirtualEventService::SecondsSinceMidnight() {
  return std::fmod(start_.secondsSinceMidnight + static_cast<double>(now_) / 1e6, 86400.0);
}

std::uintptr_t VirtualEventService::StartTimer(std::uint32_t periodMs,
                                               std::function<void()> callback) {
  if (!callback || periodMs == 0) return 0;
  const Micros period = static_cast<Micros>(periodMs) * 1000;
  const std::uintptr_t id = nextTimerId_++;
  timers_[id] = TimerEntry{period, now_ + period, std::move(callback)};
  return id;
}

bool VirtualEventService::StopTimer(std::uintptr_t id) {
  return timers_.erase(id) > 0;
}

bool VirtualEventService::RunDueTimers() {
  // Collect first: callbacks may start and stop timers, or yield again.
  std::vector<std::pair<Micros, std::uintptr_t>> due;
  for (const auto& [id, entry] : timers_) {
    if (entry.due <= now_) due.emplace_back(entry.due, id);
  }
  std::sort(due.begin(), due.end());
  bool ran = false;
  for (const auto& [when, id] : due) {
    auto it = timers_.find(id);
    if (it == timers_.end() || it->second.due > now_) continue;
    // Missed periods are not caught up, as window-system timers do not queue them.
    it->second.due += it->second.period;
    if (it->second.due <= now_) it->second.due = now_ + it->second.period;
    auto callback = it->second.callback;
    callback();
    ran = true;
  }
  return ran;
}

void VirtualEventService::PollWatches() {
  if (watches_.empty()) return;
  std::vector<std::pair<int, std::function<void()>>> ready;
  for (const auto& [id, watch] : watches_) {
    pollfd p{watch.first, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0) ready.push_back(watch);
  }
  for (auto& [fd, onReady] : ready)
    onReady();
}

void VirtualEventService::Yield() {
  ++yields_;
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
  PollWatches();
  if (RunDueTimers()) return;
  Micros next = std::numeric_limits<Micros>::max();
  for (const auto& [id, entry] : timers_)
    next = std::min(next, entry.due);
  if (next == std::numeric_limits<Micros>::max()) {
    now_ += std::chrono::duration_cast<std::chrono::microseconds>(kVirtualIdleStep).count();
    return;
  }
  now_ = std::max(now_, next);
  RunDueTimers();
}

void VirtualEventService::RunFor(Micros duration) {
  const Micros end = now_ + duration;
  while (now_ < end) {
    Micros next = end;
    for (const auto& [id, entry] : timers_)
      next = std::min(next, entry.due);
    if (next > now_) now_ = next;
    if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
    PollWatches();
    RunDueTimers();
  }
}

bool VirtualEventService::RunUntil(const std::function<bool()>& done, Micros limit) {
  const Micros end = now_ + limit;
  while (!done() && now_ < end)
    Yield();
  return done();
}

int VirtualEventService::WatchReadable(int fd, std::function<void()> onReady) {
  const int id = nextWatchId_++;
  watches_[id] = {fd, std::move(onReady)};
  return id;
}

void VirtualEventService::Unwatch(int watchId) {
  watches_.erase(watchId);
}

VirtualEventService& UseVirtualTime(VirtualEventService::Start start) {
  auto service = std::make_unique<VirtualEventService>(start);
  auto& ref = *service;
  InstallEventService(std::move(service));
  return ref;
}

}  // namespace platform
