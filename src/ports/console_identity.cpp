#include "ports/console_identity.h"

#include <sys/sysmacros.h>

#include <algorithm>

#include "ports/port_detector.h"

namespace ports {
namespace {

constexpr unsigned kTtyMajor = 4;          // tty0 and the virtual consoles tty1 to tty63
constexpr unsigned kVirtualConsoles = 64;  // minors from 64 on are the serial ports ttyS*
constexpr unsigned kTtyAuxMajor = 5;       // /dev/tty, /dev/console, /dev/ptmx
constexpr unsigned kPtmxMinor = 2;

}  // namespace

bool IsConsoleDevice(dev_t device, const std::vector<dev_t>& active) {
  const unsigned major = ::major(device);
  const unsigned minor = ::minor(device);
  if (major == kTtyMajor && minor < kVirtualConsoles) return true;
  if (major == kTtyAuxMajor && minor <= kPtmxMinor) return true;
  return std::find(active.begin(), active.end(), device) != active.end();
}

std::vector<dev_t> ActiveConsoleDevices(const StatCall& stat) {
  std::vector<dev_t> devices;
  for (const std::string& node : Detector().Consoles()) {
    struct stat info {};
    if (stat(node, info) == 0 && S_ISCHR(info.st_mode)) devices.push_back(info.st_rdev);
  }
  return devices;
}

bool IsConsolePath(const std::string& path, const StatCall& stat) {
  struct stat info {};
  if (stat(path, info) != 0 || !S_ISCHR(info.st_mode)) return false;
  return IsConsoleDevice(info.st_rdev, ActiveConsoleDevices(stat));
}

bool IsConsolePath(const std::string& path) {
  return IsConsolePath(
      path, [](const std::string& p, struct stat& info) { return ::stat(p.c_str(), &info); });
}

}  // namespace ports
