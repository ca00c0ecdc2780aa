#include "ports/port_detector.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "ports/udev_port_detector.h"

namespace ports {
namespace {

std::shared_ptr<PortDetector>& Installed() {
  static std::shared_ptr<PortDetector> detector;
  return detector;
}

bool HasStableName(const DetectedPort& port) {
  return port.path != port.node;
}

// "/dev/ttyS10" → ("/dev/ttyS", 10), so that numbers sort as numbers.
std::pair<std::string, long> SplitNumber(const std::string& node) {
  std::size_t digits = node.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(node[digits - 1])) != 0)
    --digits;
  if (digits == node.size()) return {node, -1};
  return {node.substr(0, digits), std::strtol(node.c_str() + digits, nullptr, 10)};
}

}  // namespace

PortDetector& Detector() {
  if (!Installed()) Installed() = std::make_shared<UdevPortDetector>();
  return *Installed();
}

std::shared_ptr<PortDetector> UseDetector(std::shared_ptr<PortDetector> detector) {
  return std::exchange(Installed(), std::move(detector));
}

std::vector<DetectedPort> StableOrder(std::vector<DetectedPort> ports) {
  std::sort(ports.begin(), ports.end(), [](const DetectedPort& a, const DetectedPort& b) {
    const bool stableA = HasStableName(a);
    const bool stableB = HasStableName(b);
    if (stableA != stableB) return stableA;
    if (stableA) return a.path < b.path;
    return SplitNumber(a.node) < SplitNumber(b.node);
  });
  return ports;
}

}  // namespace ports
