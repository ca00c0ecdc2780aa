#pragma once

#include "ports/port_detector.h"

namespace ports {

// The machine's serial devices through libudev: USB adapters and CDC devices with the maker,
// product and serial number of their USB device and their /dev/serial/by-id/ name; ports of
// the kernel's serial core only where the kernel found a UART behind them (their "type" is
// not 0). Qt's port listing is not used: it opens every 8250 port to ask the same question,
// and an open raises DTR and RTS on that port.
class UdevPortDetector final : public PortDetector {
 public:
  std::vector<DetectedPort> Detect() override;
  std::vector<std::string> Consoles() override;
};

}  // namespace ports
