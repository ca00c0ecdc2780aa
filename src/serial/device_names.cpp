#include "serial/device_names.h"

#include <cstdlib>

namespace win32 {
namespace {

constexpr const char* kSimulated = "sim";

// "COM1" to "COM4" → 1 to 4; 0 for anything else.
int ComNumber(const std::string& name) {
  if (name.size() != 4 || name.compare(0, 3, "COM") != 0) return 0;
  const char digit = name[3];
  return digit >= '1' && digit <= '4' ? digit - '0' : 0;
}

std::string DeviceFor(const std::string& name) {
  const int number = ComNumber(name);
  if (number == 0) return name;
  const std::string variable = "TALVORA_COM" + std::to_string(number);
  if (const char* mapped = std::getenv(variable.c_str()); mapped != nullptr && *mapped != '\0') {
    return mapped;
  }
  return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace

DeviceTarget ResolveDeviceName(const std::string& name) {
  const std::string device = DeviceFor(name);
  DeviceTarget target;
  if (device == kSimulated) {
    target.kind = DeviceTarget::Kind::Simulated;
    target.path = kSimulated;
  } else if (device.rfind(std::string(kSimulated) + ":", 0) == 0) {
    target.kind = DeviceTarget::Kind::Simulated;
    target.path = kSimulated;
    target.options = device.substr(4);
  } else {
    target.path = device;
  }
  return target;
}

std::string DescribeDeviceName(const std::string& name) {
  std::string device = DeviceFor(name);
  if (device == kSimulated || device.rfind(std::string(kSimulated) + ":", 0) == 0) {
    return device + " (simulated radio system)";
  }
  return device;
}

}  // namespace win32
