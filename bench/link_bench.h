#pragma once

namespace bench {

void RunLinkBenchmarks();

}  // namespace bench
