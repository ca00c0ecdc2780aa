#include "serial/logs/traffic_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "serial/line_errors.h"
#include "serial/logs/device_notices.h"
#include "serial/logs/log_line.h"

namespace win32::traffic_log {
namespace {

std::FILE* file = nullptr;
platform::Micros origin = 0;

void Write(platform::Micros at, std::string_view route, std::string_view what) {
  if (file == nullptr) return;
  const std::string line = LogLine(at - origin, route, what);
  std::fprintf(file, "%s\n", line.c_str());
  std::fflush(file);
}

}  // namespace

bool Open(const std::string& path, std::string& error) {
  Close();
  file = std::fopen(path.c_str(), "a");
  if (file == nullptr) {
    error = "cannot write the traffic log to " + path + ": " + std::strerror(errno);
    return false;
  }
  SetDeviceNoticeListener([](const DeviceNotice& notice) {
    Device(notice.kind == DeviceNotice::Kind::Lost ? "device lost" : "device back", notice.device,
           platform::Events().NowMicros());
  });
  return true;
}

void Close() {
  SetDeviceNoticeListener({});
  if (file != nullptr) std::fclose(file);
  file = nullptr;
}

bool Enabled() {
  return file != nullptr;
}

void PortOpened(const std::string& name, const std::string& device, platform::Micros at) {
  origin = at;
  // "COM1 (/dev/ttyUSB0)"; a device named directly needs no name in front of it.
  const bool same = device.empty() || device.rfind(name, 0) == 0;
  Write(at, "port opened", same ? (device.empty() ? name : device) : name + " (" + device + ")");
}

void PortClosed(platform::Micros at) {
  Write(at, "port closed", "");
}

void FrameOut(std::string_view bytes, bool rts, platform::Micros at) {
  Write(at, rts ? "program->line  RTS" : "program->line", HexBytes(bytes));
}

void FrameIn(std::string_view bytes, platform::Micros at) {
  Write(at, "line->program", HexBytes(bytes));
}

void Rts(bool raised, platform::Micros at) {
  Write(at, raised ? "RTS up" : "RTS down", "");
}

void LineErrors(DWORD flags, platform::Micros at) {
  for (const auto& [flag, message] : kLineErrorMessages) {
    if ((flags & flag) != 0) Write(at, "line error", message);
  }
}

void Device(std::string_view event, const std::string& device, platform::Micros at) {
  Write(at, event, device);
}

}  // namespace win32::traffic_log
