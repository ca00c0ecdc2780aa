#pragma once

namespace bench {

// How long the start-up window takes to show, and how much memory the program and this run
// reach at their peak.
void RunStartupBenchmarks(double sinceMainMs);
void PrintPeakMemory();

}  // namespace bench
