#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/event_service.h"

namespace bench {

// The value at quantile q (0 to 1) of the samples, nearest rank.
inline double Quantile(std::vector<double> samples, double q) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const auto rank = static_cast<std::size_t>(q * static_cast<double>(samples.size() - 1) + 0.5);
  return samples[std::min(rank, samples.size() - 1)];
}

inline double Max(const std::vector<double>& samples) {
  return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

// Prints one figure per line: "name: value unit".
inline void Figure(const std::string& name, double value, const char* unit) {
  std::printf("%-58s %10.3f %s\n", (name + ":").c_str(), value, unit);
  std::fflush(stdout);
}

// Processor time (user plus system) used by this process, in seconds.
inline double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Measures the share of one core used while `work` runs, in percent.
template <typename Work>
double CpuPercentDuring(Work&& work, double* wallSeconds = nullptr) {
  const double cpu0 = CpuSeconds();
  const platform::Micros wall0 = platform::Events().NowMicros();
  work();
  const double wall = static_cast<double>(platform::Events().NowMicros() - wall0) / 1e6;
  if (wallSeconds != nullptr) *wallSeconds = wall;
  return wall > 0 ? 100.0 * (CpuSeconds() - cpu0) / wall : 0;
}

// Runs the event loop for `ms` milliseconds of real time.
void RunEventLoopFor(int ms);

}  // namespace bench
