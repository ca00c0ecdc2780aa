#pragma once

#include <chrono>

namespace platform {

// Longest a yield blocks in the event loop when nothing happens.
inline constexpr std::chrono::milliseconds kYieldWake{10};
// How far one reading of the millisecond counter moves the virtual clock, so that busy waits
// on it come to an end in virtual time.
inline constexpr std::chrono::microseconds kVirtualCounterStep{10};
// How far a yield moves the virtual clock when no timer is due at all.
inline constexpr std::chrono::milliseconds kVirtualIdleStep{1};

}  // namespace platform
