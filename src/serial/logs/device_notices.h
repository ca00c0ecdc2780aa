#pragma once

// What the program says of an open port on standard error, all in one form: the device under
// it going away or coming back (also told to whoever listens: the traffic log), a modem line
// that could not be set, a line error.

#include <functional>
#include <optional>
#include <string>

namespace serial {

struct DeviceNotice {
  enum class Kind { Lost, Back };
  Kind kind = Kind::Lost;
  std::string name;      // the name the port was opened by ("COM1")
  std::string device;    // the device path ("/dev/ttyUSB0")
  double seconds = 0.0;  // since the port was opened
};

// A port as these lines name it: "COM1 (/dev/ttyUSB0)", or the device alone when the port was
// opened by it.
std::string PortWho(const std::string& name, const std::string& device);

// "COM1 (/dev/ttyUSB0): line error at 1.234 s: The serial port ...": who, what happened and
// when (seconds since the port was opened), and the detail if any.
std::string FormatPortNotice(const std::string& who, double seconds, const std::string& what,
                             const std::string& detail = {});

// Writes the line on standard error, after the program's name ("talvora: ").
void SayAboutPort(const std::string& who, double seconds, const std::string& what,
                  const std::string& detail = {});

// "COM1 (/dev/ttyUSB0): device lost at 9.100 s", "COM1 (/dev/ttyUSB0): device back at 12.300 s".
std::string FormatDeviceNotice(const DeviceNotice& notice);

// Says the notice on standard error and hands it to the listener.
void ReportDeviceNotice(const DeviceNotice& notice);

// The last notice reported since ForgetDeviceNotices, if any: a device whose last notice says
// lost is away still.
std::optional<DeviceNotice> LastDeviceNotice();
void ForgetDeviceNotices();

// Installs the one listener (an empty function removes it).
void SetDeviceNoticeListener(std::function<void(const DeviceNotice&)> listener);

}  // namespace serial
