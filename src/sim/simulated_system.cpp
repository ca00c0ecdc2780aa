#include "sim/simulated_system.h"

#include "sim/swap_signal.h"

namespace sim {

void RegisterSimulatedSystem() {
  win32::SetSimulatedPeerFactory(
      [](const std::string& text, std::string& error) -> std::shared_ptr<win32::LinePeer> {
        auto options = ParseOptions(text, error);
        if (!options) return nullptr;
        CatchSwapSignal();
        return std::make_shared<RadioSystem>(std::move(*options));
      });
}

RadioSystem* RadioSystemOf(win32::SimulatedLine* line) {
  return line == nullptr ? nullptr : dynamic_cast<RadioSystem*>(line->Peer());
}

RadioSystem* RadioSystemOf(win32::HANDLE handle) {
  return RadioSystemOf(win32::SimulatedLineOf(handle));
}

}  // namespace sim
