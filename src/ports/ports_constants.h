#pragma once

#include <chrono>

namespace ports {

// After a change in a watched folder, how long to wait for more before saying so: udev makes
// the /dev/serial/by-id links a moment after the kernel makes the node.
inline constexpr std::chrono::milliseconds kHotplugSettle{300};

}  // namespace ports
