#include "run_loop.h"

#include "platform/event_service.h"

namespace cli {
namespace {

bool interrupted = false;

}  // namespace

bool Interrupted() {
  return interrupted;
}

void Interrupt() {
  interrupted = true;
}

void ClearInterruption() {
  interrupted = false;
}

bool RunFor(double seconds, const std::function<bool()>& done) {
  const platform::Micros end =
      platform::Events().NowMicros() + static_cast<platform::Micros>(seconds * 1e6);
  while (!interrupted && platform::Events().NowMicros() < end) {
    if (done && done()) return true;
    platform::DoEvents();
  }
  return done && done();
}

}  // namespace cli
