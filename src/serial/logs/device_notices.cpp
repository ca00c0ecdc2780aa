#include "serial/logs/device_notices.h"

#include <cstdio>
#include <utility>

namespace win32 {
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

std::string FormatDeviceNotice(const DeviceNotice& notice) {
  // A device named by its path is named once.
  const std::string who = notice.name.empty() || notice.name == notice.device
                              ? notice.device
                              : notice.name + " (" + notice.device + ")";
  char when[32];
  std::snprintf(when, sizeof when, "%.1f", notice.seconds);
  const char* what = notice.kind == DeviceNotice::Kind::Lost ? "lost" : "back";
  return who + ": device " + what + " at " + when + " s";
}

void ReportDeviceNotice(const DeviceNotice& notice) {
  std::fprintf(stderr, "%s\n", FormatDeviceNotice(notice).c_str());
  std::fflush(stderr);
  Last() = notice;
  if (Listener()) Listener()(notice);
}

void SetDeviceNoticeListener(std::function<void(const DeviceNotice&)> listener) {
  Listener() = std::move(listener);
}

}  // namespace win32
