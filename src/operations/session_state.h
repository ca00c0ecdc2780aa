#pragma once

#include <cstdint>
#include <string>

namespace operations {

// The main window's own variables, shared by the logic of its pages. They live as long as the
// window is loaded.
struct SessionState {
  // Clock reading (seconds since midnight) at which the running timed activity began: a reply
  // wait or the link test. Only one of them runs at a time.
  float StartTime = 0.0f;
  // The reply text most recently taken.
  std::string LastReply;
  // 0 at start, 1 for the host module, 2 for the remote module.
  std::int16_t ModuleKind = 0;
  // Link test: whether the next tick sends a packet (true) or evaluates the answer (false).
  bool SendPhase = true;
  std::int16_t LinkQuality = 0;
  std::int32_t SentPackets = 0;
  std::int32_t ReceivedPackets = 0;
  // Terminal: 1 after an initialization that found address 0 (master), 0 otherwise.
  std::int16_t TerminalRole = 0;
  std::string LocalModuleAddress;
};

}  // namespace operations
