// talvora-bench: measures the program's timing, CPU and memory figures in real time against
// the simulated radio system and prints them, one per line. Nothing is asserted.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "eeprom_bench.h"
#include "link_bench.h"
#include "memory_bench.h"
#include "platform/real_event_service.h"
#include "sim/simulated_system.h"
#include "startup_bench.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  platform::InstallEventService(std::make_unique<platform::RealEventService>());
  sim::RegisterSimulatedSystem();
  std::printf("TALVORA benchmarks (real time, simulated radio system)\n");
  bench::RunStartupBenchmarks(static_cast<double>(sinceMain.nsecsElapsed()) / 1e6);
  bench::RunLinkBenchmarks();
  bench::RunEepromBenchmarks();
  bench::RunMemoryBenchmarks();
  bench::PrintPeakMemory();
  return 0;
}
