#pragma once

// The job of one port, run in a process of its own: it waits for a module, reads it, programs
// the profile exactly as `load` does, verifies, and reports every step as an event line; then
// (unless once) waits for the module to be taken away and for the next one.

#include <QString>

#include "operations/register_profile.h"

namespace station {

struct PortJobOptions {
  QString port;
  operations::RegisterProfile profile;
  bool once = false;
  bool remote = false;
  double waitSeconds = 0;  // with once: how long to wait for a module; 0 for ever
};

// Opens the port, runs modules until done or interrupted, closes the port. Returns the exit
// status: 0 every module passed, 1 one failed, 2 the port cannot be opened, 130 interrupted.
int RunPortJob(const PortJobOptions& options);

}  // namespace station
