#include "sim/frame_log.h"

#include <ostream>

#include "serial/logs/log_line.h"
#include "serial/win32_types.h"

namespace sim {

std::string ToHex(std::string_view bytes) {
  return serial::HexBytes(bytes);
}

std::string RouteName(const FrameRecord& record) {
  const std::string remote = record.remote ? "remote " + std::to_string(*record.remote) : "";
  switch (record.route) {
    case Route::ProgramToHost:
      return "program->host";
    case Route::HostToProgram:
      return "host->program";
    case Route::HostToAir:
      return "host->air";
    case Route::AirToRemote:
      return "air->" + remote;
    case Route::RemoteToAir:
      return remote + "->air";
    case Route::LostOnAir:
      return "lost on air (" + (record.remote ? remote : std::string("host")) + "->air)";
    case Route::LineError:
      return "line error";
  }
  return "?";
}

std::string LineErrorNames(std::uint32_t flags) {
  static constexpr std::pair<std::uint32_t, const char*> kNames[] = {
      {win32::CE_FRAME, "frame"}, {win32::CE_OVERRUN, "overrun"}, {win32::CE_RXPARITY, "parity"},
      {win32::CE_BREAK, "break"}, {win32::CE_RXOVER, "rxover"},   {win32::CE_TXFULL, "txfull"}};
  std::string names;
  for (const auto& [flag, name] : kNames) {
    if ((flags & flag) == 0) continue;
    if (!names.empty()) names += '+';
    names += name;
  }
  return names;
}

std::string FormatRecord(const FrameRecord& record, Micros origin) {
  return serial::LogLine(
      record.at - origin, RouteName(record),
      record.route == Route::LineError ? LineErrorNames(record.lineErrors) : ToHex(record.bytes));
}

void FrameLog::Add(FrameRecord record) {
  records_.push_back(std::move(record));
  if (echo_ != nullptr) *echo_ << FormatRecord(records_.back(), origin_) << std::endl;
}

std::vector<FrameRecord> FrameLog::Where(Route route) const {
  std::vector<FrameRecord> found;
  for (const FrameRecord& record : records_) {
    if (record.route == route) found.push_back(record);
  }
  return found;
}

std::string FrameLog::Text() const {
  std::string text;
  for (const FrameRecord& record : records_)
    text += FormatRecord(record, origin_) + "\n";
  return text;
}

}  // namespace sim
