#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "serial/comm_constants.h"

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

// What one write of the serial-port object carries: whatever stays queued behind a write would
// go out in front of the next command.
inline constexpr std::size_t kLongestWrite = comm::kMaxTransfer;

inline constexpr const char* kLineErrorTitle = "Errore";

}  // namespace functions
