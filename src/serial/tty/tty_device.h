#pragma once

#include <memory>
#include <string>

#include "serial/comm_device.h"
#include "serial/open_failure.h"
#include "serial/win32_face.h"

namespace serial {

// A real serial device behind a comm handle, through termios: opened non-blocking and
// exclusively, DTR and RTS dropped at once, raw bytes in and out, line errors from the kernel's
// error counters. Returns nullptr when the device cannot be opened and says why in `failure`
// (its error, device, reason and fix; the caller fills in the name it asked for).
//
// When the device goes away under the open port (a hang-up, EIO), one line on standard error
// says so, and the device is opened again by the same path when it comes back, with the same
// settings. Meanwhile it is a silent line: reads deliver nothing, writes go nowhere, and the
// handle and the serial object above it see no difference. `name` is the name the port was
// opened by ("COM1"), for those lines.
std::unique_ptr<CommDevice> OpenTtyDevice(const std::string& name, const std::string& path,
                                          OpenFailure& failure);

}  // namespace serial
