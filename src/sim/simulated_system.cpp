#include "sim/simulated_system.h"

#include "sim/swap_signal.h"

namespace sim {

void RegisterSimulatedSystem() {
  serial::SetSimulatedPeerFactory(
      [](const std::string& text, std::string& error) -> std::shared_ptr<serial::LinePeer> {
        auto options = ParseOptions(text, error);
        if (!options) return nullptr;
        CatchSwapSignal();
        return std::make_shared<RadioSystem>(std::move(*options));
      });
}

RadioSystem* RadioSystemOf(serial::SimulatedLine* line) {
  return line == nullptr ? nullptr : dynamic_cast<RadioSystem*>(line->Peer());
}

RadioSystem* RadioSystemOf(win32::HANDLE handle) {
  return RadioSystemOf(serial::SimulatedLineOf(handle));
}

}  // namespace sim
