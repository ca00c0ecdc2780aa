#pragma once

// The serial devices of this machine, as the operator would name them. Detection only reads
// what the kernel and udev publish; it never opens a device, since opening a tty raises DTR
// and RTS and would key a radio sitting on it.

#include <memory>
#include <string>
#include <vector>

namespace ports {

struct DetectedPort {
  std::string path;         // the stable name (/dev/serial/by-id/...) where there is one, else node
  std::string node;         // the device node: /dev/ttyUSB0, /dev/ttyACM0, /dev/ttyS1
  std::string description;  // maker, product and serial number; or what kind of port it is
};

class PortDetector {
 public:
  virtual ~PortDetector() = default;
  // USB adapters, CDC devices and on-board ports with a UART behind them; never the console.
  virtual std::vector<DetectedPort> Detect() = 0;
  // The device nodes of the system console ("/dev/ttyS0"), which are never radio ports.
  virtual std::vector<std::string> Consoles() = 0;
};

// The detector in use: the machine's own (through udev) unless another was installed.
PortDetector& Detector();
// Installs a detector (null: the machine's own again); returns the one it replaces.
std::shared_ptr<PortDetector> UseDetector(std::shared_ptr<PortDetector> detector);

// The order in which detected devices fill the free COM names: devices with a stable name
// first, by that name, so that the same adapters land on the same names at every start; then
// the others by node, ttyS2 before ttyS10.
std::vector<DetectedPort> StableOrder(std::vector<DetectedPort> ports);

}  // namespace ports
