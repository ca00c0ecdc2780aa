#pragma once

#include <functional>

namespace cli {

// Whether the run was interrupted (Ctrl+C, or a signal asking the program to end).
bool Interrupted();
void Interrupt();
// A new run starts uninterrupted.
void ClearInterruption();

// Yields to the event loop for `seconds`, or until `done` holds or the run is interrupted;
// returns whether `done` held.
bool RunFor(double seconds, const std::function<bool()>& done = {});

}  // namespace cli
