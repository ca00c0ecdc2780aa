#pragma once

#include <cstdint>

namespace operations {

// Module kinds of the register table's module choice.
inline constexpr std::int16_t kRemoteModule = 2;

// Longest wait for a module's reply, and the pause after an EEPROM write, in seconds.
inline constexpr float kReplyLimit = 0.7f;
inline constexpr float kWritePause = 1.0f;

// The EEPROM read command for register n: keyed ("$", n) to the host module, plain to a remote
// one (module kind 2).
void SendReadCommand(std::int16_t moduleKind, int n);
// The EEPROM write command for register n with value v ("#", n, v), keyed or plain likewise.
void SendWriteCommand(std::int16_t moduleKind, int n, int v);

// Seconds since `start` on the seconds-since-midnight clock; a wait that runs across midnight
// still sees its true length.
float ElapsedSince(float start);

// Yields to the window system until `seconds` have passed since `start`, or the port has
// been closed meanwhile.
void PauseUntil(float start, float seconds);

}  // namespace operations
