#pragma once

#include "serial/sim_line/simulated_line.h"
#include "serial/win32_types.h"
#include "sim/radio_system.h"

namespace sim {

// Makes the device "sim" (or "sim:" followed by options) open a simulated radio system built
// from those options.
void RegisterSimulatedSystem();

// The radio system on the far end of a simulated line, or null when the line has none (or
// another kind of peer).
RadioSystem* RadioSystemOf(serial::SimulatedLine* line);
// The same, by the comm handle of an open device.
RadioSystem* RadioSystemOf(win32::HANDLE handle);

}  // namespace sim
