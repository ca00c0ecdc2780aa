#pragma once

#include <string>

namespace win32 {

// What a device name opens.
struct DeviceTarget {
  enum class Kind { Tty, Simulated };
  Kind kind = Kind::Tty;
  std::string path;     // the tty's path, or "sim"
  std::string options;  // for the simulated system: what follows "sim:"
  std::string device;   // the device as the mapping gives it: "/dev/ttyUSB0", "sim:host=5"
};

// "COM1" to "COM4" map to a device through, first match wins, $TALVORA_COM1 ...
// $TALVORA_COM4, the [ports] section of the settings file, and the devices detected on the
// machine, with /dev/ttyS0 ... /dev/ttyS3 for names still left. A device of "sim" or
// "sim:options" is the built-in simulated radio system; anything else is the path of a tty.
DeviceTarget ResolveDeviceName(const std::string& name);

}  // namespace win32
