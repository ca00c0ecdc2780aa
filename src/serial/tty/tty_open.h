#pragma once

// Opening a tty for the radio line, the first time and again after the device came back.

#include <sys/types.h>

#include <optional>
#include <string>

#include "serial/open_failure.h"
#include "serial/tty/tty_system.h"
#include "serial/win32_face.h"
#include "serial/win32_types.h"

namespace serial {

// A tty opened and made ready.
struct PreparedTty {
  int fd = -1;
  dev_t device = 0;
  bool modemLines = true;  // false: the device has none (a pseudo-terminal)
  int lineError = 0;       // errno of a modem-line call that failed for another reason
  DCB settings{};          // the record the device now has
};

// Opens `path` non-blocking and exclusively, refusing the system console and a device this
// program has open already. DTR and RTS are dropped at once, and again after the first
// settings write, since the kernel raises both when the rate moves away from 0. Applies
// `settings`, or without them makes the line raw at the rate and frame it has. Nothing, with
// `failure` saying why, when the device cannot be used.
std::optional<PreparedTty> PrepareTty(TtySystem& system, const std::string& path,
                                      const DCB* settings, OpenFailure& failure);

// Whether a modem-line call that failed with `err` means the device has no modem lines at all
// (a pseudo-terminal, a driver without them): asking again would change nothing.
bool NoModemLines(int err);

// The devices open in this program. A second open is refused before it reaches the kernel,
// which raises DTR and RTS on every open, under the feet of the handle that has the port.
void MarkOpen(dev_t device);
void MarkClosed(dev_t device);

}  // namespace serial
