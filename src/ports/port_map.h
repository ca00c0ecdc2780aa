#pragma once

// Which device each COM name stands for, and why. First match wins:
//   1. TALVORA_COMn in the environment;
//   2. COMn in the [ports] section of the settings file;
//   3. automatic: the detected devices, in a stable order, fill the COM names left, COM1
//      first; any still left keep /dev/ttyS0 to /dev/ttyS3.
// A device is a path, "sim" or "sim:options", whichever way it was given.

#include <optional>
#include <string>
#include <vector>

#include "ports/port_detector.h"

namespace ports {

enum class Source { Environment, Settings, Automatic };

struct PortMapping {
  std::string name;         // "COM1"
  std::string device;       // "/dev/serial/by-id/...", "sim:host=5", "/dev/ttyS2"
  std::string description;  // what the device is, where known
  Source source = Source::Automatic;
  std::string origin;  // where the mapping came from, in words: "environment (TALVORA_COM1)"
};

// How much of a mapping to work out: the device alone needs no detection when the name is
// mapped explicitly; the description always asks the detector.
enum class Detail { DeviceOnly, WithDescription };

// The mapping of one COM name; nothing for a name that is not COM1 to COM4.
std::optional<PortMapping> MapPort(const std::string& name,
                                   Detail detail = Detail::WithDescription);

// All COM names with their devices, and the detected devices no COM name stands for.
struct PortListing {
  std::vector<PortMapping> ports;
  std::vector<DetectedPort> others;
};
PortListing ListPorts();

// The detected devices in the order in which they fill free COM names.
std::vector<DetectedPort> DetectedPorts();

// The listing as text, one line a port, then the other devices ("talvora --list-ports").
std::vector<std::string> FormatListing(const PortListing& listing);

// Whether a device is the simulated radio system ("sim", "sim:options").
bool IsSimulated(const std::string& device);

}  // namespace ports
