#pragma once

// The [ports] section of the settings file: a device for a COM name, written as the
// environment's TALVORA_COMn would give it (a path, "sim", "sim:options").
//
//   [ports]
//   COM1=/dev/serial/by-id/usb-0403_6001_A50285BI-if00-port0
//   COM2=sim:host=5

#include <map>
#include <string>
#include <vector>

namespace ports {

struct PortSettings {
  std::map<std::string, std::string> devices;  // "COM1" → device
  // What is wrong with the file, one entry per line found wrong ("talvora.conf:3: ...").
  // A file with problems is ignored whole.
  std::vector<std::string> problems;
};

// The [ports] section as the file holds it now; empty when there is no file.
PortSettings ReadPortSettings();

// Saves the device of a COM name; an empty device removes the entry, so that the name is
// mapped automatically again. False, with `problem` set, when the file cannot be written or
// is malformed (rewriting it would lose what its author meant).
bool SavePortSetting(const std::string& name, const std::string& device, std::string& problem);

// Writes the problems of the file to standard error, each once for as long as the file does
// not change.
void ReportSettingsProblems(const PortSettings& settings);

}  // namespace ports
