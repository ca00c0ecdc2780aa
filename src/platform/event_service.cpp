#include "platform/event_service.h"

#include <utility>

#include "platform/real_event_service.h"

namespace platform {
namespace {

std::unique_ptr<EventService>& Slot() {
  static std::unique_ptr<EventService> service;
  return service;
}

}  // namespace

EventService& Events() {
  auto& service = Slot();
  if (!service) service = std::make_unique<RealEventService>();
  return *service;
}

EventService& InstallEventService(std::unique_ptr<EventService> service) {
  Slot() = std::move(service);
  return *Slot();
}

std::uint32_t timeGetTime() {
  return Events().MillisecondCounter();
}

float Timer() {
  return static_cast<float>(Events().SecondsSinceMidnight());
}

std::uintptr_t SetTimer(std::int32_t hwnd, std::uintptr_t /*nIDEvent*/, std::uint32_t uElapse,
                        TIMERPROC lpTimerFunc) {
  if (lpTimerFunc == nullptr) return 0;
  // The identifier is only known once the timer exists; the callback reads it from here.
  auto id = std::make_shared<std::uintptr_t>(0);
  *id = Events().StartTimer(
      uElapse, [lpTimerFunc, hwnd, id] { lpTimerFunc(hwnd, WM_TIMER, *id, timeGetTime()); });
  return *id;
}

std::int32_t KillTimer(std::int32_t /*hwnd*/, std::uintptr_t uIDEvent) {
  return Events().StopTimer(uIDEvent) ? 1 : 0;
}

void DoEvents() {
  Events().Yield();
}

}  // namespace platform
