#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/sim_constants.h"

namespace sim {

// Which way a frame went. A lost frame is recorded when it would have arrived.
enum class Route {
  ProgramToHost,  // the program's frame, received whole by the host module
  HostToProgram,  // the host's answer, or a remote's frame passed on to the line
  HostToAir,
  AirToRemote,
  RemoteToAir,
  LostOnAir,
  LineError,  // not a frame: line errors handed to the program's device
};

struct FrameRecord {
  Micros at = 0;
  Route route = Route::ProgramToHost;
  // The remote concerned: the receiver or sender on the air, the sender of a lost frame
  // (none when the host sent it).
  std::optional<std::uint8_t> remote;
  std::string bytes;
  std::uint32_t lineErrors = 0;  // CE_ flags, for Route::LineError
};

// "24 00"
std::string ToHex(std::string_view bytes);
// "air->remote 5", "lost on air (host->air)", ...
std::string RouteName(const FrameRecord& record);
// "frame+parity"
std::string LineErrorNames(std::uint32_t flags);
// One line of the log: seconds since the origin with microseconds, route, bytes in hex.
//   "    0.024208  host->program      00"
std::string FormatRecord(const FrameRecord& record, Micros origin);

// Every frame the radio system receives and sends, kept in memory and optionally written
// line by line to a stream as it happens.
class FrameLog {
 public:
  // Times in written lines count from here (the moment the line was opened).
  void SetOrigin(Micros origin) { origin_ = origin; }
  Micros Origin() const { return origin_; }
  void EchoTo(std::ostream* out) { echo_ = out; }

  void Add(FrameRecord record);
  const std::vector<FrameRecord>& Records() const { return records_; }
  std::vector<FrameRecord> Where(Route route) const;
  // The whole log as written lines.
  std::string Text() const;

 private:
  std::vector<FrameRecord> records_;
  Micros origin_ = 0;
  std::ostream* echo_ = nullptr;
};

}  // namespace sim
