#pragma once

namespace sim {

// SIGUSR1 swaps the module of every built-in simulated radio system in the process, as it does
// talvora-sim's: the handler only counts, and each system takes its module away when it next
// sees the count move.
void CatchSwapSignal();
unsigned SwapSignals();

}  // namespace sim
