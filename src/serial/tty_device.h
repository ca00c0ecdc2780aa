#pragma once

#include <memory>
#include <string>

#include "serial/comm_device.h"
#include "serial/open_failure.h"

namespace win32 {

// A real serial device behind a comm handle, through termios: opened non-blocking and
// exclusively, DTR and RTS dropped at once, raw bytes in and out, line errors from the kernel's
// error counters. Returns nullptr when the device cannot be opened and says why in `failure`
// (its error, device, reason and fix; the caller fills in the name it asked for).
std::unique_ptr<CommDevice> OpenTtyDevice(const std::string& path, OpenFailure& failure);

}  // namespace win32
