// talvora-bench: measures the program's timing, CPU and memory figures in real time against
// the simulated radio system and prints them, one per line. Nothing is asserted.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "eeprom_bench.h"
#include "link_bench.h"
#include "memory_bench.h"
#include "platform/real_event_service.h"
#include "serial/logs/traffic_log.h"
#include "sim/simulated_system.h"
#include "startup_bench.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  platform::InstallEventService(std::make_unique<platform::RealEventService>());
  sim::RegisterSimulatedSystem();
  // With TALVORA_LOG set, every figure is taken with the traffic log written as it goes.
  const char* log = std::getenv("TALVORA_LOG");
  std::string error;
  if (log != nullptr && *log != '\0' && !serial::traffic_log::Open(log, error)) {
    std::fprintf(stderr, "talvora-bench: %s\n", error.c_str());
    return 2;
  }
  std::printf("TALVORA benchmarks (real time, simulated radio system%s)\n",
              serial::traffic_log::Enabled() ? ", traffic log on" : "");
  bench::RunStartupBenchmarks(static_cast<double>(sinceMain.nsecsElapsed()) / 1e6);
  // "talvora-bench startup": the start-up figures alone.
  if (argc > 1 && std::string(argv[1]) == "startup") return 0;
  bench::RunLinkBenchmarks();
  bench::RunEepromBenchmarks();
  bench::RunMemoryBenchmarks();
  bench::PrintPeakMemory();
  return 0;
}
