#pragma once

// The clock, the timers and the yield of the program. Everything runs on one thread; the
// service in use is either the real one (Qt's event loop and the machine's clocks) or a
// virtual one for tests, whose clock moves only when a yield or the test moves it.

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

using Micros = std::int64_t;  // microseconds of the monotonic clock

// A timer callback in the shape the window system calls it: window, message, id, system time.
using TIMERPROC = void (*)(std::int32_t hwnd, std::uint32_t msg, std::uintptr_t idEvent,
                           std::uint32_t dwTime);

inline constexpr std::uint32_t WM_TIMER = 0x0113;

class EventService {
 public:
  virtual ~EventService() = default;

  virtual Micros NowMicros() = 0;
  // Milliseconds, 32 bits, wrapping.
  virtual std::uint32_t MillisecondCounter() = 0;
  // Seconds since local midnight.
  virtual double SecondsSinceMidnight() = 0;

  // A periodic callback on the UI thread; returns its identifier, 0 on failure.
  virtual std::uintptr_t StartTimer(std::uint32_t periodMs, std::function<void()> callback) = 0;
  virtual bool StopTimer(std::uintptr_t id) = 0;

  // One yield: run pending window events and every timer that is due, then return.
  virtual void Yield() = 0;
  // Sleeps for `duration` (a fraction of a millisecond) and dispatches nothing: a wait on the
  // millisecond counter naps between readings instead of spinning the CPU.
  virtual void Nap(Micros duration) = 0;

  // Calls `onReady` soon after the descriptor becomes readable (or hangs up), from the loop.
  virtual int WatchReadable(int fd, std::function<void()> onReady) = 0;
  virtual void Unwatch(int watchId) = 0;
};

// The service in use. A real one is created on first use unless another was installed.
EventService& Events();
// Installs a service (the previous one is destroyed); returns a reference to it.
EventService& InstallEventService(std::unique_ptr<EventService> service);

// The window-system shaped calls, over the service in use.
std::uint32_t timeGetTime();
float Timer();  // seconds since midnight, single precision
std::uintptr_t SetTimer(std::int32_t hwnd, std::uintptr_t nIDEvent, std::uint32_t uElapse,
                        TIMERPROC lpTimerFunc);
std::int32_t KillTimer(std::int32_t hwnd, std::uintptr_t uIDEvent);
void DoEvents();

}  // namespace platform
