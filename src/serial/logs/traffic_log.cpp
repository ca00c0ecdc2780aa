#include "serial/logs/traffic_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "serial/line_errors.h"
#include "serial/logs/device_notices.h"
#include "serial/logs/log_line.h"

namespace serial::traffic_log {
namespace {

int file = -1;
std::string filePath;
platform::Micros origin = 0;
platform::Micros last = 0;  // the time of the latest line
bool losing = false;        // a line was lost; said once

// Standard error hears once that the log is no longer whole, and from when.
void SayLost(platform::Micros at, int err) {
  if (losing) return;
  losing = true;
  const std::time_t now = std::time(nullptr);
  char clock[16] = "?";
  std::strftime(clock, sizeof clock, "%H:%M:%S", std::localtime(&now));
  std::fprintf(stderr,
               "talvora: the traffic log %s lost lines from %s (%.3f s after the port opened) "
               "on: %s\n",
               filePath.c_str(), clock, static_cast<double>(at - origin) / 1e6,
               err == EAGAIN ? "nobody reads it fast enough" : std::strerror(err));
  std::fflush(stderr);
}

// One line in one write: a reader never sees half a line, and a full pipe or disk costs the
// line, never a wait.
void Write(platform::Micros at, std::string_view route, std::string_view what) {
  if (file < 0) return;
  last = at;
  const std::string line = LogLine(at - origin, route, what) + "\n";
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t written = ::write(file, line.data() + done, line.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      SayLost(at, written == 0 ? EIO : errno);
      return;
    }
    done += static_cast<std::size_t>(written);
  }
}

}  // namespace

bool Open(const std::string& path, std::string& error) {
  Close();
  if (path.empty()) {
    error = "--log needs a FILE";
    return false;
  }
  // Without O_NONBLOCK a FIFO nobody reads would hold the program here for ever; the flag stays,
  // so that a reader that stops reading costs lines, never the program's time.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int err = errno;
    error = "cannot write the traffic log to " + path + ": " +
            (err == ENXIO ? std::string("it is a FIFO that no program reads") : std::strerror(err));
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    error = "cannot write the traffic log to " + path + ": it is a folder";
    return false;
  }
  file = fd;
  filePath = path;
  losing = false;
  SetDeviceNoticeListener([](const DeviceNotice& notice) {
    Device(notice.kind == DeviceNotice::Kind::Lost ? "device lost" : "device back", notice.device,
           platform::Events().NowMicros());
  });
  return true;
}

void Close() {
  SetDeviceNoticeListener({});
  if (file >= 0 && ::close(file) != 0 && !losing) SayLost(last, errno);
  file = -1;
}

bool Enabled() {
  return file >= 0;
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
  for (const auto& [flag, message] : win32::kLineErrorMessages) {
    if ((flags & flag) != 0) Write(at, "line error", message);
  }
}

void Device(std::string_view event, const std::string& device, platform::Micros at) {
  Write(at, event, device);
}

}  // namespace serial::traffic_log
