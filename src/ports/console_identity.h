#pragma once

// Whether a device is the system console or one of its terminals, told by the device's
// identity (its major and minor numbers), never by the name it was given: /dev/console, a
// link to it, a by-path name of the serial port the kernel writes its messages to are all the
// same device. None of them is ever a radio port: writing to one would put the module's
// frames on the operator's screen, or the operator's keys on the line.

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace ports {

// stat(2), or what a test makes of it.
using StatCall = std::function<int(const std::string& path, struct stat& info)>;

// Whether `device` is a console device: /dev/tty (5:0), /dev/console (5:1), /dev/ptmx (5:2),
// /dev/tty0 and the virtual consoles (major 4, minors below 64), or one of `active`, the
// devices the console is on now.
bool IsConsoleDevice(dev_t device, const std::vector<dev_t>& active);

// The devices of the nodes the kernel names as the console now (the detector's Consoles()),
// each found through `stat`.
std::vector<dev_t> ActiveConsoleDevices(const StatCall& stat);

// Whether the character device at `path` (links followed) is a console device. False for
// anything that is not a character device or cannot be looked at.
bool IsConsolePath(const std::string& path, const StatCall& stat);
bool IsConsolePath(const std::string& path);

}  // namespace ports
