#include "serial/logs/log_line.h"

#include <cstdint>
#include <cstdio>

namespace serial {

std::string HexBytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto value = static_cast<std::uint8_t>(c);
    if (!hex.empty()) hex += ' ';
    hex += kDigits[value >> 4];
    hex += kDigits[value & 0x0F];
  }
  return hex;
}

std::string LogLine(platform::Micros sinceOrigin, std::string_view route, std::string_view what) {
  const char* sign = sinceOrigin < 0 ? "-" : "";
  const platform::Micros magnitude = sinceOrigin < 0 ? -sinceOrigin : sinceOrigin;
  char time[32];
  std::snprintf(time, sizeof time, "%s%lld.%06lld", sign,
                static_cast<long long>(magnitude / 1000000),
                static_cast<long long>(magnitude % 1000000));
  char head[64];
  std::snprintf(head, sizeof head, "%12s  %-18.*s ", time, static_cast<int>(route.size()),
                route.data());
  std::string line = head + std::string(what);
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

}  // namespace serial
