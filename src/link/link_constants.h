#pragma once

#include <chrono>
#include <cstdint>

namespace functions {

// Period of the timer that pumps all serial work.
inline constexpr std::chrono::milliseconds kPollPeriod{70};
// RTS lead before a keyed frame: the half-duplex module needs it to switch to transmit.
inline constexpr std::chrono::milliseconds kHashLead{10};
inline constexpr std::chrono::milliseconds kDollarLead{20};
// How long the lead sleeps between two readings of the millisecond counter: while a whole
// millisecond of it is still to go, and in its last millisecond.
inline constexpr std::chrono::microseconds kLeadNap{200};
inline constexpr std::chrono::microseconds kLeadLastNap{50};

// The radio module's line: 9600 baud, 8 data bits, no parity, one stop bit.
inline constexpr std::int32_t kRadioBaudRate = 9600;

inline constexpr const char* kLineErrorTitle = "Errore";

}  // namespace functions
