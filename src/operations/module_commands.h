#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "operations/session_state.h"

namespace operations {

// Longest wait for a module's reply, and the pause after an EEPROM write, in seconds.
inline constexpr float kReplyLimit = 0.7f;
inline constexpr float kWritePause = 1.0f;

// The EEPROM read command for register n: keyed ("$", n) to the host module, plain to a remote
// one (kRemoteModule).
void SendReadCommand(std::int16_t moduleKind, int n);
// The EEPROM write command for register n with value v ("#", n, v), keyed or plain likewise.
void SendWriteCommand(std::int16_t moduleKind, int n, int v);

// Seconds since `start` on the seconds-since-midnight clock; a wait that runs across midnight
// still sees its true length.
float ElapsedSince(float start);

// Yields to the window system until `seconds` have passed since `start`, or the port has
// been closed meanwhile.
void PauseUntil(float start, float seconds);

// How a reply wait ended.
enum class WaitEnd { Replied, TimedOut, PortClosed };

// The reply wait of every operation that asks the module something: yields to the window
// system, takes each delivery into `session.LastReply` and ends when `accept` takes one, when
// kReplyLimit has passed since `session.StartTime`, or when the port has been closed. `eachMiss`
// runs after every yield that brought no accepted reply.
WaitEnd AwaitReply(SessionState& session, const std::function<bool(const std::string&)>& accept,
                   const std::function<void()>& eachMiss = {});

// A delivery always carries text; an empty one is taken as no reply.
inline bool AnyReply(const std::string& reply) {
  return !reply.empty();
}

}  // namespace operations
