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

namespace {

std::string Describe(const ports::PortMapping& mapping) {
  std::string text = mapping.device;
  if (!mapping.description.empty()) text += "\n" + mapping.description;
  return text + "\nmapped by: " + mapping.origin;
}

}  // namespace

std::string DescribeDeviceName(const std::string& name) {
  const auto mapping = ports::MapPort(name, ports::Detail::WithDescription);
  return mapping ? Describe(*mapping) : name;
}

std::vector<std::string> DescribeComNames() {
  std::vector<std::string> texts;
  for (const ports::PortMapping& mapping : ports::ListPorts().ports)
    texts.push_back(Describe(mapping));
  return texts;
}

}  // namespace win32
