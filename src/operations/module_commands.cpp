#include "operations/module_commands.h"

#include <string>

#include "link/functions.h"
#include "platform/event_service.h"

namespace operations {
namespace {

constexpr float kSecondsPerDay = 86400.0f;

std::string Chr(int code) {
  return std::string(1, static_cast<char>(code));
}

}  // namespace

void SendReadCommand(std::int16_t moduleKind, int n) {
  if (moduleKind == kRemoteModule) {
    std::string text = Chr(n);
    functions::SendPlain("$", text);
  } else {
    functions::SendDollarCommand(Chr(n));
  }
}

void SendWriteCommand(std::int16_t moduleKind, int n, int v) {
  if (moduleKind == kRemoteModule) {
    std::string text = Chr(n) + Chr(v);
    functions::SendPlain("#", text);
  } else {
    functions::SendHashCommand(Chr(n), Chr(v));
  }
}

float ElapsedSince(float start) {
  float elapsed = platform::Timer() - start;
  if (elapsed < 0) elapsed += kSecondsPerDay;  // the clock went back to 0 at midnight
  return elapsed;
}

void PauseUntil(float start, float seconds) {
  do {
    platform::DoEvents();
  } while (ElapsedSince(start) < seconds && functions::PortOpen());
}

WaitEnd AwaitReply(SessionState& session, const std::function<bool(const std::string&)>& accept,
                   const std::function<void()>& eachMiss) {
  for (;;) {
    platform::DoEvents();
    if (functions::ReplyArrived()) {
      session.LastReply = functions::TakeReply();
      if (accept(session.LastReply)) return WaitEnd::Replied;
    }
    if (eachMiss) eachMiss();
    if (!functions::PortOpen()) return WaitEnd::PortClosed;
    if (ElapsedSince(session.StartTime) >= kReplyLimit) return WaitEnd::TimedOut;
  }
}

}  // namespace operations
