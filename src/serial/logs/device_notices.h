#pragma once

// What the program says when the device under an open port goes away or comes back: one line
// on standard error, and a call to whoever listens (the traffic log).

#include <functional>
#include <string>

namespace win32 {

struct DeviceNotice {
  enum class Kind { Lost, Back };
  Kind kind = Kind::Lost;
  std::string name;      // the name the port was opened by ("COM1")
  std::string device;    // the device path ("/dev/ttyUSB0")
  double seconds = 0.0;  // since the port was opened
};

// "COM1 (/dev/ttyUSB0): device lost at 9.1 s", "COM1 (/dev/ttyUSB0): device back at 12.3 s".
std::string FormatDeviceNotice(const DeviceNotice& notice);

// Writes the notice's line to standard error and hands the notice to the listener.
void ReportDeviceNotice(const DeviceNotice& notice);

// Installs the one listener (an empty function removes it).
void SetDeviceNoticeListener(std::function<void(const DeviceNotice&)> listener);

}  // namespace win32
