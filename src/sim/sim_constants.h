#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/event_service.h"

namespace sim {

using platform::Micros;

// The module's line: 9600 baud, ten bit times per byte (start, eight data bits, stop).
inline constexpr Micros kByteTime = 1042;
// A frame for the air ends when the line from the program has been idle this long.
inline constexpr Micros kFrameGap = 3 * kByteTime;
// What the line carries in one second: 959 bytes.
inline constexpr std::size_t kBytesPerSecond = 1'000'000 / kByteTime;

// Every module keeps 32 one-byte registers in its EEPROM.
inline constexpr int kRegisterCount = 32;

// The two commands a module understands: "$" n reads register n, "#" n v writes v into it.
inline constexpr std::uint8_t kReadCommand = '$';
inline constexpr std::uint8_t kWriteCommand = '#';

}  // namespace sim
