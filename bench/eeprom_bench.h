#pragma once

namespace bench {

void RunEepromBenchmarks();

}  // namespace bench
