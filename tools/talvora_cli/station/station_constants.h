#pragma once

#include <chrono>

namespace station {

// A port checks for a module at most once a second, so the line stays quiet while it waits.
inline constexpr std::chrono::milliseconds kCheckPeriod{1000};
// A module counts as taken away when this many checks in a row find no answer.
inline constexpr int kMissesForRemoval = 2;
// With --once, how long a port waits for a module unless --wait says otherwise.
inline constexpr double kDefaultOnceWaitSeconds = 30;
// A port's process that tells nothing for this long is taken as hung and ended. Every step of
// a job reports within a few seconds; the waits report each check.
inline constexpr std::chrono::seconds kHangLimit{20};
// How long a port's process gets to stop the normal way before it is killed.
inline constexpr std::chrono::seconds kStopGrace{5};

}  // namespace station
