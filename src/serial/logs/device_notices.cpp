#include "serial/logs/device_notices.h"

#include <cerrno>
#include <cstdio>
#include <utility>

namespace serial {
namespace {

std::function<void(const DeviceNotice&)>& Listener() {
  static std::function<void(const DeviceNotice&)> listener;
  return listener;
}

std::optional<DeviceNotice>& Last() {
  static std::optional<DeviceNotice> last;
  return last;
}

}  // namespace

std::optional<DeviceNotice> LastDeviceNotice() {
  return Last();
}

void ForgetDeviceNotices() {
  Last().reset();
}

std::string PortWho(const std::string& name, const std::string& device) {
  // A device named by its path is named once.
  return name.empty() || name == device ? device : name + " (" + device + ")";
}

std::string FormatPortNotice(const std::string& who, double seconds, const std::string& what,
                             const std::string& detail) {
  char when[32];
  std::snprintf(when, sizeof when, "%.3f", seconds);
  return who + ": " + what + " at " + when + " s" + (detail.empty() ? "" : ": " + detail);
}

void SayAboutPort(const std::string& who, double seconds, const std::string& what,
                  const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name,
               FormatPortNotice(who, seconds, what, detail).c_str());
  std::fflush(stderr);
}

std::string FormatDeviceNotice(const DeviceNotice& notice) {
  return FormatPortNotice(PortWho(notice.name, notice.device), notice.seconds,
                          notice.kind == DeviceNotice::Kind::Lost ? "device lost" : "device back");
}

void ReportDeviceNotice(const DeviceNotice& notice) {
  SayAboutPort(PortWho(notice.name, notice.device), notice.seconds,
               notice.kind == DeviceNotice::Kind::Lost ? "device lost" : "device back");
  Last() = notice;
  if (Listener()) Listener()(notice);
}

void SetDeviceNoticeListener(std::function<void(const DeviceNotice&)> listener) {
  Listener() = std::move(listener);
}

}  // namespace serial
