#include "serial/device_names.h"

#include "ports/port_map.h"

namespace win32 {

DeviceTarget ResolveDeviceName(const std::string& name) {
  const auto mapping = ports::MapPort(name, ports::Detail::DeviceOnly);
  DeviceTarget target;
  target.device = mapping ? mapping->device : name;
  if (ports::IsSimulated(target.device)) {
    target.kind = DeviceTarget::Kind::Simulated;
    target.path = "sim";
    if (target.device.size() > 4) target.options = target.device.substr(4);
  } else {
    target.path = target.device;
  }
  return target;
}

std::string DescribeDeviceName(const std::string& name) {
  const auto mapping = ports::MapPort(name, ports::Detail::WithDescription);
  if (!mapping) return name;
  std::string text = mapping->device;
  if (!mapping->description.empty()) text += "\n" + mapping->description;
  return text + "\nmapped by: " + mapping->origin;
}

}  // namespace win32
