#include "ports/port_descriptions.h"

#include "ports/port_map.h"

namespace ports {

std::vector<std::string> DescribeComNames() {
  std::vector<std::string> texts;
  for (const PortMapping& mapping : ListPorts().ports) {
    std::string text = mapping.device;
    if (!mapping.description.empty()) text += "\n" + mapping.description;
    texts.push_back(text + "\nmapped by: " + mapping.origin);
  }
  return texts;
}

}  // namespace ports
