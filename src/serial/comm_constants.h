#pragma once

#include <chrono>
#include <cstdint>

#include "platform/app_error.h"

namespace comm {

inline constexpr std::size_t kTransferBufferSize = 1025;
inline constexpr std::uint32_t kMaxTransfer = 1024;  // bytes per read or write
inline constexpr std::int32_t kInQueueSize = 8192;
inline constexpr std::int32_t kOutQueueSize = 1024;

// How often a tty that went away is looked for again, at the poll ticks.
inline constexpr std::chrono::milliseconds kReopenInterval{500};

inline constexpr std::uint32_t kOpenError = platform::kObjectErrorBase + 31010;
inline constexpr std::uint32_t kNotOpenError = platform::kObjectErrorBase + 31011;

// Indexes of the overlapped records.
inline constexpr std::size_t kRead = 0;
inline constexpr std::size_t kWrite = 1;
inline constexpr std::size_t kEventWait = 2;

}  // namespace comm
