#pragma once

namespace bench {

// Heap growth per cycle of opening and closing the main window, and of TEST ON and TEST OFF.
void RunMemoryBenchmarks();

}  // namespace bench
