#pragma once

#include <string>
#include <vector>

#include "ports/port_detector.h"

namespace testsupport {

// Detection as a test sets it: the devices and consoles it lists, nothing of this machine.
class StubDetector final : public ports::PortDetector {
 public:
  std::vector<ports::DetectedPort> Detect() override { return detected; }
  std::vector<std::string> Consoles() override { return consoles; }

  std::vector<ports::DetectedPort> detected;
  std::vector<std::string> consoles;
};

}  // namespace testsupport
