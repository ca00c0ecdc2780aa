#pragma once

#include <string>

namespace win32 {

// What a device name opens.
struct DeviceTarget {
  enum class Kind { Tty, Simulated };
  Kind kind = Kind::Tty;
  std::string path;     // the tty's path, or "sim"
  std::string options;  // for the simulated system: what follows "sim:"
};

// "COM1" to "COM4" map to $TALVORA_COM1 ... $TALVORA_COM4 when set, else /dev/ttyS0 ...
// /dev/ttyS3. A device of "sim" or "sim:options" is the built-in simulated radio system;
// anything else is the path of a tty.
DeviceTarget ResolveDeviceName(const std::string& name);

// The text a device name resolves to, for showing to the operator ("sim", "/dev/ttyUSB0").
std::string DescribeDeviceName(const std::string& name);

}  // namespace win32
