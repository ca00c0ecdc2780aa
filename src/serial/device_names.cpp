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

}  // namespace win32
