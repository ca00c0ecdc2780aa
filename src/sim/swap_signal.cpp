#include "sim/swap_signal.h"

#include <signal.h>

#include <atomic>

namespace sim {
namespace {

std::atomic<unsigned> signals{0};
static_assert(std::atomic<unsigned>::is_always_lock_free, "counted from a signal handler");

extern "C" void OnSwapSignal(int /*signal*/) {
  signals.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

void CatchSwapSignal() {
  struct sigaction action {};
  action.sa_handler = OnSwapSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGUSR1, &action, nullptr);
}

unsigned SwapSignals() {
  return signals.load(std::memory_order_relaxed);
}

}  // namespace sim
